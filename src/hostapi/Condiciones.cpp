#include "hostapi/Condiciones.h"

namespace lumetra {

int TCondiciones::CodigoOperador(const QString& texto) const
{
    static const struct { const char* texto; int codigo; } operadores[] = {
        {"Igual a...", Igual},         {"Distinto de...", Distinto}, {"Mayor que...", Mayor},
        {"Menor que...", Menor},       {"...Entre...", Entre},       {"Empieza por...", EmpiezaPor},
        {"Termine en...", TermineEn},  {"...Contiene...", Contiene}, {"Todos/as", Todos},
        {"Vacío", Vacio},
    };
    for (const auto& o : operadores)
        if (texto == QString::fromUtf8(o.texto))
            return o.codigo;
    return Todos;
}

} // namespace lumetra
