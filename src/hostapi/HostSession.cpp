#include "hostapi/HostSession.h"

#include "hostapi/Auditoria.h"
#include "hostapi/Condiciones.h"
#include "hostapi/Configuracion.h"
#include "hostapi/CtrlTeclado.h"
#include "hostapi/Puesto.h"
#include "hostapi/Usuario.h"
#include "platform/db/Database.h"
#include "platform/db/Dataset.h"
#include "platform/db/Transaction.h"

#include <QWidget>

namespace lumetra {

struct HostSession::Parts {
    Database baseDatos;
    Database baseDatosMaestros;
    std::unique_ptr<Transaction> transaccion;
    TPuesto puesto;
    TConfiguracion configuracion;
    TUsuario usuario;
    TAuditoria auditoria;
    TCondiciones condiciones;
    TCtrlTeclado teclado;
};

namespace {

int defaultStore(Database& database, int idUsuario)
{
    Dataset tienda(QStringLiteral("dstTienda"));
    tienda.setDatabase(&database);
    tienda.setSql(QStringLiteral(
        "select coalesce((select U.ID_TIENDA from USUARIO U join TIENDA T on T.ID_TIENDA = U.ID_TIENDA "
        "where U.ID_USUARIO = :ID and U.ID_TIENDA <> 0), "
        "(select first 1 ID_TIENDA from TIENDA where ID_TIENDA <> 0 order by CODIGO), 0) ID_TIENDA "
        "from RDB$DATABASE"));
    tienda.setParam(QStringLiteral("ID"), idUsuario);
    tienda.open();
    return tienda.fieldAsInteger(QStringLiteral("ID_TIENDA"));
}

// Whether the query, given the key as :ID, finds a row.
bool found(Database& database, const QString& sql, int id)
{
    Dataset fila(QStringLiteral("dstExiste"));
    fila.setDatabase(&database);
    fila.setSql(sql);
    fila.setParam(QStringLiteral("ID"), id);
    fila.open();
    return !fila.isEmpty();
}

} // namespace

HostSession::HostSession(const HostOptions& options, QWidget* propietario)
    : options_(options)
    , parts_(std::make_unique<Parts>())
{
    Parts& p = *parts_;
    p.baseDatosMaestros.open(options.baseDatos, options.usuarioBD, options.claveBD);
    p.baseDatos.open(options.baseDatos, options.usuarioBD, options.claveBD);
    // Not started here: each print runs in a transaction of its own.
    p.transaccion = std::make_unique<Transaction>(p.baseDatos);

    p.configuracion.Cargar(p.baseDatosMaestros);
    p.usuario.Cargar(p.baseDatosMaestros, options.idUsuario);
    p.puesto.FechaTrabajo = options.fechaTrabajo.isZero() ? DateTime::today() : options.fechaTrabajo;
    p.puesto.Impresora = options.impresora;
    p.puesto.IdTienda = options.idTienda >= 0 ? options.idTienda : defaultStore(p.baseDatosMaestros, options.idUsuario);
    knownStore_ = options.idTienda < 0
        || found(p.baseDatosMaestros, QStringLiteral("select ID_TIENDA from TIENDA where ID_TIENDA = :ID"), options.idTienda);
    knownUser_ = found(p.baseDatosMaestros, QStringLiteral("select ID_USUARIO from USUARIO where ID_USUARIO = :ID"),
                       options.idUsuario);
    p.auditoria.FechaTrabajo = p.puesto.FechaTrabajo;

    params_.Propietario = propietario;
    params_.BaseDatos = &p.baseDatos;
    params_.BaseDatosMaestros = &p.baseDatosMaestros;
    params_.Transaccion = p.transaccion.get();
    params_.Puesto = &p.puesto;
    params_.Configuracion = &p.configuracion;
    params_.Usuario = &p.usuario;
    params_.Auditoria = &p.auditoria;
    params_.Condiciones = &p.condiciones;
    params_.Teclado = &p.teclado;
}

HostSession::~HostSession() = default;

} // namespace lumetra
