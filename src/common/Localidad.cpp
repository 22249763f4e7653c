#include "common/Localidad.h"

#include "common/Provincia.h"

namespace lumetra {

TLocalidad::TLocalidad(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : TBase(baseDatosMaestros, propietario, baseDatos)
    , provincia_(new TProvincia(baseDatosMaestros, this, baseDatos))
    , lector_(new TBDLocalidad(baseDatosMaestros, this, baseDatos))
{
}

int TLocalidad::Buscar(TModoBusquedaLocalidad modo, int valor)
{
    if (lector_->Buscar(modo, valor) != EstadoCorrecto) {
        Limpiar();
        return EstadoNoEncontrado;
    }
    const TDatosLocalidad& datos = lector_->Resultados().constFirst();
    id_ = datos.IdLocalidad;
    idProvincia_ = datos.IdProvincia;
    codigoPostal_ = datos.CodigoPostal;
    descripcion_ = datos.Descripcion;
    provincia_->Limpiar();
    provincia_->BuscarId(idProvincia_);
    return EstadoCorrecto;
}

void TLocalidad::Limpiar()
{
    id_ = -1;
    idProvincia_ = 0;
    codigoPostal_ = 0;
    descripcion_.clear();
    provincia_->Limpiar();
}

} // namespace lumetra
