#include "hostapi/Auditoria.h"

#include "hostapi/RegistroAcceso.h"

#include <stdexcept>

namespace lumetra {

void TAuditoria::RegistrarAcceso(int idUsuario, int opcion, int idTienda)
{
    if (!registro_)
        throw std::logic_error("No hay ningún registro de accesos con el que anotar el acceso");
    registro_->RegistrarAcceso(idUsuario, opcion, idTienda, FechaTrabajo);
}

} // namespace lumetra
