#include "common/CalculoIva.h"
#include "platform/format/DateTime.h"
#include "platform/memtable/MemTable.h"

#include <gtest/gtest.h>

#include <QDate>
#include <cmath>
#include <tuple>

using namespace lumetra;

namespace {

DateTime dia(int d, int m, int a)
{
    return DateTime::fromDate(QDate(a, m, d));
}

// Amounts compare in cents: the split rounds each figure to two decimals.
long long centimos(double importe)
{
    return std::llround(importe * 100);
}

// Each default rate the table changes on the days its changes fall, the rates it leaves alone,
// the rounding difference going to the VAT, a refund and an amount in thousands. Each row: the
// shop's default rate, the date, the amount, the rate in force, base and VAT.
const std::tuple<const char*, double, DateTime, double, double, double, double> kCasos[] = {
    {"21 before July 2010 is 16", 21, dia(30, 6, 2010), 100, 16, 86.21, 13.79},
    {"21 from July 2010 is 18 (VAT takes the cent)", 21, dia(1, 7, 2010), 100, 18, 84.75, 15.25},
    {"21 in August 2012 is still 18", 21, dia(31, 8, 2012), 100, 18, 84.75, 15.25},
    {"21 from September 2012 (VAT takes the cent)", 21, dia(1, 9, 2012), 100, 21, 82.64, 17.36},
    {"18 before July 2010 is 16", 18, dia(30, 6, 2010), 100, 16, 86.21, 13.79},
    {"18 from September 2012 stays 18", 18, dia(1, 9, 2012), 100, 18, 84.75, 15.25},
    {"10 before July 2010 is 7", 10, dia(30, 6, 2010), 100, 7, 93.46, 6.54},
    {"10 in August 2012 is still 8", 10, dia(31, 8, 2012), 100, 8, 92.59, 7.41},
    {"10 from September 2012", 10, dia(1, 9, 2012), 100, 10, 90.91, 9.09},
    {"8 before July 2010 is 7", 8, dia(30, 6, 2010), 100, 7, 93.46, 6.54},
    {"8 from September 2012 stays 8", 8, dia(1, 9, 2012), 100, 8, 92.59, 7.41},
    {"16 is 16 from July 2010", 16, dia(1, 7, 2010), 100, 16, 86.21, 13.79},
    {"7 is 7 before July 2010", 7, dia(30, 6, 2010), 100, 7, 93.46, 6.54},
    {"a rate outside the table", 5.5, dia(1, 7, 2010), 100, 5.5, 94.79, 5.21},
    {"the time of day does not move the change", 21, DateTime(TCalculoIva::CambioIva2012 - 0.0001), 100, 18, 84.75, 15.25},
    {"refund: negative base and VAT", 21, dia(3, 6, 2013), -100, 21, -82.64, -17.36},
    {"thousands", 21, dia(3, 6, 2013), 1234.56, 21, 1020.30, 214.26},
};

TEST(CalculoIvaTest, RateInForceAndSplitByTable)
{
    for (const auto& [nombre, defecto, fecha, importe, porcentaje, base, iva] : kCasos) {
        SCOPED_TRACE(nombre);
        const TCalculoIva calculo(defecto);
        EXPECT_EQ(calculo.PorcentajeFecha(fecha), porcentaje);
        const TDesgloseIva d = calculo.DesglosarFecha(importe, fecha);
        EXPECT_EQ(d.Porcentaje, porcentaje);
        EXPECT_EQ(centimos(d.Base), centimos(base));
        EXPECT_EQ(centimos(d.Iva), centimos(iva));
        EXPECT_EQ(d.Iva, TCalculoIva::Redondear(d.Iva)) << "the VAT carries float noise";
    }
    const TCalculoIva fijo = TCalculoIva::Fijo(TCalculoIva::PorcentajeSinConfiguracion);
    for (const DateTime& f : {dia(1, 1, 2005), dia(1, 9, 2012), DateTime::zero()})
        EXPECT_EQ(fijo.PorcentajeFecha(f), 8) << "a fixed rate ignores the date";
}

TEST(CalculoIvaTest, EverySplitAddsUpToTheAmountWithinACentOfTheRate)
{
    // Every amount from -50,00 to 150,00 at every rate the listings meet.
    for (const double p : {0.0, 4.0, 5.5, 7.0, 8.0, 10.0, 16.0, 18.0, 21.0}) {
        for (int c = -5000; c <= 15000; ++c) {
            const double importe = c / 100.0;
            const TDesgloseIva d = TCalculoIva::Desglosar(importe, p);
            ASSERT_EQ(centimos(d.Base) + centimos(d.Iva), c) << importe << " at " << p;
            ASSERT_LE(std::abs(d.Iva - d.Base * p / 100), 0.0100001) << importe << " at " << p;
            ASSERT_LE(std::abs(d.Base - importe * 100 / (100 + p)), 0.0050001) << importe << " at " << p;
        }
    }
}

// One row per rate in rate order; 18 and 18,0000001 are two rates; a refund takes its amounts
// back from its rate's row.
TEST(CalculoIvaTest, TableAccumulatesOneRowPerExactRateInRateOrder)
{
    MemTable tabla{QStringLiteral("memIvas")};
    TCalculoIva::DefinirTabla(tabla);
    TCalculoIva::Acumular(tabla, {10, 21, 2.1});
    TCalculoIva::Acumular(tabla, {5, 4, 0.2});
    TCalculoIva::Acumular(tabla, {20, 21, 4.2});
    TCalculoIva::Acumular(tabla, {84.75, 18, 15.25});
    TCalculoIva::Acumular(tabla, {1, 18.0000001, 0.18});
    TCalculoIva::Acumular(tabla, TCalculoIva::Desglosar(-100, 18));
    QList<TDesgloseIva> r;
    for (tabla.first(); !tabla.eof(); tabla.next())
        r << TCalculoIva::Fila(tabla);
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(r[0], (TDesgloseIva{5, 4, 0.2}));
    EXPECT_EQ(r[1].Porcentaje, 18);
    EXPECT_EQ(centimos(r[1].Base), 0);
    EXPECT_EQ(centimos(r[1].Iva), 0);
    EXPECT_EQ(r[2].Porcentaje, 18.0000001);
    EXPECT_EQ(r[3].Porcentaje, 21);
    EXPECT_EQ(centimos(r[3].Base), 3000);
    EXPECT_EQ(centimos(r[3].Iva), 630);
}

} // namespace
