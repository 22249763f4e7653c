#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"
#include "platform/db/StoredProc.h"
#include "platform/db/Transaction.h"
#include "support/FirebirdFixture.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class DatasetTest : public test::FirebirdFixture {
protected:
    void SetUp() override
    {
        FirebirdFixture::SetUp();
        exec({
            "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION) values (1, 10, 'Centro')",
            "insert into AGENTE (ID_AGENTE, CODIGO) values (7, '7')",
            "insert into GRUPO (ID_GRUPO, CODIGO) values (1, 'GR')",
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1) "
            "values (1, 1, '2013-06-15 10:30:00', '2013-06-15 10:30:00', 0, 501, 121.00)",
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, TIPO_OPERACION, N_TALON, LIQUIDO_M1) "
            "values (2, 1, '2013-06-14 18:00:00', 1, 502, 0.30)",
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1) "
            "values (3, 1, '2013-06-16 09:00:00', '2013-06-16 09:00:00', 0, 503, 10.00)",
            "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1) "
            "values (1, 'MON-1', 50.00, 10.50, 21, 1, 7)",
            "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1) "
            "values (1, 'LEN-1', 50.00, 10.50, 21, 99, 99)",
            "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA) values (2, 'LC-1', 0.10, 0.01, 10)",
            "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA) values (2, 'LC-2', 0.17, 0.02, 10)",
        });
    }

    void open(Dataset& d, const QString& sql)
    {
        d.setDatabase(&db);
        d.setSql(sql);
        d.open();
    }
};

TEST_F(DatasetTest, DateCastAgainstMonthFirstLiteral)
{
    Dataset d(QStringLiteral("dstMVenta"));
    d.setDatabase(&db);
    d.setSql(QStringLiteral("Select MV.ID_MVENTA, CAST(MV.FECHA AS DATE) FECHA from MVENTA MV "
                            "Where CAST(MV.FECHA AS DATE) = '06/15/2013' "));
    d.open();
    ASSERT_FALSE(d.isEmpty());
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("ID_MVENTA")), 1);
    EXPECT_EQ(d.fieldAsDateTime(QStringLiteral("FECHA")), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(d.fieldAsText(QStringLiteral("FECHA")), QStringLiteral("15/06/2013"));
    EXPECT_FALSE(d.next());
    EXPECT_TRUE(d.eof());

    d.close();
    d.setSql(QStringLiteral("Select MV.ID_MVENTA from MVENTA MV Where CAST(MV.FECHA AS DATE) BETWEEN ' 06/14/2013'  AND '06/15/2013' Order By MV.FECHA"));
    d.open();
    EXPECT_EQ(d.recordCount(), 2);
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("ID_MVENTA")), 2);
}

TEST_F(DatasetTest, UnaliasedSumIsNamedSumAndExact)
{
    Dataset d(QStringLiteral("dstPrueba"));
    open(d, QStringLiteral("Select SUM(DV.BI_BASE_M1 + DV.BI_IVA_M1) from DVENTA DV where DV.ID_MVENTA = 2"));
    EXPECT_EQ(d.fieldName(0), QStringLiteral("SUM"));
    EXPECT_DOUBLE_EQ(d.fieldAsFloat(QStringLiteral("SUM")), 0.30);
    EXPECT_DOUBLE_EQ(d.fieldAsFloat(QStringLiteral("sum")), 0.30);
}

TEST_F(DatasetTest, FieldsByNameInAnyCaseAndUnknownFieldNamed)
{
    Dataset d(QStringLiteral("dstPrueba"));
    open(d, QStringLiteral("Select MV.N_TALON, MV.LIQUIDO_M1 LIQUIDO_MVENTA from MVENTA MV where MV.ID_MVENTA = 1"));
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("n_talon")), 501);
    EXPECT_EQ(d.fieldAsText(QStringLiteral("N_Talon")), QStringLiteral("501"));
    EXPECT_DOUBLE_EQ(d.fieldAsFloat(QStringLiteral("Liquido_MVenta")), 121.0);
    try {
        d.fieldAsFloat(QStringLiteral("NO_EXISTE"));
        FAIL() << "an unknown field was read";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NO_EXISTE")));
        EXPECT_TRUE(e.statement().contains(QStringLiteral("MVENTA")));
    }
}

