#include "common/BDLocalidad.h"

#include "platform/db/Dataset.h"

namespace lumetra {

namespace {

TBase::EntradaSQL sentencia(TModoBusquedaLocalidad modo)
{
    switch (modo) {
    case TModoBusquedaLocalidad::PorProvincia:
        return TBase::EntradaSQL::LocalidadesPorProvincia;
    case TModoBusquedaLocalidad::PorCodigoPostal:
        return TBase::EntradaSQL::LocalidadesPorCodigoPostal;
    case TModoBusquedaLocalidad::PorId:
        break;
    }
    return TBase::EntradaSQL::LocalidadPorId;
}

} // namespace

int TBDLocalidad::Buscar(TModoBusquedaLocalidad modo, int valor)
{
    resultados_.clear();
    SetSQL(SlotLocalidad, CatalogoSQL(sentencia(modo)));
    Dataset& localidades = Consulta(SlotLocalidad);
    localidades.setParam(QStringLiteral("PARAMETRO"), valor);
    if (Open(SlotLocalidad) == EstadoCorrecto) {
        for (bool hay = true; hay; hay = localidades.next()) {
            TDatosLocalidad datos;
            datos.IdLocalidad = localidades.fieldAsInteger(QStringLiteral("ID_LOCALIDAD"));
            datos.IdProvincia = localidades.fieldAsInteger(QStringLiteral("ID_PROVINCIA"));
            datos.CodigoPostal = localidades.fieldAsInteger(QStringLiteral("CODIGO_POSTAL"));
            datos.Descripcion = localidades.fieldAsText(QStringLiteral("DESCRIPCION"));
            resultados_.append(datos);
        }
    }
    Close(SlotLocalidad);
    return resultados_.isEmpty() ? EstadoNoEncontrado : EstadoCorrecto;
}

} // namespace lumetra
