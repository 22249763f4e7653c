// HostSession: what a host sets up before it loads the listing module: the two connections to
// the shop database (the listing queries, with the transaction each print runs them in; the
// lookups, committed statement by statement), the workstation, the company record, the user, and
// the host services, all gathered in a HostParams block. The host application, the command-line front end and the
// tests build their block this way.
#pragma once

#include "hostapi/HostApi.h"
#include "hostapi/HostParams.h"
#include "platform/format/DateTime.h"

#include <QString>
#include <memory>

class QWidget;

namespace lumetra {

struct HostOptions {
    QString baseDatos;                       // path, or host[/port]:path
    QString usuarioBD = QStringLiteral("SYSDBA");
    QString claveBD = QStringLiteral("masterkey");
    int idUsuario = 1;
    int idTienda = -1;                       // -1: the user's store, else the first store by code
    DateTime fechaTrabajo;                   // zero: today
    QString impresora;
};

class LUMETRA_HOSTAPI_EXPORT HostSession {
public:
    // Throws DatabaseError when the database cannot be opened or read.
    HostSession(const HostOptions& options, QWidget* propietario);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    HostParams* params() { return &params_; }
    // False when the options named a current store the database does not have; the listing
    // window would open with no store of its own to select.
    bool knownStore() const { return knownStore_; }
    // False when the database has no user of the options' identifier.
    bool knownUser() const { return knownUser_; }
    const HostOptions& options() const { return options_; }

private:
    struct Parts;
    HostOptions options_;
    std::unique_ptr<Parts> parts_;
    HostParams params_;
    bool knownStore_ = true;
    bool knownUser_ = true;
};

} // namespace lumetra
