// The shop schema serves every statement the listings send: each text below is one the listing
// window, the data modules, the lookups or the audit record build, with typical conditions.
#include "platform/db/Dataset.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/StoredProc.h"
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

class ListingStatements : public test::FirebirdFixture,
                          public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(ListingStatements, RunOnTheSchema)
{
    exec({"insert into MVENTA (ID_MVENTA, FECHA, TIPO_OPERACION, N_TALON, LIQUIDO_M1) values (1, '2013-06-15 10:00', 1, 7, 121)",
          "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA) values (1, 'X', 100, 21, 21)",
          "insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, ID_TIENDA, TICKET) values (1, '2013-06-15 10:00', 50, 4, 1, 3)"});
    Dataset d(QStringLiteral("dstPrueba"));
    d.setDatabase(&db);
    d.setSql(QString::fromUtf8(GetParam().second));
    d.setParam(QStringLiteral("ID_MVENTA"), 1);
    d.setParam(QStringLiteral("PARAMETRO"), 1);
    d.setParam(QStringLiteral("ID"), 1);
    d.setParam(QStringLiteral("DESCRIPCION"), QStringLiteral("x"));
    EXPECT_NO_THROW(d.open());
    EXPECT_NO_THROW(d.first());
}

const std::pair<const char*, const char*> kStatements[] = {
    {"cash_box", "Select CA.ID_CAJA, CAST(CA.FECHA AS DATE) FECHA, CA.TIPO, CA.DESCRIPCION, CA.IMPORTE_M1, FP.CODIGO, FP.TIPO FP_TIPO, "
                 "FP.TIPO_PAGO from CAJA CA LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CA.ID_FORMA_PAGO  where "
                 "CAST(CA.FECHA AS DATE)  BETWEEN '06/01/2013'  AND '06/15/2013' And  (CA.ID_TIENDA = 1 Or CA.ID_TIENDA = 2)  Order By CA.FECHA "},
    {"collections", "Select CO.ID_MVENTa, CAST(CO.FECHA AS DATE) FECHA_COBRO, CO.IMPORTE_M1, FP.DESCRIPCION DESC_FPAGO, "
                    "FP.CODIGO COD_FPAGO, FP.TIPO_PAGO TIPO_PAGO, AG.CODIGO COD_AGENTE, CAST(MV.FECHA AS DATE) FECHA_VENTA, "
                    "MV.TIPO_OPERACION, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_PACIENTE, MV.LIQUIDO_M1 LIQUIDO_MVENTA, "
                    "MV.PORCENTAJE_DESCUENTO, MV.FS_ENCARGO, MV.FS_COBRO, MV.FS_SERIE From COBRO CO LEFT JOIN FORMA_PAGO FP On "
                    "FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO LEFT JOIN AGENTE AG On AG.ID_AGENTE = CO.ID_AGENTE INNER JOIN MVENTA MV On "
                    "MV.ID_MVENTA = CO.ID_MVENTA  where CAST(CO.FECHA AS DATE) = '06/15/2013'  And  (CO.ID_TIENDA = 1)  Order BY CO.ID_MVENTA "},
    {"sale_lines", "SELECT DV.ID_MVENTA, DV.REFERENCIA, DV.DESCRIPCION, DV.PORCENTAJE_DESCUENTO, DV.LIQUIDO_M1, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, "
                   "GR.CODIGO GR_CODIGO, AG.CODIGO AG_CODIGO1, AG1.CODIGO AG_CODIGO2, AG2.CODIGO AG_CODIGO3 from DVENTA DV LEFT JOIN GRUPO GR On "
                   "GR.ID_GRUPO = DV.ID_GRUPO LEFT JOIN AGENTE AG On AG.ID_AGENTE = DV.ID_AGENTE_1 LEFT JOIN AGENTE AG1 On AG1.ID_AGENTE = "
                   "DV.ID_AGENTE_2 LEFT JOIN AGENTE AG2 On AG2.ID_AGENTE = DV.ID_AGENTE_3 where DV.ID_MVENTA = :ID_MVENTA"},
    {"orders_of_the_day", "Select MV.ID_MVENTA, MV.TIPO_OPERACION, MV.N_TALON, MV.LIQUIDO_M1, CAST(MV.FECHA AS DATE) FECHA from MVENTA MV "
                          "Where MV.TIPO_OPERACION != 0  And CAST(MV.FECHA AS DATE) BETWEEN ' 06/01/2013'  AND '06/15/2013' And  (MV.ID_TIENDA = 1)  Order By MV.FECHA"},
    {"order_lines", "Select DV.REFERENCIA from DVENTA DV WHERE ID_MVENTA = :ID_MVENTA "},
    {"cards", "Select CO.ID_COBRO ID, MV.N_TALON, MV.TIPO_OPERACION, CO.IMPORTE_M1, CO.ID_FORMA_PAGO, CAST(CO.FECHA AS DATE) FECHA, "
              "FP.TIPO_PAGO, FP.DESCRIPCION from COBRO CO INNER JOIN MVENTA MV On (MV.ID_MVENTA = CO.ID_MVENTA AND MV.TIPO_OPERACION != 3)  "
              "INNER JOIN FORMA_PAGO FP On (FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO And FP.TIPO_PAGO = 2) WHERE  (CO.ID_TIENDA = 1)  Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA"},
    {"groups", "Select MV.ID_MVENTA, MV.N_TALON, CAST(MV.FECHA AS DATE) FECHA, MV.TIPO_OPERACION, MV.ID_PACIENTE, DV.REFERENCIA, DV.DESCRIPCION, "
               "(COALESCE(DV.BI_BASE_M1, 0) + COALESCE(DV.BI_IVA_M1, 0)) IMPORTE, DV.PRECIO_UNITARIO_M1, DV.UNIDADES, GR.CODIGO from MVENTA MV INNER JOIN DVENTA DV On "
               "(DV.ID_MVENTA = MV.ID_MVENTA ) INNER JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO Where MV.TIPO_OPERACION != 3  And "
               "CAST(MV.FECHA AS DATE) = '06/15/2013'  Order By MV.FECHA, N_TALON, 11"},
    {"journal_summary", "Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA from MVENTA MV INNER JOIN DVENTA DV ON "
                        "(DV.ID_MVENTA = MV.ID_MVENTA ) Where MV.TIPO_OPERACION != 3 AND  (MV.ID_TIENDA = 1)  AND CAST(MV.FECHA AS DATE) > '06/01/2013'  "
                        "GROUP BY DV.IVA Order BY IVA"},
    {"journal_lines_by_collection", "Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, MV.FS_COBRO FAC_SIMPLE, "
                                    "MV.FS_SERIE , CAST(MV.FECHA_PAGADO AS DATE) FECHA From MVENTA MV INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ) "
                                    "Where (MV.TIPO_OPERACION = 1 Or MV.TIPO_OPERACION = 0)  AND CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '06/01/2013'  AND "
                                    "'06/30/2013' ORDER BY MV.FECHA_PAGADO, MV.FS_COBRO, MV.ID_MVENTA"},
    {"journal_cash_sales", "Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_FORMA_PAGO, MV.TIPO_OPERACION, "
                           "MV.ID_TIENDA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE, MV.ID_FORMA_PAGO From MVENTA MV where (MV.TIPO_OPERACION = 1 OR "
                           "MV.TIPO_OPERACION = 0 ) AND CAST(MV.FECHA_PAGADO AS DATE) < '06/30/2013' "},
    {"journal_cash_lines", "Select DV.ID_MVENTA, DV.BI_BASE_M1, DV.BI_IVA_M1, IVA, DV.REFERENCIA, DV.DESCRIPCION from DVENTA DV  Where DV.ID_MVENTA = :ID_MVENTA "},
    {"journal_cash_collections_of_sale", "Select CO.IMPORTE_M1, CO.TICKET, CO.ID_TIENDA, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO from COBRO CO where "
                                         "CO.ID_MVENTA = :ID_MVENTA ORDER BY CO.FECHA, CO.ID_COBRO "},
    {"journal_cash_collections", "Select CO.ID_MVENTA, CO.IMPORTE_M1, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO, CO.TICKET from COBRO CO where "
                                 "CAST(CO.FECHA AS DATE) != '06/15/2013'  AND  (CO.ID_TIENDA = 1) "},
    {"journal_cash_sale_of_collection", "Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.ID_TIENDA, MV.N_TALON from MVENTA MV "
                                        "Where MV.ID_MVENTA = :ID_MVENTA AND MV.TIPO_OPERACION IN (1, 2, 3) "},
    {"month_sales", "Select SUM(MV.LIQUIDO_M1) from MVENTA MV where MV.TIPO_OPERACION != 3 AND CAST(MV.FECHA AS DATE) BETWEEN '6/01/2013' "
                    "AND '06/15/2013' AND  (MV.ID_TIENDA = 1) "},
    {"month_collections", "Select SUM(CO.IMPORTE_M1) from COBRO CO INNER JOIN MVENTA MV On MV.ID_MVENTA = CO.ID_MVENTA Where  "
                          "CAST(CO.FECHA AS DATE) BETWEEN '6/01/2013' AND '06/15/2013' AND  (CO.ID_TIENDA = 1) "},
    {"day_vat_by_collection", "SELECT SUM(DV.BI_BASE_M1) BASE, SUM(DV.BI_IVA_M1) IVA, DV.IVA PORCENTAJE from MVENTA MV INNER JOIN DVENTA DV On "
                              "(DV.ID_MVENTA = MV.ID_MVENTA ) Where (MV.TIPO_OPERACION = 1) AND CAST(MV.FECHA_PAGADO AS DATE) = '06/15/2013' "
                              "GROUP BY DV.IVA ORDER BY DV.IVA"},
    {"day_vat_by_order", "SELECT SUM(DV.BI_BASE_M1) BASE, SUM(DV.BI_IVA_M1) IVA, DV.IVA PORCENTAJE from MVENTA MV INNER JOIN DVENTA DV On "
                         "(DV.ID_MVENTA = MV.ID_MVENTA ) Where (MV.TIPO_OPERACION = 1 Or MV.TIPO_OPERACION = 2) AND CAST(MV.FECHA AS DATE) = "
                         "'06/15/2013' AND  (MV.ID_TIENDA = 1)  GROUP BY DV.IVA ORDER  BY DV.IVA"},
    {"day_vat_cash_down_payments", "Select CAST(CO.FECHA AS DATE) FECHA, CO.IMPORTE_M1, MV.N_TALON, CO.TICKET, CO.ID_TIENDA TIENDA_COBRO, "
                                   "MV.ID_TIENDA TIENDA_VENTA From MVENTA MV INNER JOIN COBRO CO On (CO.ID_MVENTA = MV.ID_MVENTA AND "
                                   "CAST(CO.FECHA AS DATE) = '06/15/2013'  AND  (CO.ID_TIENDA = 1) ) where MV.TIPO_OPERACION != 0 AND "
                                   "CAST(MV.FECHA_PAGADO AS DATE) != '06/15/2013'"},
    {"day_vat_cash_finished", "Select MV.ID_MVENTA, MV.ID_TIENDA, MV.N_TALON From MVENTA MV where MV.TIPO_OPERACION = 1 AND "
                              "CAST(MV.FECHA_PAGADO AS DATE) = '06/15/2013'"},
    {"day_vat_cash_finished_lines", "Select SUM(DV.BI_BASE_M1) BIBASEM1, SUM(DV.BI_IVA_M1) BIIVAM1, DV.IVA from DVENTA DV  Where "
                                    "DV.ID_MVENTA = :ID_MVENTA  GROUP BY DV.IVA "},
    {"day_vat_cash_finished_collections", "Select CO.IMPORTE_M1, CO.ID_TIENDA from COBRO CO where CO.ID_MVENTA = :ID_MVENTA AND "
                                          "CAST(CO.FECHA AS DATE) = '06/15/2013'"},
    {"currency", "Select * From MONEDA"},
    {"locality", "select * from LOCALIDAD where id_localidad = :PARAMETRO"},
    {"localities_of_province", "select * from LOCALIDAD where id_provincia = :PARAMETRO"},
    {"localities_by_postcode", "select * from LOCALIDAD where codigo_postal = :PARAMETRO"},
    {"province", "select * from provincia where id_provincia = :PARAMETRO"},
    {"stores", "Select * from TIENDA where ID_TIENDA != 0 Order By CODIGO"},
    {"store_by_id", "select * from TIENDA where ID_TIENDA = :ID"},
    {"store_by_description", "select * from TIENDA where DESCRIPCION = :DESCRIPCION"},
    {"vat_types", "select ID_IVA, TIPO, DESCRIPCION, PORCENTAJE, INTRACOMUNITARIO from IVA where IVA_INCLUIDO = 1 order by DESCRIPCION"},
    {"user_name", "select NOMBRE_USUARIO from USUARIO where ID_USUARIO = :ID"},
};

