#include "common/Iva.h"

#include "platform/db/Dataset.h"
#include "platform/format/FormatFloat.h"

namespace lumetra {

int TIva::CargarIvas()
{
    ids_.clear();
    tipos_.clear();
    descripciones_.clear();
    porcentajes_.clear();
    SetSQL(SlotIvas, CatalogoSQL(EntradaSQL::Ivas));
    Dataset& ivas = Consulta(SlotIvas);
    if (Open(SlotIvas) == EstadoCorrecto) {
        for (bool hay = true; hay; hay = ivas.next()) {
            const int id = ivas.fieldAsInteger(QStringLiteral("ID_IVA"));
            if (ivas.fieldAsInteger(QStringLiteral("INTRACOMUNITARIO")) != 0 || id == 0)
                continue;
            ids_ << QString::number(id);
            tipos_ << QString::number(ivas.fieldAsInteger(QStringLiteral("TIPO")));
            descripciones_ << ivas.fieldAsText(QStringLiteral("DESCRIPCION"));
            porcentajes_ << FormatFloat(QStringLiteral("0.00 %"), ivas.fieldAsFloat(QStringLiteral("PORCENTAJE")));
        }
    }
    Close(SlotIvas);
    return EstadoCorrecto;
}

} // namespace lumetra
