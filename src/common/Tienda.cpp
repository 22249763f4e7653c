#include "common/Tienda.h"

#include "common/Localidad.h"
#include "platform/db/Dataset.h"
#include "platform/format/FormatFloat.h"

namespace lumetra {

TTienda::TTienda(Database* baseDatosMaestros, QObject* propietario, Database* baseDatos)
    : TBase(baseDatosMaestros, propietario, baseDatos)
    , localidad_(new TLocalidad(baseDatosMaestros, this, baseDatos))
{
}

int TTienda::CargarTiendas()
{
    ids_.clear();
    codigos_.clear();
    descripciones_.clear();
    direcciones_.clear();
    SetSQL(SlotLista, CatalogoSQL(EntradaSQL::Tiendas));
    Dataset& tiendas = Consulta(SlotLista);
    if (Open(SlotLista) == EstadoCorrecto) {
        for (bool hay = true; hay; hay = tiendas.next()) {
            ids_ << QString::number(tiendas.fieldAsInteger(QStringLiteral("ID_TIENDA")));
            codigos_ << FloatToStr(tiendas.fieldAsFloat(QStringLiteral("CODIGO")));
            descripciones_ << tiendas.fieldAsText(QStringLiteral("DESCRIPCION"));
            direcciones_ << tiendas.fieldAsText(QStringLiteral("DIRECCION"));
        }
    }
    Close(SlotLista);
    return EstadoCorrecto;
}

void TTienda::SetId(int id)
{
    if (id != id_)
        id_ = id;
}

void TTienda::SetDescripcion(const QString& descripcion)
{
    if (descripcion != descripcion_)
        descripcion_ = descripcion;
}

int TTienda::BuscarId()
{
    SetSQL(SlotPorId, CatalogoSQL(EntradaSQL::TiendaPorId));
    Consulta(SlotPorId).setParam(QStringLiteral("ID"), id_);
    return Cargar(SlotPorId);
}

int TTienda::BuscarDescripcion()
{
    SetSQL(SlotPorDescripcion, CatalogoSQL(EntradaSQL::TiendaPorDescripcion));
    Consulta(SlotPorDescripcion).setParam(QStringLiteral("DESCRIPCION"), descripcion_);
    return Cargar(SlotPorDescripcion);
}

int TTienda::Cargar(int slot)
{
    const bool encontrada = Open(slot) == EstadoCorrecto;
    if (encontrada) {
        const Dataset& tienda = Consulta(slot);
        id_ = tienda.fieldAsInteger(QStringLiteral("ID_TIENDA"));
        codigo_ = tienda.fieldAsFloat(QStringLiteral("CODIGO"));
        descripcion_ = tienda.fieldAsText(QStringLiteral("DESCRIPCION"));
        direccion_ = tienda.fieldAsText(QStringLiteral("DIRECCION"));
        idLocalidad_ = tienda.fieldAsInteger(QStringLiteral("ID_LOCALIDAD"));
    }
    Close(slot);
    if (!encontrada) {
        Limpiar();
        return EstadoNoEncontrado;
    }
    localidad_->Buscar(TModoBusquedaLocalidad::PorId, idLocalidad_);
    return EstadoCorrecto;
}

void TTienda::Limpiar()
{
    id_ = -1;
    codigo_ = 0;
    descripcion_.clear();
    direccion_.clear();
    idLocalidad_ = 0;
    localidad_->Limpiar();
}

} // namespace lumetra
