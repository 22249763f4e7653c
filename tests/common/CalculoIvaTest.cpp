#include "common/CalculoIva.h"
#include "platform/format/DateTime.h"
#include "platform/format/FormatFloat.h"
#include "platform/memtable/MemTable.h"

#include <gtest/gtest.h>

#include <QDate>
#include <cmath>

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

struct Caso {
    const char* nombre;
    double defecto;     // the shop's default rate
    DateTime fecha;
    double importe;
    double porcentaje;  // the rate in force
    double base;
    double iva;
};

// Each default rate on both sides of both rate changes, the rounding difference going to the
// VAT, negative amounts (refunds), cents and zero.
const Caso kCasos[] = {
    {"21 before July 2010 is 16", 21, dia(30, 6, 2010), 100, 16, 86.21, 13.79},
    {"21 from July 2010 is 18 (VAT takes the cent)", 21, dia(1, 7, 2010), 100, 18, 84.75, 15.25},
    {"21 in August 2012 is still 18", 21, dia(31, 8, 2012), 100, 18, 84.75, 15.25},
    {"21 from September 2012 (VAT takes the cent)", 21, dia(1, 9, 2012), 100, 21, 82.64, 17.36},
    {"18 before July 2010 is 16", 18, dia(30, 6, 2010), 100, 16, 86.21, 13.79},
    {"18 from July 2010", 18, dia(1, 7, 2010), 100, 18, 84.75, 15.25},
    {"18 in August 2012", 18, dia(31, 8, 2012), 100, 18, 84.75, 15.25},
    {"18 from September 2012 stays 18", 18, dia(1, 9, 2012), 100, 18, 84.75, 15.25},
    {"10 before July 2010 is 7", 10, dia(30, 6, 2010), 100, 7, 93.46, 6.54},
    {"10 from July 2010 is 8", 10, dia(1, 7, 2010), 100, 8, 92.59, 7.41},
    {"10 in August 2012 is still 8", 10, dia(31, 8, 2012), 100, 8, 92.59, 7.41},
    {"10 from September 2012", 10, dia(1, 9, 2012), 100, 10, 90.91, 9.09},
    {"8 before July 2010 is 7", 8, dia(30, 6, 2010), 100, 7, 93.46, 6.54},
    {"8 from July 2010", 8, dia(1, 7, 2010), 100, 8, 92.59, 7.41},
    {"8 in August 2012", 8, dia(31, 8, 2012), 100, 8, 92.59, 7.41},
    {"8 from September 2012 stays 8", 8, dia(1, 9, 2012), 100, 8, 92.59, 7.41},
    {"16 before July 2010", 16, dia(30, 6, 2010), 100, 16, 86.21, 13.79},
    {"16 is 16 from July 2010", 16, dia(1, 7, 2010), 100, 16, 86.21, 13.79},
    {"16 is 16 in August 2012", 16, dia(31, 8, 2012), 100, 16, 86.21, 13.79},
    {"16 is 16 from September 2012", 16, dia(1, 9, 2012), 100, 16, 86.21, 13.79},
    {"7 before July 2010", 7, dia(30, 6, 2010), 100, 7, 93.46, 6.54},
    {"7 is 7 from July 2010", 7, dia(1, 7, 2010), 100, 7, 93.46, 6.54},
    {"7 is 7 in August 2012", 7, dia(31, 8, 2012), 100, 7, 93.46, 6.54},
    {"7 is 7 from September 2012", 7, dia(1, 9, 2012), 100, 7, 93.46, 6.54},
    {"a rate outside the table before July 2010", 5.5, dia(30, 6, 2010), 100, 5.5, 94.79, 5.21},
    {"a rate outside the table from July 2010", 5.5, dia(1, 7, 2010), 100, 5.5, 94.79, 5.21},
    {"a rate outside the table in August 2012", 5.5, dia(31, 8, 2012), 100, 5.5, 94.79, 5.21},
    {"a rate outside the table from September 2012", 5.5, dia(1, 9, 2012), 100, 5.5, 94.79, 5.21},
    {"the time of day does not move the change", 21, DateTime(TCalculoIva::CambioIva2012 - 0.0001), 100, 18, 84.75, 15.25},
    {"refund: negative base and VAT", 21, dia(3, 6, 2013), -100, 21, -82.64, -17.36},
    {"refund at 18 with the cent to the VAT", 21, dia(3, 6, 2011), -59.95, 18, -50.81, -9.14},
    {"59,95 at 21: VAT takes the cent", 21, dia(3, 6, 2013), 59.95, 21, 49.55, 10.40},
    {"99,99 at 18 adds up without help", 21, dia(3, 6, 2011), 99.99, 18, 84.74, 15.25},
    {"three cents: VAT takes the cent", 21, dia(3, 6, 2013), 0.03, 21, 0.02, 0.01},
    {"one cent is all base", 21, dia(3, 6, 2013), 0.01, 21, 0.01, 0},
    {"zero", 21, dia(3, 6, 2013), 0, 21, 0, 0},
    {"thousands", 21, dia(3, 6, 2013), 1234.56, 21, 1020.30, 214.26},
};

