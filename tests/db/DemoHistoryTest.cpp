// The demo history is what every manual check and benchmark runs on: it must be deterministic
// and its money must add up the way the shop's own data does.
#include "demodb/DemoHistory.h"
#include "platform/db/DatabaseError.h"
#include "support/FirebirdFixture.h"
#include "support/TestTools.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class DemoHistoryTest : public test::FirebirdFixture {
protected:
    static double number(Database& database, const QString& sql) { return test::queryNumber(database, sql); }
    double number(const QString& sql) { return number(db, sql); }

    void fill(const DemoOptions& options) { DemoHistory(options).fill(db); }
    static DemoOptions options(int tiendas, int dias)
    {
        DemoOptions o;
        o.tiendas = tiendas;
        o.dias = dias;
        return o;
    }
};

TEST_F(DemoHistoryTest, SameSeedSameHistoryOtherSeedOtherHistory)
{
    DemoOptions twelveDays = options(2, 12);
    fill(twelveDays);
    Database again, other;
    again.open(freshCopy(QStringLiteral("again")));
    DemoHistory(twelveDays).fill(again);
    other.open(freshCopy(QStringLiteral("other")));
    twelveDays.semilla = 99;
    DemoHistory(twelveDays).fill(other);

    const QString fingerprint = QStringLiteral(
        "select sum(CO.IMPORTE_M1 * CO.ID_COBRO) + count(*) from COBRO CO");
    EXPECT_EQ(number(fingerprint), number(again, fingerprint));
    EXPECT_NE(number(fingerprint), number(other, fingerprint));
}

// One history of three stores over forty days: its money adds up and it holds every kind of row.
TEST_F(DemoHistoryTest, MoneyAddsUpAndEveryKindOfRowTheListingsDistinguishIsThere)
{
    fill(options(3, 40));

    // Each line splits its amount exactly into base and VAT.
    EXPECT_EQ(number("select count(*) from DVENTA where BI_BASE_M1 + BI_IVA_M1 <> LIQUIDO_M1"), 0);
    // The lines make up the sale.
    EXPECT_EQ(number("select count(*) from MVENTA MV where MV.LIQUIDO_M1 <> "
                     "(select sum(DV.LIQUIDO_M1) from DVENTA DV where DV.ID_MVENTA = MV.ID_MVENTA)"), 0);
    // A finished sale is paid in full, an open order only partly, nothing is overpaid.
    EXPECT_EQ(number("select count(*) from MVENTA MV where CAST(MV.FECHA_PAGADO AS DATE) <> '05/30/2079' and MV.LIQUIDO_M1 <> "
                     "(select sum(CO.IMPORTE_M1) from COBRO CO where CO.ID_MVENTA = MV.ID_MVENTA)"), 0);
    EXPECT_EQ(number("select count(*) from MVENTA MV where MV.LIQUIDO_M1 < "
                     "(select coalesce(sum(CO.IMPORTE_M1), 0) from COBRO CO where CO.ID_MVENTA = MV.ID_MVENTA)"), 0);
    // Orders paid on the day they are finished, after down payments on earlier days.
    EXPECT_GT(number("select count(*) from MVENTA MV where MV.TIPO_OPERACION = 1 and CAST(MV.FECHA_PAGADO AS DATE) <> '05/30/2079' "
                     "and exists (select 1 from COBRO CO where CO.ID_MVENTA = MV.ID_MVENTA "
                     "and CAST(CO.FECHA AS DATE) < CAST(MV.FECHA_PAGADO AS DATE))"), 0);
    EXPECT_GT(number("select count(*) from MVENTA where CAST(FECHA_PAGADO AS DATE) = '05/30/2079'"), 0);

    for (int tipo = 0; tipo <= 3; ++tipo)
        EXPECT_GT(number(QStringLiteral("select count(*) from MVENTA where TIPO_OPERACION = %1").arg(tipo)), 0) << tipo;
    for (int tipo = 1; tipo <= 5; ++tipo)
        EXPECT_GT(number(QStringLiteral("select count(*) from CAJA where TIPO = %1").arg(tipo)), 0) << tipo;
    for (int pago = 0; pago <= 3; ++pago)
        EXPECT_GT(number(QStringLiteral("select count(*) from COBRO CO join FORMA_PAGO FP on FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO "
                                        "where FP.TIPO_PAGO = %1").arg(pago)), 0) << pago;
    EXPECT_GE(number("select count(distinct CO.ID_FORMA_PAGO) from COBRO CO join FORMA_PAGO FP on "
                     "FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO where FP.TIPO_PAGO = 2"), 3);
    // One opening float per store and opening day; Sundays are closed.
    EXPECT_EQ(number("select count(*) from CAJA where TIPO = 5"), 3 * number(
        "select count(distinct CAST(FECHA AS DATE)) from CAJA where TIPO = 5"));
    EXPECT_EQ(number("select count(*) from MVENTA where extract(weekday from FECHA) = 0"), 0);
    // A direct sale collected twice on its day, deleted patients, discounts, agents left out.
    EXPECT_GT(number("select count(*) from MVENTA MV where MV.TIPO_OPERACION = 0 and "
                     "(select count(*) from COBRO CO where CO.ID_MVENTA = MV.ID_MVENTA) = 2"), 0);
    EXPECT_GT(number("select count(*) from PACIENTE where BORRADO <> 0"), 0);
    EXPECT_GT(number("select count(*) from DVENTA where PORCENTAJE_DESCUENTO > 0"), 0);
    EXPECT_GT(number("select count(*) from MVENTA where PORCENTAJE_DESCUENTO > 0"), 0);
    EXPECT_GT(number("select count(*) from DVENTA where ID_AGENTE_1 = 0 and ID_AGENTE_2 <> 0"), 0);
    // Simplified-invoice numbers are unique per series.
    EXPECT_EQ(number("select count(*) from (select FS_SERIE, FS_COBRO from MVENTA where FS_COBRO > 0 "
                     "group by FS_SERIE, FS_COBRO having count(*) > 1)"), 0);
}