INSTANTIATE_TEST_SUITE_P(Listings, ListingStatements, ::testing::ValuesIn(kStatements),
                         [](const auto& info) { return std::string(info.param.first); });

TEST_F(SchemaTest, AuditRowInsertedWithTheListingStatement)
{
    Dataset insert(QStringLiteral("qryAcceso"));
    insert.setDatabase(&db);
    insert.setSql(QStringLiteral(
        "insert into ACCESO (ID_USUARIO, ID_OPCION, ID_OPERACION, ID_TIENDA, FECHA_SISTEMA, FECHA_PROGRAMA, USUARIO_NOM, OPCION_NOM, "
        "OPERACION_COD, OPERACION_DET, OPERACION_IMP, OPERACION_TIP, OPERACION_ENT, OPERACION_FECHA) values "
        "(:ID_USUARIO, :ID_OPCION, :ID_OPERACION, :ID_TIENDA, :FECHA_SISTEMA, :FECHA_PROGRAMA, :USUARIO_NOM, :OPCION_NOM, "
        ":OPERACION_COD, :OPERACION_DET, :OPERACION_IMP, :OPERACION_TIP, :OPERACION_ENT, :OPERACION_FECHA) "));
    insert.setParam(QStringLiteral("ID_USUARIO"), 1);
    insert.setParam(QStringLiteral("ID_OPCION"), 4001);
    insert.setParam(QStringLiteral("ID_OPERACION"), -1);
    insert.setParam(QStringLiteral("ID_TIENDA"), 1);
    insert.setParam(QStringLiteral("FECHA_SISTEMA"), DateTime::fromYmd(2013, 6, 15));
    insert.setParam(QStringLiteral("FECHA_PROGRAMA"), DateTime::fromYmd(2013, 6, 15));
    insert.setParam(QStringLiteral("USUARIO_NOM"), QStringLiteral("Administrador"));
    insert.setParam(QStringLiteral("OPCION_NOM"), QStringLiteral("Hoja de caja diaria"));
    insert.setParam(QStringLiteral("OPERACION_COD"), QString());
    insert.setParam(QStringLiteral("OPERACION_DET"), QString());
    insert.setParam(QStringLiteral("OPERACION_IMP"), 0.0);
    insert.setParam(QStringLiteral("OPERACION_TIP"), 1);
    insert.setParam(QStringLiteral("OPERACION_ENT"), 0);
    insert.setParam(QStringLiteral("OPERACION_FECHA"), DateTime::zero());
    EXPECT_NO_THROW(insert.open());

    Dataset check(QStringLiteral("dstAux"));
    check.setDatabase(&db);
    check.setSql(QStringLiteral("select ID_ACCESO, ID_OPCION, OPCION_NOM, OPERACION_FECHA from ACCESO"));
    check.open();
    EXPECT_EQ(check.recordCount(), 1);
    EXPECT_GT(check.fieldAsInteger(QStringLiteral("ID_ACCESO")), 0);
    EXPECT_EQ(check.fieldAsText(QStringLiteral("OPCION_NOM")), QStringLiteral("Hoja de caja diaria"));
    EXPECT_TRUE(check.fieldAsDateTime(QStringLiteral("OPERACION_FECHA")).isZero());
}

