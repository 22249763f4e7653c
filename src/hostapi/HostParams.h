// HostParams: the block of pointer-sized slots the host hands to the listing module. The module
// keeps the pointer, never copies the block, and reads only the named slots; the block and
// everything it points to belong to the host and must outlive the listing window.
#pragma once

#include <cstddef>

class QWidget;

namespace lumetra {

class Database;
class Transaction;
class TPuesto;
class TConfiguracion;
class TUsuario;
class TAuditoria;
class TCondiciones;
class TCtrlTeclado;

struct HostParams {
    void* Reservado0 = nullptr;
    QWidget* Propietario = nullptr;            // 1: owner of every window the module creates
    Database* BaseDatos = nullptr;             // 2: connection of the listing queries
    Database* BaseDatosMaestros = nullptr;     // 3: connection of the lookups
    void* Reservado4 = nullptr;
    Transaction* Transaccion = nullptr;        // 5: read transaction of the listing queries
    TPuesto* Puesto = nullptr;                 // 6: working date, printer, current store
    TConfiguracion* Configuracion = nullptr;   // 7: the shop's company record
    TUsuario* Usuario = nullptr;               // 8: the user and his listing rights
    void* Reservado9 = nullptr;
    void* Reservado10 = nullptr;
    TAuditoria* Auditoria = nullptr;           // 11: access audit
    void* Reservado12 = nullptr;
    void* Reservado13 = nullptr;
    TCondiciones* Condiciones = nullptr;       // 14: date-operator codes
    void* Reservado15 = nullptr;
    TCtrlTeclado* Teclado = nullptr;           // 16: the Enter-key rule
};

static_assert(offsetof(HostParams, Propietario) == 1 * sizeof(void*));
static_assert(offsetof(HostParams, Transaccion) == 5 * sizeof(void*));
static_assert(offsetof(HostParams, Usuario) == 8 * sizeof(void*));
static_assert(offsetof(HostParams, Auditoria) == 11 * sizeof(void*));
static_assert(offsetof(HostParams, Condiciones) == 14 * sizeof(void*));
static_assert(offsetof(HostParams, Teclado) == 16 * sizeof(void*));
static_assert(sizeof(HostParams) == 17 * sizeof(void*));

} // namespace lumetra
