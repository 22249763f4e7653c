#include "common/Paciente.h"

#include "platform/db/StoredProc.h"

namespace lumetra {

void TPaciente::SetId(double id)
{
    if (id != id_)
        id_ = id;
}

int TPaciente::Buscar(int borrado)
{
    SetSQL(SlotBusqueda, QStringLiteral("BUSCAR_PACIENTE"));
    StoredProc& busqueda = Procedimiento(SlotBusqueda);
    busqueda.setParam(QStringLiteral("ORG_ID"), id_);
    busqueda.setParam(QStringLiteral("ORG_CODIGO"), -1);
    busqueda.setParam(QStringLiteral("ORG_APELLIDOS"), QString());
    busqueda.setParam(QStringLiteral("ORG_BORRADO"), borrado);
    Open(SlotBusqueda);
    const bool encontrado = busqueda.fieldAsInteger(QStringLiteral("RES_RESULTADO")) > 0;
    if (encontrado) {
        id_ = busqueda.fieldAsFloat(QStringLiteral("RES_ID_PACIENTE"));
        codigo_ = busqueda.fieldAsInteger(QStringLiteral("RES_CODIGO"));
        nombre_ = busqueda.fieldAsText(QStringLiteral("RES_NOMBRE"));
        apellidos_ = busqueda.fieldAsText(QStringLiteral("RES_APELLIDOS"));
        nombreCompleto_ = busqueda.fieldAsText(QStringLiteral("RES_NOMBRE_COMPLETO"));
        nif_ = busqueda.fieldAsText(QStringLiteral("RES_NIF"));
        direccion_ = busqueda.fieldAsText(QStringLiteral("RES_DIRECCION"));
        idLocalidad_ = busqueda.fieldAsInteger(QStringLiteral("RES_ID_LOCALIDAD"));
        telefono_ = busqueda.fieldAsText(QStringLiteral("RES_TELEFONO"));
        borrado_ = busqueda.fieldAsInteger(QStringLiteral("RES_BORRADO"));
    }
    Close(SlotBusqueda);
    if (!encontrado) {
        Limpiar();
        return EstadoNoEncontrado;
    }
    return EstadoCorrecto;
}

void TPaciente::Limpiar()
{
    id_ = -1;
    codigo_ = -1;
    nombre_.clear();
    apellidos_.clear();
    nombreCompleto_.clear();
    nif_.clear();
    direccion_.clear();
    idLocalidad_ = 0;
    telefono_.clear();
    borrado_ = 0;
}

} // namespace lumetra
