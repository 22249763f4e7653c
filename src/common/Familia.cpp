#include "common/Familia.h"

#include "platform/db/StoredProc.h"

namespace lumetra {

void TFamilia::SetId(int id)
{
    if (id != id_)
        id_ = id;
}

int TFamilia::BuscarId()
{
    SetSQL(SlotBusqueda, QStringLiteral("BUSCAR_FAMILIA"));
    StoredProc& busqueda = Procedimiento(SlotBusqueda);
    busqueda.setParam(QStringLiteral("ORG_ID"), id_);
    busqueda.setParam(QStringLiteral("ORG_CODIGO"), QStringLiteral("-1"));
    busqueda.setParam(QStringLiteral("ORG_DESCRIPCION"), QStringLiteral("-1"));
    Open(SlotBusqueda);
    const bool encontrada = busqueda.fieldAsInteger(QStringLiteral("RES_ENCONTRADAS")) >= 1;
    if (encontrada) {
        id_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_FAMILIA"));
        codigo_ = busqueda.fieldAsText(QStringLiteral("RES_CODIGO"));
        descripcion_ = busqueda.fieldAsText(QStringLiteral("RES_DESCRIPCION"));
        idGrupo_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_GRUPO"));
    }
    Close(SlotBusqueda);
    if (!encontrada) {
        Limpiar();
        return EstadoNoEncontrado;
    }
    return EstadoCorrecto;
}

void TFamilia::Limpiar()
{
    id_ = -1;
    codigo_.clear();
    descripcion_.clear();
    idGrupo_ = 0;
}

} // namespace lumetra
