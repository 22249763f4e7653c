#include "hostapi/Configuracion.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"

namespace lumetra {

void TConfiguracion::Cargar(Database& database)
{
    Dataset empresa(QStringLiteral("dstEmpresa"));
    empresa.setDatabase(&database);
    empresa.setSql(QStringLiteral(
        "select first 1 E.NOMBRE_COMERCIAL, E.EMPRESA, E.DIRECCION, E.NIF, E.TELEFONO, E.FAX, E.CORREO, "
        "E.SEPARADOR_DOCUMENTO, E.TIPO_CALCULO_IVA, E.USA_GRUPOS, E.ID_LOCALIDAD, L.CODIGO_POSTAL, "
        "L.DESCRIPCION LOCALIDAD, P.ID_PROVINCIA, P.DESCRIPCION PROVINCIA, E.ID_IVA_DEFECTO, I.PORCENTAJE "
        "from EMPRESA E left join LOCALIDAD L on L.ID_LOCALIDAD = E.ID_LOCALIDAD "
        "left join PROVINCIA P on P.ID_PROVINCIA = L.ID_PROVINCIA "
        "left join IVA I on I.ID_IVA = E.ID_IVA_DEFECTO order by E.ID_EMPRESA"));
    empresa.open();
    if (empresa.isEmpty())
        throw DatabaseError(QStringLiteral("La base de datos no tiene los datos de la empresa (tabla EMPRESA)"),
                            database.location());
    NombreComercial = empresa.fieldAsText(QStringLiteral("NOMBRE_COMERCIAL"));
    Empresa = empresa.fieldAsText(QStringLiteral("EMPRESA"));
    Direccion = empresa.fieldAsText(QStringLiteral("DIRECCION"));
    Nif = empresa.fieldAsText(QStringLiteral("NIF"));
    Telefono = empresa.fieldAsText(QStringLiteral("TELEFONO"));
    Fax = empresa.fieldAsText(QStringLiteral("FAX"));
    Correo = empresa.fieldAsText(QStringLiteral("CORREO"));
    SeparadorDocumento = empresa.fieldAsText(QStringLiteral("SEPARADOR_DOCUMENTO"));
    TipoCalculoIva = empresa.fieldAsInteger(QStringLiteral("TIPO_CALCULO_IVA"));
    UsaGrupos = empresa.fieldAsInteger(QStringLiteral("USA_GRUPOS"));
    Localidad.IdLocalidad = empresa.fieldAsInteger(QStringLiteral("ID_LOCALIDAD"));
    Localidad.CodigoPostal = empresa.fieldAsInteger(QStringLiteral("CODIGO_POSTAL"));
    Localidad.Descripcion = empresa.fieldAsText(QStringLiteral("LOCALIDAD"));
    Localidad.Provincia.IdProvincia = empresa.fieldAsInteger(QStringLiteral("ID_PROVINCIA"));
    Localidad.Provincia.Descripcion = empresa.fieldAsText(QStringLiteral("PROVINCIA"));
    IvaDefecto.IdIva = empresa.fieldAsInteger(QStringLiteral("ID_IVA_DEFECTO"));
    IvaDefecto.Porcentaje = empresa.fieldAsFloat(QStringLiteral("PORCENTAJE"));
}

} // namespace lumetra