TEST(CalculoIvaTest, RateInForceAndSplitByTable)
{
    for (const Caso& c : kCasos) {
        SCOPED_TRACE(c.nombre);
        const TCalculoIva calculo(c.defecto);
        EXPECT_EQ(calculo.PorcentajeFecha(c.fecha), c.porcentaje);
        const TDesgloseIva d = calculo.DesglosarFecha(c.importe, c.fecha);
        EXPECT_EQ(d.Porcentaje, c.porcentaje);
        EXPECT_EQ(centimos(d.Base), centimos(c.base));
        EXPECT_EQ(centimos(d.Iva), centimos(c.iva));
        EXPECT_EQ(d.Iva, TCalculoIva::Redondear(d.Iva)) << "the VAT carries float noise";
    }
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

TEST(CalculoIvaTest, FixedRateIgnoresTheDate)
{
    const TCalculoIva fijo = TCalculoIva::Fijo(TCalculoIva::PorcentajeSinConfiguracion);
    for (const DateTime& f : {dia(1, 1, 2005), dia(1, 7, 2010), dia(1, 9, 2012), DateTime::zero()})
        EXPECT_EQ(fijo.PorcentajeFecha(f), 8);
}

TEST(CalculoIvaTest, RoundingIsHalfAwayFromZeroOnTheDecimalForm)
{
    EXPECT_EQ(TCalculoIva::Redondear(2.675), 2.68);
    EXPECT_EQ(TCalculoIva::Redondear(1.005), 1.01);
    EXPECT_EQ(TCalculoIva::Redondear(-1.005), -1.01);
    EXPECT_EQ(TCalculoIva::Redondear(0.1 + 0.2), 0.3);
}

class TablaIvasTest : public ::testing::Test {
protected:
    void SetUp() override { TCalculoIva::DefinirTabla(tabla); }

    QList<TDesgloseIva> filas()
    {
        QList<TDesgloseIva> r;
        for (tabla.first(); !tabla.eof(); tabla.next())
            r << TCalculoIva::Fila(tabla);
        return r;
    }

    MemTable tabla{QStringLiteral("memIvas")};
};

TEST_F(TablaIvasTest, AccumulatesOneRowPerRateInRateOrder)
{
    TCalculoIva::Acumular(tabla, {10, 21, 2.1});
    TCalculoIva::Acumular(tabla, {5, 4, 0.2});
    TCalculoIva::Acumular(tabla, {20, 21, 4.2});
    TCalculoIva::Acumular(tabla, {100, 10, 10});
    const QList<TDesgloseIva> r = filas();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[0], (TDesgloseIva{5, 4, 0.2}));
    EXPECT_EQ(r[1], (TDesgloseIva{100, 10, 10}));
    EXPECT_EQ(r[2].Porcentaje, 21);
    EXPECT_EQ(centimos(r[2].Base), 3000);
    EXPECT_EQ(centimos(r[2].Iva), 630);
}

TEST_F(TablaIvasTest, RatesMatchExactlyAndRefundsSubtract)
{
    // 18 and 18,0000001 are two rates; a refund takes its amounts back from its rate's row.
    TCalculoIva::Acumular(tabla, {84.75, 18, 15.25});
    TCalculoIva::Acumular(tabla, {1, 18.0000001, 0.18});
    TCalculoIva::Acumular(tabla, TCalculoIva::Desglosar(-100, 18));
    const QList<TDesgloseIva> r = filas();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(centimos(r[0].Base), 0);
    EXPECT_EQ(centimos(r[0].Iva), 0);
    EXPECT_EQ(r[1].Porcentaje, 18.0000001);
}

TEST_F(TablaIvasTest, TotalsDoNotDependOnTheOrderOfTheAmounts)
{
    // The same collections added in two orders give the same table, and its totals are the
    // money split.
    const double importes[] = {59.95, 100, 0.03, -20, 12.34, 7.07, 250};
    double total = 0;
    for (const double i : importes) {
        TCalculoIva::Acumular(tabla, TCalculoIva::Desglosar(i, i > 50 ? 21 : 10));
        total += i;
    }
    const QList<TDesgloseIva> adelante = filas();
    tabla.close();
    tabla.open();
    for (int k = int(std::size(importes)) - 1; k >= 0; --k)
        TCalculoIva::Acumular(tabla, TCalculoIva::Desglosar(importes[k], importes[k] > 50 ? 21 : 10));
    const QList<TDesgloseIva> atras = filas();
    ASSERT_EQ(adelante.size(), 2);
    ASSERT_EQ(atras.size(), 2);
    double suma = 0;
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(centimos(adelante[k].Base), centimos(atras[k].Base));
        EXPECT_EQ(centimos(adelante[k].Iva), centimos(atras[k].Iva));
        suma += adelante[k].Importe();
    }
    EXPECT_EQ(centimos(suma), centimos(total));
}

} // namespace