TEST_F(DatasetTest, NullsFromLeftJoinsReadAsEmptyValues)
{
    Dataset d(QStringLiteral("dstPrueba"));
    open(d, QStringLiteral(
        "SELECT DV.REFERENCIA, GR.CODIGO GR_CODIGO, AG.CODIGO AG_CODIGO1, GR.ID_GRUPO, MV2.FECHA_PAGADO "
        "from DVENTA DV LEFT JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO "
        "LEFT JOIN AGENTE AG On AG.ID_AGENTE = DV.ID_AGENTE_1 "
        "LEFT JOIN MVENTA MV2 On MV2.ID_MVENTA = DV.ID_AGENTE_1 "
        "where DV.REFERENCIA = 'LEN-1'"));
    EXPECT_TRUE(d.isNull(QStringLiteral("GR_CODIGO")));
    EXPECT_EQ(d.fieldAsText(QStringLiteral("GR_CODIGO")), QString());
    EXPECT_EQ(d.fieldAsText(QStringLiteral("AG_CODIGO1")), QString());
    EXPECT_EQ(d.fieldAsFloat(QStringLiteral("ID_GRUPO")), 0.0);
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("ID_GRUPO")), 0);
    EXPECT_TRUE(d.fieldAsDateTime(QStringLiteral("FECHA_PAGADO")).isZero());
}

TEST_F(DatasetTest, WalkKeepsLastRowAndFirstNeedsNoNewQuery)
{
    Dataset d(QStringLiteral("dstPrueba"));
    open(d, QStringLiteral("Select MV.ID_MVENTA from MVENTA MV Order By MV.ID_MVENTA"));
    QList<int> seen;
    for (d.first(); !d.eof(); d.next())
        seen << d.fieldAsInteger(QStringLiteral("ID_MVENTA"));
    EXPECT_EQ(seen, (QList<int>{1, 2, 3}));
    EXPECT_TRUE(d.eof());
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("ID_MVENTA")), 3);   // the last row stays current
    EXPECT_TRUE(d.first());
    EXPECT_FALSE(d.eof());
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("ID_MVENTA")), 1);
    EXPECT_TRUE(d.setRecNo(2));
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("ID_MVENTA")), 3);
    EXPECT_FALSE(d.setRecNo(3));
    EXPECT_EQ(d.executions(), 1);
}

TEST_F(DatasetTest, EmptyResultReadsDefaults)
{
    Dataset d(QStringLiteral("dstPrueba"));
    open(d, QStringLiteral("Select DISTINCT(CO.ID_COBRO) ID, CO.IMPORTE_M1 from COBRO CO Order By CO.FECHA, CO.ID_FORMA_PAGO"));
    EXPECT_TRUE(d.isEmpty());
    EXPECT_TRUE(d.eof());
    EXPECT_FALSE(d.first());
    EXPECT_EQ(d.fieldAsFloat(QStringLiteral("ID")), 0.0);
    EXPECT_EQ(d.recNo(), -1);
}

TEST_F(DatasetTest, FailureOnTheFirstRowIsAnErrorNotAnEmptyResult)
{
    Dataset d(QStringLiteral("dstPrueba"));
    d.setDatabase(&db);
    d.setSql(QStringLiteral("select 1 / (ID_FORMA_PAGO - ID_FORMA_PAGO) V from FORMA_PAGO"));
    EXPECT_THROW(d.open(), DatabaseError);
    EXPECT_FALSE(d.isOpen());
}

