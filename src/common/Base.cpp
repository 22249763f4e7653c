#include "common/Base.h"

#include "platform/db/Dataset.h"
#include "platform/db/StoredProc.h"

#include <stdexcept>

namespace lumetra {

QString TBase::CatalogoSQL(EntradaSQL entrada)
{
    switch (entrada) {
    case EntradaSQL::Monedas:
        return QStringLiteral("Select * From MONEDA");
    case EntradaSQL::Tiendas:
        return QStringLiteral("Select * from TIENDA where ID_TIENDA != 0 Order By CODIGO");
    case EntradaSQL::TiendaPorId:
        return QStringLiteral("select * from TIENDA where ID_TIENDA = :ID");
    case EntradaSQL::TiendaPorDescripcion:
        return QStringLiteral("select * from TIENDA where DESCRIPCION = :DESCRIPCION");
    case EntradaSQL::Ivas:
        return QStringLiteral("select ID_IVA, TIPO, DESCRIPCION, PORCENTAJE, INTRACOMUNITARIO from IVA "
                              "where IVA_INCLUIDO = 1 order by DESCRIPCION");
    case EntradaSQL::LocalidadPorId:
        return QStringLiteral("select * from LOCALIDAD where id_localidad = :PARAMETRO");
    case EntradaSQL::LocalidadesPorProvincia:
        return QStringLiteral("select * from LOCALIDAD where id_provincia = :PARAMETRO");
    case EntradaSQL::LocalidadesPorCodigoPostal:
        return QStringLiteral("select * from LOCALIDAD where codigo_postal = :PARAMETRO");
    case EntradaSQL::ProvinciaPorId:
        return QStringLiteral("select * from provincia where id_provincia = :PARAMETRO");
    }
    throw std::invalid_argument("entrada del catálogo SQL desconocida");
}

TBase::TBase(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : QObject(propietario)
    , baseDatosMaestros_(baseDatosMaestros)
    , baseDatos_(baseDatos)
{
    for (std::size_t i = 0; i < consultas_.size(); ++i) {
        consultas_[i] = std::make_unique<Dataset>(QStringLiteral("consulta%1").arg(i));
        consultas_[i]->setDatabase(baseDatosMaestros_);
    }
    for (int slot = PrimerProcedimiento; slot <= UltimoProcedimiento; ++slot)
        NuevoProcedimiento(slot, QString());
}

TBase::~TBase() = default;

void TBase::NuevoProcedimiento(int slot, const QString& nombre)
{
    // A fresh object is the only way to unprepare a procedure, which ends the snapshot
    // transaction the driver gives it (see Open).
    auto procedimiento = std::make_unique<StoredProc>();
    procedimiento->setDatabase(baseDatosMaestros_);
    procedimiento->setProcName(nombre);
    procedimientos_[static_cast<std::size_t>(slot - PrimerProcedimiento)] = std::move(procedimiento);
}

int TBase::Resultado(int estado)
{
    estado_ = estado;
    return estado;
}

Dataset& TBase::Consulta(int slot)
{
    if (!EsConsulta(slot))
        throw std::out_of_range("la posición no es una consulta");
    return *consultas_[static_cast<std::size_t>(slot - PrimeraConsulta)];
}

StoredProc& TBase::Procedimiento(int slot)
{
    if (!EsProcedimiento(slot))
        throw std::out_of_range("la posición no es un procedimiento almacenado");
    return *procedimientos_[static_cast<std::size_t>(slot - PrimerProcedimiento)];
}

int TBase::SetSQL(int slot, const QString& texto)
{
    if (EsConsulta(slot)) {
        Dataset& consulta = Consulta(slot);
        consulta.close();
        consulta.setSql(texto);
        return Resultado(EstadoCorrecto);
    }
    if (EsProcedimiento(slot)) {
        StoredProc& actual = Procedimiento(slot);
        if (mantenerPreparados_ && actual.procName() == texto.trimmed().toUpper()) {
            actual.close();
            actual.clearParams();
        } else {
            NuevoProcedimiento(slot, texto);
        }
        return Resultado(EstadoCorrecto);
    }
    return Resultado(EstadoSlotInvalido);
}

int TBase::Open(int slot)
{
    if (EsConsulta(slot)) {
        Dataset& consulta = Consulta(slot);
        // Without an explicit transaction the driver gives a prepared select (and a procedure
        // with outputs) its own snapshot transaction, ended only when the statement is
        // unprepared: a statement kept prepared would keep answering from an old snapshot.
        consulta.unprepare();
        consulta.prepare();
        consulta.open();
        if (!consulta.isSelect()) {
            consulta.close();
            return Resultado(EstadoCorrecto);
        }
        return Resultado(consulta.isEmpty() ? EstadoSinFilas : EstadoCorrecto);
    }
    if (EsProcedimiento(slot)) {
        StoredProc& procedimiento = Procedimiento(slot);
        procedimiento.prepare();
        procedimiento.execProc();
        return Resultado(EstadoCorrecto);
    }
    return Resultado(EstadoSlotInvalido);
}

int TBase::Close(int slot)
{
    if (EsConsulta(slot)) {
        // Unpreparing ends the select's transaction (see Open).
        Consulta(slot).unprepare();
        return Resultado(EstadoCorrecto);
    }
    if (EsProcedimiento(slot)) {
        if (mantenerPreparados_)
            Procedimiento(slot).close();
        else
            NuevoProcedimiento(slot, Procedimiento(slot).procName());
        return Resultado(EstadoCorrecto);
    }
    return Resultado(EstadoSlotInvalido);
}

} // namespace lumetra
