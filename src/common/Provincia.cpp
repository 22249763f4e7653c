#include "common/Provincia.h"

#include "platform/db/Dataset.h"

namespace lumetra {

int TProvincia::BuscarId(int id)
{
    SetSQL(SlotProvincia, CatalogoSQL(EntradaSQL::ProvinciaPorId));
    Consulta(SlotProvincia).setParam(QStringLiteral("PARAMETRO"), id);
    const bool encontrada = Open(SlotProvincia) == EstadoCorrecto;
    if (encontrada) {
        const Dataset& provincia = Consulta(SlotProvincia);
        id_ = provincia.fieldAsInteger(QStringLiteral("ID_PROVINCIA"));
        codigo_ = provincia.fieldAsText(QStringLiteral("CODIGO"));
        descripcion_ = provincia.fieldAsText(QStringLiteral("DESCRIPCION"));
    }
    Close(SlotProvincia);
    return encontrada ? EstadoCorrecto : EstadoNoEncontrado;
}

void TProvincia::Limpiar()
{
    id_ = 0;
    codigo_.clear();
    descripcion_.clear();
}

} // namespace lumetra