TEST_F(DatasetTest, PreparedStatementReExecutesWithNewParameters)
{
    Dataset d(QStringLiteral("dstAux"));
    d.setDatabase(&db);
    d.setSql(QStringLiteral("select N_TALON from MVENTA where ID_MVENTA = :ID"));
    d.setParam(QStringLiteral("ID"), 2);
    d.open();
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("N_TALON")), 502);
    d.close();
    d.setParam(QStringLiteral("id"), 3);
    d.open();
    EXPECT_EQ(d.fieldAsInteger(QStringLiteral("N_TALON")), 503);
    EXPECT_EQ(d.executions(), 2);
}

TEST_F(DatasetTest, BadStatementCarriesItsText)
{
    Dataset d(QStringLiteral("dstMal"));
    d.setDatabase(&db);
    d.setSql(QStringLiteral("Select NADA from NINGUNA_TABLA"));
    try {
        d.open();
        FAIL() << "a bad statement opened";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.statement(), QStringLiteral("Select NADA from NINGUNA_TABLA"));
        EXPECT_EQ(e.database(), path);
        EXPECT_NE(std::string(e.what()).find("NINGUNA_TABLA"), std::string::npos);
    }
    EXPECT_FALSE(d.isOpen());
}

class MasterDetailTest : public DatasetTest {
protected:
    void SetUp() override
    {
        DatasetTest::SetUp();
        master.setDatabase(&db);
        master.setSql(QStringLiteral("Select MV.ID_MVENTA, MV.N_TALON from MVENTA MV Order By MV.ID_MVENTA"));
        detail.setDatabase(&db);
        detail.setMaster(&master);
        detail.setSql(QStringLiteral("SELECT DV.REFERENCIA from DVENTA DV where DV.ID_MVENTA = :ID_MVENTA order by DV.ID_DVENTA"));
        master.open();
        detail.open();
    }

    QStringList detailRows()
    {
        QStringList refs;
        for (detail.first(); !detail.eof(); detail.next())
            refs << detail.fieldAsText(QStringLiteral("REFERENCIA"));
        return refs;
    }

    Dataset master{QStringLiteral("dstMaestro")};
    Dataset detail{QStringLiteral("dstDetalle")};
};

TEST_F(MasterDetailTest, DetailFollowsEachMasterRow)
{
    QList<QStringList> perSale;
    for (master.first(); !master.eof(); master.next())
        perSale << detailRows();
    EXPECT_EQ(perSale, (QList<QStringList>{{"MON-1", "LEN-1"}, {"LC-1", "LC-2"}, {}}));
    EXPECT_EQ(detail.executions(), 3);
}

TEST_F(MasterDetailTest, DetailNeverReadRunsNoQuery)
{
    int rows = 0;
    for (master.first(); !master.eof(); master.next())
        ++rows;
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(detail.executions(), 0);
}

TEST_F(MasterDetailTest, ReadsOnOneMasterRowShareOneExecution)
{
    master.next();
    EXPECT_TRUE(detail.first());
    EXPECT_EQ(detail.fieldAsText(QStringLiteral("REFERENCIA")), QStringLiteral("LC-1"));
    EXPECT_EQ(detail.fieldAsText(QStringLiteral("REFERENCIA")), QStringLiteral("LC-1"));
    EXPECT_FALSE(detail.isEmpty());
    EXPECT_EQ(detail.executions(), 1);
    master.next();
    EXPECT_TRUE(detail.isEmpty());
    EXPECT_EQ(detail.executions(), 2);
}

