// The shop schema takes the rows the shop's programs write naming only the columns the listings
// read. (That it serves every statement the listings send is checked where they are sent: the
// query texts, the lookups, the audit record and every listing printed whole.)
#include "support/FirebirdFixture.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class SchemaTest : public test::FirebirdFixture {};

// Rows naming only the columns the listings read: every other column has a default.
TEST_F(SchemaTest, RowsInsertableNamingOnlyTheColumnsTheListingsRead)
{
    const QStringList inserts = {
        "insert into PROVINCIA (ID_PROVINCIA, CODIGO, DESCRIPCION) values (50, '50', 'Zaragoza')",
        "insert into LOCALIDAD (ID_LOCALIDAD, ID_PROVINCIA, CODIGO_POSTAL, DESCRIPCION) values (50, 50, 50001, 'Zaragoza')",
        "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, DIRECCION, ID_LOCALIDAD) values (5, 1, 'Pilar', 'Calle Alfonso I, 3', 50)",
        "insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO, TIPO_PAGO) values (20, 20, 'Bizum', 0, 2)",
        "insert into AGENTE (ID_AGENTE, CODIGO) values (20, '20')",
        "insert into GRUPO (ID_GRUPO, CODIGO) values (20, 'XX')",
        "insert into IVA (ID_IVA, TIPO, DESCRIPCION, PORCENTAJE, INTRACOMUNITARIO, IVA_INCLUIDO) values (20, 9, 'Otro', 5, 0, 1)",
        "insert into MONEDA (DESCRIPCION_M1, DESCRIPCION_M2, SIMBOLO_M1, SIMBOLO_M2, DECIMALES_M1, DECIMALES_M2, "
        "USAR_SEGUNDA_MONEDA, CONVERSION) values ('Dólar', 'Euro', '$', '€', 2, 2, 0, 1)",
        "insert into USUARIO (ID_USUARIO, NOMBRE_USUARIO) values (20, 'Marta')",
        "insert into PACIENTE (ID_PACIENTE) values (20)",
        "insert into FAMILIA (ID_FAMILIA, CODIGO, DESCRIPCION) values (20, 'F20', 'Varios')",
        "insert into ARTICULO (REFERENCIA, ID_FAMILIA) values ('R-20', 20)",
        "insert into EMPRESA (NOMBRE_COMERCIAL) values ('Otra')",
        "insert into MVENTA (ID_MVENTA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, ID_PACIENTE, LIQUIDO_M1, "
        "PORCENTAJE_DESCUENTO, FS_ENCARGO, FS_COBRO, FS_SERIE, ID_FORMA_PAGO, ID_TIENDA) "
        "values (20, '2013-06-15', '2013-06-15', 0, 1, 20, 10, 0, 1, 1, 'A', 1, 5)",
        "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, PORCENTAJE_DESCUENTO, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA, "
        "ID_GRUPO, ID_AGENTE_1, ID_AGENTE_2, ID_AGENTE_3, PRECIO_UNITARIO_M1, UNIDADES) "
        "values (20, 'R-20', 'Algo', 0, 10, 8.26, 1.74, 21, 20, 20, 0, 0, 10, 1)",
        "insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, ID_AGENTE, ID_TIENDA, TICKET) "
        "values (20, '2013-06-15 10:00', 10, 1, 20, 5, 1)",
        "insert into CAJA (FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO, ID_TIENDA) values ('2013-06-15', 5, 'Fondo', 150, 1, 5)",
    };
    for (const QString& sql : inserts)
        EXPECT_NO_THROW(db.execute(sql)) << sql.toStdString();
}

} // namespace
