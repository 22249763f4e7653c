// TPuesto: the host's workstation: working date, listing printer and current store.
#pragma once

#include "hostapi/HostApi.h"
#include "platform/format/DateTime.h"

#include <QString>

namespace lumetra {

class LUMETRA_HOSTAPI_EXPORT TPuesto {
public:
    DateTime FechaTrabajo;
    QString Impresora;
    int IdTienda = 0;
};

} // namespace lumetra
