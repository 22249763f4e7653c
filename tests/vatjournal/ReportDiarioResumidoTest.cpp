#include "DiarioFixture.h"

#include "platform/format/PrintQString.h"
#include "vatjournal/frmReportDiarioResumido.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class ReportDiarioResumidoTest : public test::DiarioFixture {
protected:
    ReportDocument imprimir(qint16 tipoCalculo, const QString& textoFechas, const QString& textoFechaPie)
    {
        TfrmReportDiarioResumido form(&owner);
        form.SetDmDiarioIva(dm);
        form.SetTipoCalculo(tipoCalculo);
        form.SetFiltro(QStringLiteral("[Todas las Tiendas Seleccionadas]"));
        form.SetTextoFechas(textoFechas);
        form.SetTextoFechaPie(textoFechaPie);
        EXPECT_EQ(form.Inicializar(session->params()), 0);
        ReportDocument doc = form.Documento();
        EXPECT_FALSE(doc.failed()) << doc.error.toStdString();
        EXPECT_TRUE(ui.dialogs.isEmpty()) << ui.dialogs.join('\n').toStdString();
        return doc;
    }
    static QList<QStringList> lineas(const ReportDocument& doc)
    {
        QList<QStringList> filas;
        for (const PrintedBand& b : bands(doc, "bndDetalle"))
            filas << b.texts;
        return filas;
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

    const ReportDocument doc = imprimir(2, " Entre 01/01/2013 y 31/01/2013", "31/01/2013");
    EXPECT_EQ(lineas(doc), QList<QStringList>({
        {"50,00 €", "10,00 % IVA", "5,00 €"},
        {"200,00 €", "21,00 % IVA", "42,00 €"},
    }));
    const QStringList pagina = doc.pageTexts(0);
    EXPECT_TRUE(pagina.contains("Diario de I.V.A  Entre 01/01/2013 y 31/01/2013"));
    EXPECT_TRUE(pagina.contains("[Todas las Tiendas Seleccionadas]"));
    EXPECT_TRUE(pagina.contains("31/01/2013"));
    // memIvas stays filled after the print, the rate without a base included.
    EXPECT_EQ(dm->memIvas.recordCount(), 3);
}

TEST_F(ReportDiarioResumidoTest, CollectionBasisPrintsTheGroupedQueryAndOnlyTheDateTextsGiven)
{
    venta(1, "2013-01-15", 0, 7);
    linea(1, "R1", "Montura", 100, 21, 21);
    linea(1, "R2", "Cristal", 20, 4.2, 21);
    venta(2, "2013-01-16", 1, 8);
    linea(2, "R3", "Liquido", 50, 5, 10);
    abrirMVenta(0);

    struct Caso {
        const char* nombre;
        QString fechas, pie, titulo;
    };
    const Caso casos[] = {
        {"between", " Entre 01/01/2013 y 31/01/2013", "31/01/2013", "Diario de I.V.A  Entre 01/01/2013 y 31/01/2013"},
        {"all_dates_no_leftover", "", "", "Diario de I.V.A "},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const ReportDocument doc = imprimir(0, c.fechas, c.pie);
        EXPECT_EQ(lineas(doc), QList<QStringList>({{"50,00 €", "10,00 % IVA", "5,00 €"}, {"120,00 €", "21,00 % IVA", "25,20 €"}}));
        EXPECT_TRUE(doc.pageTexts(0).contains(c.titulo));
        const QList<PrintedBand> pie = bands(doc, "bndPiePagina");
        ASSERT_EQ(pie.size(), 1);
        EXPECT_EQ(pie.first().texts.contains("31/01/2013"), !c.pie.isEmpty()) << pie.first().texts.join('|').toStdString();
    }
}

} // namespace
