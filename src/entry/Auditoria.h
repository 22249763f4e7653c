// TAuditoria: the host's access-audit object. It holds the audit record and the working date,
// and writes one ACCESO row per use of an option of the application.
#pragma once

#include "entry/HostApi.h"
#include "platform/format/DateTime.h"

#include <QPointer>

class QObject;

namespace lumetra {

class Database;
class TBDAcceso;

class LUMETRA_HOSTAPI_EXPORT TAuditoria {
public:
    TAuditoria(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos);
    ~TAuditoria();
    TAuditoria(const TAuditoria&) = delete;
    TAuditoria& operator=(const TAuditoria&) = delete;

    DateTime FechaTrabajo;

    // Records that the user used the option in the store. A database error reaches the caller.
    void RegistrarAcceso(int idUsuario, int opcion, int idTienda);
    TBDAcceso* Registro() const;

private:
    QPointer<TBDAcceso> registro_;
};

} // namespace lumetra
