// The two summary layouts of the journal: one line per rate, and one line per day and rate with
// the period's table of rates.
#include "DiarioFixture.h"

#include "hostapi/Condiciones.h"
#include "platform/format/PrintQString.h"
#include "vatjournal/frmReportDiarioResumido.h"
#include "vatjournal/frmReportDiarioResumidoLineas.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

constexpr qint16 kOpIgual = 0, kOpDistinto = 1, kOpEntre = 4;

class ReportDiarioResumidoTest : public test::DiarioFixture {
protected:
    ReportDocument resumido(qint16 tipoCalculo)
    {
        TfrmReportDiarioResumido form(&owner);
        form.SetTextoFechas(QStringLiteral(" Entre 01/01/2013 y 31/01/2013"));
        form.SetTextoFechaPie(QStringLiteral("31/01/2013"));
        return documento(form, tipoCalculo);
    }
    ReportDocument porDias(qint16 tipoCalculo, qint16 operador = kOpEntre)
    {
        TfrmReportDiarioResumidoLineas form(&owner);
        form.SetTextoFechaInicio(QStringLiteral("01/01/2013"));
        form.SetTextoFechaFin(QStringLiteral("31/01/2013"));
        form.SetOperador(operador);
        return documento(form, tipoCalculo);
    }
};

TEST_F(ReportDiarioResumidoTest, CashBasisOneLinePerRateWithDownPaymentInsideItsRate)
{
    venta(1, "2013-01-15", 0, 7);
    linea(1, "R1", "Montura", 100, 21, 21);
    linea(1, "R2", "Liquido", 50, 5, 10);
    venta(2, "2013-01-20", 0, 8);
    // A rate that adds up to nothing but float dust has nothing to declare.
    linea(2, "R3", "Lente", 2.09, 0.08, 4);
    linea(2, "R4", "Lente", 0.01, 0, 4);
    linea(2, "R5", "Abono lente", -2.10, -0.08, 4);
    venta(3, "2013-02-20", 1, 9);
    cobro(3, "2013-01-10", 121, 1, 40);   // down payment of an order closed in February
    ASSERT_EQ(construirCaja({}, TdmDiarioIva::ListadoResumido), 0);

    const ReportDocument doc = resumido(2);
    EXPECT_EQ(textos(doc, "bndDetalle"), QStringList({"50,00 €|10,00 % IVA|5,00 €", "200,00 €|21,00 % IVA|42,00 €"}));
    const QStringList pagina = doc.pageTexts(0);
    EXPECT_TRUE(pagina.contains("Diario de I.V.A  Entre 01/01/2013 y 31/01/2013"));
    EXPECT_TRUE(pagina.contains("[Todas las Tiendas Seleccionadas]"));
    EXPECT_TRUE(pagina.contains("31/01/2013"));
}

// Collection-date basis: 15/01 sells at 10 % and 21 %; on 16/01 a 4 % line is returned in full.
TEST_F(ReportDiarioResumidoTest, ByDaysOneLinePerDayAndRateAndZeroRatesOutOfTheTable)
{
    venta(1, "2013-01-15", 0, 7);
    linea(1, "R1", "Montura", 100, 21, 21);
    linea(1, "R2", "Liquido", 50, 5, 10);
    linea(1, "R3", "Cristal", 20, 4.2, 21);
    venta(2, "2013-01-16", 1, 8);
    linea(2, "R4", "Lente", 10, 0.4, 4);
    linea(2, "R5", "Abono lente", -10, -0.4, 4);
    linea(2, "R6", "Funda", 30, 6.3, 21);
    abrirMVenta(3);

    const ReportDocument doc = porDias(0);
    EXPECT_EQ(textos(doc, "bndPieGrupoTipoIva", true), QStringList({
        "15/01/2013|50,00 €|10,00 % IVA|5,00 €",
        "120,00 €|21,00 % IVA|25,20 €",
        "16/01/2013|0,00 €|4,00 % IVA|0,00 €",
        "30,00 €|21,00 % IVA|6,30 €",
    }));
    EXPECT_EQ(textos(doc, "bndSumario", true), QStringList({
        "200,00 €|36,50 €|B. Imponible|% I.V.A|I.V.A|50,00 €|10,00 % IVA|5,00 €|150,00 €|21,00 % IVA|31,50 €",
    }));
}

TEST_F(ReportDiarioResumidoTest, ByDaysTitleAndFooterFollowTheDateOperator)
{
    venta(1, "2013-01-15", 0, 7);
    linea(1, "R1", "Montura", 100, 21, 21);
    abrirMVenta(3);

    struct Caso {
        const char* nombre;
        qint16 operador;
        QString titulo, pie;
    };
    const Caso casos[] = {
        {"between_shows_both_dates_and_the_end_date", kOpEntre, "Diario de I.V.A entre 01/01/2013 y 31/01/2013", "1|31/01/2013"},
        {"different_leaves_the_footer_empty", kOpDistinto, "Diario de I.V.A distinto 01/01/2013", "1"},
        {"equal_shows_the_start_date", kOpIgual, "Diario de I.V.A igual 01/01/2013", "1|01/01/2013"},
        {"all_dates_names_no_date", TCondiciones::Todos, "Diario de I.V.A", "1"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const ReportDocument doc = porDias(0, c.operador);
        EXPECT_TRUE(doc.pageTexts(0).contains(c.titulo)) << doc.pageTexts(0).join('|').toStdString();
        EXPECT_EQ(textos(doc, "bndPiePagina", true), QStringList({c.pie}));
    }
}

} // namespace
