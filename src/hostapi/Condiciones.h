// TCondiciones: the host's condition service; here, the codes of the date-operator texts.
#pragma once

#include "hostapi/HostApi.h"

#include <QString>

namespace lumetra {

class LUMETRA_HOSTAPI_EXPORT TCondiciones {
public:
    static constexpr int Igual = 0;
    static constexpr int Distinto = 1;
    static constexpr int Mayor = 2;
    static constexpr int Menor = 3;
    static constexpr int Entre = 4;
    static constexpr int EmpiezaPor = 5;
    static constexpr int TermineEn = 6;
    static constexpr int Contiene = 7;
    static constexpr int Vacio = 8;
    static constexpr int Todos = 10;

    // Exact, case-sensitive match of the operator text; any other text gives Todos.
    int CodigoOperador(const QString& texto) const;
};

} // namespace lumetra
