// Locations, opening and queries on a real embedded Firebird database.
#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"
#include "platform/db/StoredProc.h"
#include "platform/db/Transaction.h"
#include "support/FirebirdFixture.h"
#include "support/TestTools.h"

#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumetra;
using ::testing::HasSubstr;

namespace {

// A location as written and what it is read as, or the part of the message refusing it.
TEST(DatabaseLocation, SplitsHostPortAndPathOrSaysWhatIsWrong)
{
    const struct { const char* location; const char* refused; const char* host = ""; int port = -1; const char* path = ""; } cases[] = {
        {"/var/lib/lumetra/tienda.fdb", nullptr, "", -1, "/var/lib/lumetra/tienda.fdb"},
        {"servidor:/datos/tienda.fdb", nullptr, "servidor", -1, "/datos/tienda.fdb"},
        {"10.0.0.5/3051:/datos/tienda.fdb", nullptr, "10.0.0.5", 3051, "/datos/tienda.fdb"},
        {"C:\\Lumetra\\tienda.fdb", nullptr, "", -1, "C:\\Lumetra\\tienda.fdb"},
        {"/datos/a:b.fdb", nullptr, "", -1, "/datos/a:b.fdb"},
        {"mis datos/tienda:2013.fdb", nullptr, "", -1, "mis datos/tienda:2013.fdb"},
        {"servidor:C:\\Lumetra\\tienda.fdb", nullptr, "servidor", -1, "C:\\Lumetra\\tienda.fdb"},
        {"bd-1.tienda.example:/datos/tienda.fdb", nullptr, "bd-1.tienda.example", -1, "/datos/tienda.fdb"},
        {"localhost/65535:/datos/tienda.fdb", nullptr, "localhost", 65535, "/datos/tienda.fdb"},
        {"[::1]:/datos/tienda.fdb", nullptr, "::1", -1, "/datos/tienda.fdb"},
        {"[fe80::1:2]/3051:tienda", nullptr, "fe80::1:2", 3051, "tienda"},
        {"servidor/0:/datos/tienda.fdb", "el puerto «0»"},
        {"10.0.0.5/65536:/datos/tienda.fdb", "el puerto «65536»"},
        {"servidor/:/datos/tienda.fdb", "el puerto «»"},
        {"servidor/+3050:/datos/tienda.fdb", "el puerto «+3050»"},
        {"10.0.0.256:/datos/tienda.fdb", "«10.0.0.256» no es una dirección IPv4"},
        {"10.0.5:/datos/tienda.fdb", "«10.0.5» no es una dirección IPv4"},
        {"servidor:", "falta la ruta"},
        {"[::1:/datos/tienda.fdb", "falta el «]»"},
        {"[servidor]:/datos/tienda.fdb", "no es una dirección IPv6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.location);
        try {
            const DatabaseLocation where = DatabaseLocation::parse(QString::fromUtf8(c.location));
            EXPECT_TRUE(c.refused == nullptr) << "taken as a location";
            EXPECT_EQ(where.host, QString::fromUtf8(c.host));
            EXPECT_EQ(where.port, c.port);
            EXPECT_EQ(where.path, QString::fromUtf8(c.path));
            EXPECT_EQ(where.embedded(), where.host.isEmpty());
        } catch (const DatabaseError& e) {
            ASSERT_NE(c.refused, nullptr) << e.what();
            for (const char* part : {c.location, c.refused, "no es válida"})
                EXPECT_THAT(e.message().toStdString(), HasSubstr(part));
        }
    }
}

std::string errorOpening(const QString& location)
{
    Database db;
    try {
        db.open(location);
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(db.isOpen());
        return e.what();
    }
    ADD_FAILURE() << "opening " << location.toStdString() << " did not fail";
    return {};
}

void writeJunk(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
}

TEST(DatabaseOpen, EachFailureNamesTheDatabaseAndLeavesItClosed)
{
    QTemporaryDir dir;
    const std::string bogus = dir.filePath("texto.fdb").toStdString(), colon = dir.filePath("a:b.fdb").toStdString(),
                      server = "127.0.0.1/1:/datos/tienda.fdb";
    writeJunk(QString::fromStdString(bogus));
    EXPECT_THAT(errorOpening(QString::fromStdString(bogus)), HasSubstr(bogus));
    EXPECT_THAT(errorOpening(QString::fromStdString(server)), HasSubstr(server));
    EXPECT_FALSE(errorOpening(QString()).empty());
    // A local file with a colon is named, not looked for on a server called like its folder.
    EXPECT_THAT(errorOpening(QString::fromStdString(colon)), HasSubstr("No existe el fichero de base de datos «" + colon + "»"));
    writeJunk(QString::fromStdString(colon));
    EXPECT_THAT(errorOpening(QString::fromStdString(colon)), HasSubstr("su ruta contiene «:»"));

    // A dataset on the closed database fails the same way.
    Database db;
    Dataset query(QStringLiteral("dstPrueba"));
    query.setDatabase(&db);
    query.setSql(QStringLiteral("select 1 from RDB$DATABASE"));
    EXPECT_THROW(query.open(), DatabaseError);
    EXPECT_FALSE(query.isOpen());
}

class DatasetTest : public test::FirebirdFixture {
protected:
    void SetUp() override
    {
        FirebirdFixture::SetUp();
        exec({
            "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION) values (1, 10, 'Centro')",
            "insert into AGENTE (ID_AGENTE, CODIGO) values (7, '7')",
            "insert into GRUPO (ID_GRUPO, CODIGO) values (1, 'GR')",
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1) values (1, 1, '2013-06-15 10:30:00', '2013-06-15 10:30:00', 0, 501, 121.00)",
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, TIPO_OPERACION, N_TALON, LIQUIDO_M1) values (2, 1, '2013-06-14 18:00:00', 1, 502, 0.30)",
            "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1) values (3, 1, '2013-06-16 09:00:00', '2013-06-16 09:00:00', 0, 503, 10.00)",
            "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1) values (1, 'MON-1', 50.00, 10.50, 21, 1, 7)",
            "insert into DVENTA (ID_MVENTA, REFERENCIA, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1) values (1, 'LEN-1', 50.00, 10.50, 21, 99, 99)",
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

    Dataset d{QStringLiteral("dstPrueba")};
};

TEST_F(DatasetTest, DateCastAgainstMonthFirstLiteral)
{
    open(d, "Select MV.ID_MVENTA, CAST(MV.FECHA AS DATE) FECHA from MVENTA MV Where CAST(MV.FECHA AS DATE) = '06/15/2013' ");
    EXPECT_EQ(d.fieldAsInteger("ID_MVENTA"), 1);
    EXPECT_EQ(d.fieldAsDateTime("FECHA"), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(d.fieldAsText("FECHA"), QStringLiteral("15/06/2013"));
    EXPECT_FALSE(d.next());
    EXPECT_TRUE(d.eof());
    d.close();
    open(d, "Select MV.ID_MVENTA from MVENTA MV Where CAST(MV.FECHA AS DATE) BETWEEN ' 06/14/2013'  AND '06/15/2013' Order By MV.FECHA");
    EXPECT_EQ(d.recordCount(), 2);
    EXPECT_EQ(d.fieldAsInteger("ID_MVENTA"), 2);
}

TEST_F(DatasetTest, FieldsByNameInAnyCaseUnaliasedSumNamedSumAndUnknownFieldNamed)
{
    open(d, "Select MV.N_TALON, MV.LIQUIDO_M1 LIQUIDO_MVENTA, (Select SUM(DV.BI_BASE_M1 + DV.BI_IVA_M1) from DVENTA DV "
            "where DV.ID_MVENTA = 2) from MVENTA MV where MV.ID_MVENTA = 1");
    EXPECT_EQ(d.fieldAsInteger("n_talon"), 501);
    EXPECT_EQ(d.fieldAsText("N_Talon"), QStringLiteral("501"));
    EXPECT_DOUBLE_EQ(d.fieldAsFloat("Liquido_MVenta"), 121.0);
    EXPECT_EQ(d.fieldName(2), QStringLiteral("SUM"));
    EXPECT_DOUBLE_EQ(d.fieldAsFloat("sum"), 0.30);
    try {
        d.fieldAsFloat("NO_EXISTE");
        FAIL() << "an unknown field was read";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains("NO_EXISTE"));
        EXPECT_TRUE(e.statement().contains("MVENTA"));
    }
}

TEST_F(DatasetTest, NullsFromLeftJoinsReadAsEmptyValues)
{
    open(d, "SELECT GR.CODIGO GR_CODIGO, AG.CODIGO AG_CODIGO1, GR.ID_GRUPO, MV2.FECHA_PAGADO "
            "from DVENTA DV LEFT JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO LEFT JOIN AGENTE AG On AG.ID_AGENTE = DV.ID_AGENTE_1 "
            "LEFT JOIN MVENTA MV2 On MV2.ID_MVENTA = DV.ID_AGENTE_1 where DV.REFERENCIA = 'LEN-1'");
    EXPECT_TRUE(d.isNull("GR_CODIGO"));
    EXPECT_EQ(d.fieldAsText("GR_CODIGO"), QString());
    EXPECT_EQ(d.fieldAsText("AG_CODIGO1"), QString());
    EXPECT_EQ(d.fieldAsFloat("ID_GRUPO"), 0.0);
    EXPECT_EQ(d.fieldAsInteger("ID_GRUPO"), 0);
    EXPECT_TRUE(d.fieldAsDateTime("FECHA_PAGADO").isZero());
}

TEST_F(DatasetTest, WalkKeepsLastRowAndFirstNeedsNoNewQuery)
{
    open(d, "Select MV.ID_MVENTA from MVENTA MV Order By MV.ID_MVENTA");
    QList<int> seen;
    for (d.first(); !d.eof(); d.next())
        seen << d.fieldAsInteger("ID_MVENTA");
    EXPECT_EQ(seen, (QList<int>{1, 2, 3}));
    EXPECT_EQ(d.fieldAsInteger("ID_MVENTA"), 3);   // the last row stays current
    EXPECT_TRUE(d.first());
    EXPECT_FALSE(d.eof());
    EXPECT_EQ(d.fieldAsInteger("ID_MVENTA"), 1);
    EXPECT_TRUE(d.setRecNo(2));
    EXPECT_EQ(d.fieldAsInteger("ID_MVENTA"), 3);
    EXPECT_FALSE(d.setRecNo(3));
    EXPECT_EQ(d.executions(), 1);
}

TEST_F(DatasetTest, EmptyResultReadsDefaults)
{
    open(d, "Select DISTINCT(CO.ID_COBRO) ID, CO.IMPORTE_M1 from COBRO CO Order By CO.FECHA, CO.ID_FORMA_PAGO");
    EXPECT_TRUE(d.isEmpty() && d.eof());
    EXPECT_FALSE(d.first());
    EXPECT_EQ(d.fieldAsFloat("ID"), 0.0);
    EXPECT_EQ(d.recNo(), -1);
}

TEST_F(DatasetTest, BadStatementOrFailureOnTheFirstRowIsAnErrorCarryingTheStatement)
{
    for (const char* sql : {"Select NADA from NINGUNA_TABLA", "select 1 / (ID_FORMA_PAGO - ID_FORMA_PAGO) V from FORMA_PAGO"}) {
        try {
            open(d, sql);
            ADD_FAILURE() << sql << " opened";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.statement(), QString::fromLatin1(sql));
            EXPECT_EQ(e.database(), path);
            EXPECT_NE(std::string(e.what()).find(sql), std::string::npos) << e.what();
        }
        EXPECT_FALSE(d.isOpen()) << sql;
    }
}

TEST_F(DatasetTest, PreparedStatementReExecutesWithNewParameters)
{
    d.setParam("ID", 2);
    open(d, "select N_TALON from MVENTA where ID_MVENTA = :ID");
    EXPECT_EQ(d.fieldAsInteger("N_TALON"), 502);
    d.close();
    d.setParam("id", 3);
    d.open();
    EXPECT_EQ(d.fieldAsInteger("N_TALON"), 503);
    EXPECT_EQ(d.executions(), 2);
}

class MasterDetailTest : public DatasetTest {
protected:
    void SetUp() override
    {
        DatasetTest::SetUp();
        open(d, "Select MV.ID_MVENTA, MV.N_TALON from MVENTA MV Order By MV.ID_MVENTA");
        detail.setMaster(&d);
        open(detail, "SELECT DV.REFERENCIA from DVENTA DV where DV.ID_MVENTA = :ID_MVENTA order by DV.ID_DVENTA");
    }

    QStringList detailRows()
    {
        QStringList refs;
        for (detail.first(); !detail.eof(); detail.next())
            refs << detail.fieldAsText("REFERENCIA");
        return refs;
    }

    Dataset detail{QStringLiteral("dstDetalle")};
};

TEST_F(MasterDetailTest, DetailFollowsEachMasterRowAndRunsOnlyWhenRead)
{
    for (d.first(); !d.eof(); d.next()) {}
    EXPECT_EQ(detail.executions(), 0);
    QList<QStringList> perSale;
    for (d.first(); !d.eof(); d.next())
        perSale << detailRows();
    EXPECT_EQ(perSale, (QList<QStringList>{{"MON-1", "LEN-1"}, {"LC-1", "LC-2"}, {}}));
    EXPECT_EQ(detail.executions(), 3);
}

TEST_F(MasterDetailTest, StreamedDetailRunsAgainOnRewindKeptOneDoesNot)
{
    d.next();
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detail.fieldAsText("REFERENCIA"), QString());   // past the end of a stream
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detail.executions(), 2);
    EXPECT_TRUE(detail.setRecNo(1));
    EXPECT_EQ(detail.fieldAsText("REFERENCIA"), QStringLiteral("LC-2"));