TEST_F(DemoHistoryTest, HistoryBeforeJuly2010CrossesBothRateChanges)
{
    DemoOptions since2010 = options(1, 820);   // to mid September 2012
    since2010.desde = QDate(2010, 6, 20);
    fill(since2010);
    EXPECT_EQ(test::queryRows(db, "select distinct DV.IVA from DVENTA DV order by 1"),
              (QList<QStringList>{{"7"}, {"8"}, {"10"}, {"16"}, {"18"}, {"21"}}));
    EXPECT_EQ(number("select count(*) from DVENTA DV join MVENTA MV on MV.ID_MVENTA = DV.ID_MVENTA "
                     "where DV.IVA = 18 and CAST(MV.FECHA AS DATE) < '07/01/2010'"), 0);
    EXPECT_EQ(number("select count(*) from DVENTA DV join MVENTA MV on MV.ID_MVENTA = DV.ID_MVENTA "
                     "where DV.IVA = 18 and CAST(MV.FECHA AS DATE) >= '09/01/2012'"), 0);
}

TEST_F(DemoHistoryTest, NewRowsAfterTheHistoryGetFreshKeys)
{
    fill(options(3, 3));
    EXPECT_NO_THROW(db.execute(QStringLiteral("insert into MVENTA (TIPO_OPERACION) values (0)")));
    EXPECT_NO_THROW(db.execute(QStringLiteral("insert into COBRO (ID_MVENTA) values (1)")));
    EXPECT_NO_THROW(db.execute(QStringLiteral("insert into CAJA (TIPO) values (1)")));
}

TEST_F(DemoHistoryTest, BadOptionsAreRefusedBeforeWriting)
{
    EXPECT_THROW(fill(options(0, 60)), DatabaseError);
    EXPECT_THROW(fill(options(1, 0)), DatabaseError);
    EXPECT_EQ(number("select count(*) from MVENTA"), 0);
}

} // namespace
