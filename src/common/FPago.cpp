#include "common/FPago.h"

#include "platform/db/StoredProc.h"

namespace lumetra {

void TFPago::SetCodigo(double codigo)
{
    if (codigo == codigo_)
        return;
    codigo_ = codigo >= 0 && codigo <= CodigoMaximo ? codigo : -1;
}

int TFPago::BuscarCodigo(int tipo)
{
    SetSQL(SlotBusqueda, QStringLiteral("BUSCAR_FORMA_PAGO"));
    StoredProc& busqueda = Procedimiento(SlotBusqueda);
    busqueda.setParam(QStringLiteral("ORG_ID"), -1);
    busqueda.setParam(QStringLiteral("ORG_CODIGO"), static_cast<int>(codigo_));
    busqueda.setParam(QStringLiteral("ORG_TIPO"), tipo);
    busqueda.setParam(QStringLiteral("ORG_DESCRIPCION"), QStringLiteral("-1"));
    Open(SlotBusqueda);
    const bool encontrada = busqueda.fieldAsInteger(QStringLiteral("RES_RESULTADO")) > 0;
    if (encontrada) {
        id_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_FORMA_PAGO"));
        codigo_ = busqueda.fieldAsFloat(QStringLiteral("RES_CODIGO"));
        descripcion_ = busqueda.fieldAsText(QStringLiteral("RES_DESCRIPCION"));
        tipo_ = busqueda.fieldAsInteger(QStringLiteral("RES_TIPO"));
        tipoPago_ = busqueda.fieldAsInteger(QStringLiteral("RES_TIPO_PAGO"));
    } else {
        id_ = -1;
        descripcion_.clear();
        tipo_ = 0;
        tipoPago_ = 0;
    }
    Close(SlotBusqueda);
    return encontrada ? EstadoCorrecto : EstadoNoEncontrado;
}

} // namespace lumetra