TEST_F(SchemaTest, LookupProceduresAnswerNotFound)
{
    StoredProc proc;
    proc.setDatabase(&db);
    proc.setProcName(QStringLiteral("BUSCAR_ARTICULO"));
    proc.setParam(QStringLiteral("ORG_ID_ARTICULO"), -1);
    proc.setParam(QStringLiteral("ORG_REFERENCIA"), QStringLiteral("NO-EXISTE"));
    proc.setParam(QStringLiteral("ORG_CBARRAS"), -1);
    proc.setParam(QStringLiteral("ORG_DESCRIPCION"), QStringLiteral("-1"));
    proc.execProc();
    EXPECT_EQ(proc.fieldAsInteger(QStringLiteral("RES_RESULTADO")), 0);

    proc.setProcName(QStringLiteral("BUSCAR_FAMILIA"));
    proc.clearParams();
    proc.setParam(QStringLiteral("ORG_ID"), 12345);
    proc.setParam(QStringLiteral("ORG_CODIGO"), -1);
    proc.setParam(QStringLiteral("ORG_DESCRIPCION"), QStringLiteral("-1"));
    proc.execProc();
    EXPECT_LT(proc.fieldAsInteger(QStringLiteral("RES_ENCONTRADAS")), 1);
}

} // namespace