TEST_F(MasterDetailTest, StreamedDetailRunsAgainOnRewindKeptOneDoesNot)
{
    master.next();
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_TRUE(detail.eof());
    EXPECT_EQ(detail.fieldAsText(QStringLiteral("REFERENCIA")), QString());   // past the end of a stream
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detail.executions(), 2);
    EXPECT_TRUE(detail.setRecNo(1));
    EXPECT_EQ(detail.fieldAsText(QStringLiteral("REFERENCIA")), QStringLiteral("LC-2"));

    detail.close();
    detail.setKeepRows(true);
    detail.open();
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detail.executions(), 1);
    EXPECT_EQ(detail.fieldAsText(QStringLiteral("REFERENCIA")), QStringLiteral("LC-2"));   // the last kept row stays
}

TEST_F(DatasetTest, StoredProcedureOutputsByName)
{
    exec({"insert into PACIENTE (ID_PACIENTE, NOMBRE, APELLIDOS, BORRADO) values (40, 'Ana', 'Puig Serra', 1)"});
    StoredProc proc;
    proc.setDatabase(&db);
    proc.setProcName(QStringLiteral("BUSCAR_PACIENTE"));
    proc.setParam(QStringLiteral("ORG_ID"), 40);
    proc.setParam(QStringLiteral("ORG_CODIGO"), -1);
    proc.setParam(QStringLiteral("ORG_APELLIDOS"), QString());
    proc.setParam(QStringLiteral("ORG_BORRADO"), 2);
    proc.execProc();
    EXPECT_EQ(proc.inputNames(), (QStringList{"ORG_ID", "ORG_CODIGO", "ORG_APELLIDOS", "ORG_BORRADO"}));
    EXPECT_EQ(proc.fieldAsInteger(QStringLiteral("RES_RESULTADO")), 1);
    EXPECT_EQ(proc.fieldAsText(QStringLiteral("RES_NOMBRE_COMPLETO")), QStringLiteral("Puig Serra, Ana"));
    EXPECT_EQ(proc.fieldAsInteger(QStringLiteral("res_borrado")), 1);

    proc.setParam(QStringLiteral("ORG_BORRADO"), 0);   // deleted patients left out
    proc.execProc();
    EXPECT_EQ(proc.fieldAsInteger(QStringLiteral("RES_RESULTADO")), 0);

    proc.setProcName(QStringLiteral("BUSCAR_FORMA_PAGO"));
    proc.clearParams();
    proc.setParam(QStringLiteral("ORG_ID"), -1);
    proc.setParam(QStringLiteral("ORG_CODIGO"), 3);
    proc.setParam(QStringLiteral("ORG_TIPO"), -1);
    proc.setParam(QStringLiteral("ORG_DESCRIPCION"), QStringLiteral("-1"));
    proc.execProc();
    EXPECT_EQ(proc.fieldAsInteger(QStringLiteral("RES_RESULTADO")), 1);
    EXPECT_EQ(proc.fieldAsInteger(QStringLiteral("RES_TIPO_PAGO")), 3);
    EXPECT_EQ(proc.fieldAsText(QStringLiteral("RES_DESCRIPCION")), QStringLiteral("Albarán"));
    EXPECT_THROW(proc.fieldAsText(QStringLiteral("RES_NO_EXISTE")), DatabaseError);

    proc.setProcName(QStringLiteral("NO_EXISTE"));
    EXPECT_THROW(proc.execProc(), DatabaseError);
}

TEST_F(DatasetTest, RolledBackTransactionLeavesNoRows)
{
    {
        Transaction t(db);
        t.start();
        db.execute(QStringLiteral("insert into CAJA (ID_TIENDA, TIPO, IMPORTE_M1) values (1, 5, 150)"));
        t.rollback();
    }
    {
        Transaction t(db);
        t.start();
        db.execute(QStringLiteral("insert into CAJA (ID_TIENDA, TIPO, IMPORTE_M1) values (1, 5, 150)"));
        // destroyed while active: rolled back
    }
    Dataset count(QStringLiteral("dstAux"));
    open(count, QStringLiteral("select count(*) from CAJA"));
    EXPECT_EQ(count.fieldAsInteger(QStringLiteral("COUNT")), 0);
}

} // namespace
