// TRegistroAcceso: what writes one access-audit row. The host's audit object owns none: a
// program that records accesses lends it one (the listing module lends its ACCESO record while
// its window closes), so the host API needs nothing of the code that fills the row.
#pragma once

#include "hostapi/HostApi.h"

namespace lumetra {

class DateTime;

class LUMETRA_HOSTAPI_EXPORT TRegistroAcceso {
public:
    virtual ~TRegistroAcceso();

    // Writes the row for a use of `opcion` by the user in the store on the working date. A
    // database error reaches the caller.
    virtual void RegistrarAcceso(int idUsuario, int opcion, int idTienda, const DateTime& fechaTrabajo) = 0;
};

} // namespace lumetra
