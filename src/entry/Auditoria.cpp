#include "entry/Auditoria.h"

#include "common/BDAcceso.h"

namespace lumetra {

TAuditoria::TAuditoria(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : registro_(new TBDAcceso(baseDatosMaestros, propietario, baseDatos))
{
}

TAuditoria::~TAuditoria()
{
    delete registro_.data();
}

void TAuditoria::RegistrarAcceso(int idUsuario, int opcion, int idTienda)
{
    registro_->RegistrarAcceso(idUsuario, opcion, idTienda, FechaTrabajo);
}

TBDAcceso* TAuditoria::Registro() const
{
    return registro_.data();
}

} // namespace lumetra
