#include "common/Articulo.h"

#include "common/Familia.h"
#include "platform/db/StoredProc.h"

namespace lumetra {

TArticulo::TArticulo(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : TBase(baseDatosMaestros, propietario, baseDatos)
    , familia_(new TFamilia(baseDatosMaestros, this, baseDatos))
{
}

void TArticulo::SetReferencia(const QString& referencia)
{
    if (referencia != referencia_)
        referencia_ = referencia;
}

int TArticulo::BuscarReferencia()
{
    if (referencia_.isEmpty() || referencia_.size() > LongitudMaximaReferencia) {
        Limpiar();
        return EstadoReferenciaInvalida;
    }
    SetSQL(SlotBusqueda, QStringLiteral("BUSCAR_ARTICULO"));
    StoredProc& busqueda = Procedimiento(SlotBusqueda);
    busqueda.setParam(QStringLiteral("ORG_ID_ARTICULO"), -1);
    busqueda.setParam(QStringLiteral("ORG_REFERENCIA"), referencia_);
    busqueda.setParam(QStringLiteral("ORG_CBARRAS"), QStringLiteral("-1"));
    busqueda.setParam(QStringLiteral("ORG_DESCRIPCION"), QStringLiteral("-1"));
    Open(SlotBusqueda);
    const bool encontrado = busqueda.fieldAsInteger(QStringLiteral("RES_RESULTADO")) != 0;
    if (encontrado) {
        idArticulo_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_ARTICULO"));
        codigoBarras_ = busqueda.fieldAsText(QStringLiteral("RES_CBARRAS"));
        descripcion_ = busqueda.fieldAsText(QStringLiteral("RES_DESCRIPCION"));
        idFamilia_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_FAMILIA"));
        idGrupo_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_GRUPO"));
        idIva_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_IVA"));
        pvpM1_ = busqueda.fieldAsFloat(QStringLiteral("RES_PVP_M1"));
        borrado_ = busqueda.fieldAsInteger(QStringLiteral("RES_BORRADO"));
    }
    Close(SlotBusqueda);
    if (!encontrado) {
        Limpiar();
        return EstadoNoEncontrado;
    }
    familia_->SetId(idFamilia_);
    familia_->BuscarId();
    return EstadoCorrecto;
}

void TArticulo::Limpiar()
{
    idArticulo_ = -1;
    codigoBarras_.clear();
    descripcion_.clear();
    idFamilia_ = -1;
    idGrupo_ = 0;
    idIva_ = 0;
    pvpM1_ = 0;
    borrado_ = 0;
    familia_->Limpiar();
}

} // namespace lumetra
