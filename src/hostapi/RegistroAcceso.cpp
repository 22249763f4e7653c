#include "hostapi/RegistroAcceso.h"

namespace lumetra {

TRegistroAcceso::~TRegistroAcceso() = default;

} // namespace lumetra