    detail.close();
    detail.setKeepRows(true);
    detail.open();
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detailRows(), (QStringList{"LC-1", "LC-2"}));
    EXPECT_EQ(detail.executions(), 1);
    EXPECT_EQ(detail.fieldAsText("REFERENCIA"), QStringLiteral("LC-2"));   // the last kept row stays
}

// The shop's searches through it (patients, payment forms) are checked with the domain classes.
TEST_F(DatasetTest, StoredProcedureInputsAndOutputsByName)
{
    exec({"insert into PACIENTE (ID_PACIENTE, NOMBRE, APELLIDOS, BORRADO) values (40, 'Ana', 'Puig Serra', 1)"});
    StoredProc proc;
    proc.setDatabase(&db);
    proc.setProcName("BUSCAR_PACIENTE");
    proc.setParam("ORG_ID", 40);
    proc.setParam("ORG_CODIGO", -1);
    proc.setParam("ORG_APELLIDOS", QString());
    proc.setParam("ORG_BORRADO", 2);
    proc.execProc();
    EXPECT_EQ(proc.inputNames(), (QStringList{"ORG_ID", "ORG_CODIGO", "ORG_APELLIDOS", "ORG_BORRADO"}));
    EXPECT_EQ(proc.fieldAsInteger("RES_RESULTADO"), 1);
    EXPECT_EQ(proc.fieldAsText("RES_NOMBRE_COMPLETO"), QStringLiteral("Puig Serra, Ana"));
    EXPECT_EQ(proc.fieldAsInteger("res_borrado"), 1);
    EXPECT_THROW(proc.fieldAsText("RES_NO_EXISTE"), DatabaseError);
    proc.setProcName("NO_EXISTE");
    EXPECT_THROW(proc.execProc(), DatabaseError);
}

TEST_F(DatasetTest, RolledBackTransactionLeavesNoRows)
{
    for (bool explicitRollback : {true, false}) {
        Transaction t(db);
        t.start();
        db.execute("insert into CAJA (ID_TIENDA, TIPO, IMPORTE_M1) values (1, 5, 150)");
        if (explicitRollback)
            t.rollback();   // else destroyed while active: rolled back
    }
    EXPECT_EQ(test::queryNumber(db, "select count(*) from CAJA"), 0);
}

} // namespace
