#include "DiarioFixture.h"

#include "platform/format/PrintQString.h"
#include "platform/report/PrintedText.h"
#include "platform/report/ReportBand.h"
#include "platform/report/ReportExporter.h"
#include "vatjournal/frmDiarioDetallado.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

// An order closed on 15/01/2013 with a down payment on 10/01: its lines at 21 %, at 10 % (a row
// whose reference is one space) and two at 4 % that cancel out.
class DiarioDetalladoTest : public test::DiarioFixture {
protected:
    void SetUp() override
    {
        DiarioFixture::SetUp();
        venta(1, "2013-01-15", 1, 7, 1, 30);
        linea(1, "R1", "Montura", 100, 21, 21);
        linea(1, " ", "Oculto", 10, 1, 10);
        linea(1, "R3", "Lente", 10, 0.4, 4);
        linea(1, "R4", "Abono", -10, -0.4, 4);
        cobro(1, "2013-01-10", 21, 1, 500);
        cobro(1, "2013-01-15", 111, 1, 501);
    }
    ReportDocument imprimir(qint16 tipoListado)
    {
        TfrmDiarioDetallado form(&owner);
        form.SetTipoListado(tipoListado);
        form.SetSustituirFamilia(false);
        return documento(form, 2);
    }
};

TEST_F(DiarioDetalladoTest, DetalladoPrintsLinesDayTotalsAndRatesWithABase)
{
    ASSERT_EQ(construirCaja({}, TdmDiarioIva::ListadoDetallado), 0);
    const ReportDocument doc = imprimir(1);
    ASSERT_EQ(doc.pageCount(), 2) << doc.dump().toStdString();

    // Adjustment and collection rows print no invoice number and no reference.
    const QStringList lineas = textos(doc, "bndDetalle");
    EXPECT_EQ(lineas, QStringList({
        "|7||Entrega a Cuenta Nº Talón 7|17,36 €|21,00 %|3,64 €",
        "A/30|7|R1|Montura|100,00 €|21,00 %|21,00 €",
        "A/30|7|R3|Lente|10,00 €|4,00 %|0,40 €",
        "A/30|7|R4|Abono|-10,00 €|4,00 %|-0,40 €",
        "|7||Entrega a Cuenta y ajustes Nº Talón 7|-17,36 €|21,00 %|-3,64 €",
    }));
    // The hidden row counts in the totals and the table; the 4 % rate sums to 0 and is left out.
    EXPECT_EQ(textos(doc, "bndPieGrupo", true), QStringList({
        "Totales.......|17,36 €|3,64 €|17,36 €|21,00 % IVA|3,64 €",
        "Totales.......|92,64 €|18,36 €|10,00 €|10,00 % IVA|1,00 €|82,64 €|21,00 % IVA|17,36 €",
    }));
}

TEST_F(DiarioDetalladoTest, EveryRateWithABaseInCentsPrintsHoweverManyVatTypes)
{
    // Seven rates on one day (the shop defines four VAT types), and one more adding up to nothing
    // but float dust: 2,09 + 0,01 - 2,10.
    venta(2, "2013-01-20", 0, 8, 1, 31);
    linea(2, "A", "Veintiuno", 100, 21, 21);
    linea(2, "B", "Dieciocho", 100, 18, 18);
    linea(2, "C", "Dieciseis", 100, 16, 16);
    linea(2, "D", "Ocho", 100, 8, 8);
    linea(2, "E", "Siete", 100, 7, 7);
    linea(2, "F", "Cuatro", 100, 4, 4);
    linea(2, "J", "Exento", 50, 0, 0);   // a base without VAT prints
    linea(2, "G", "Polvo", 2.09, 0.21, 10);
    linea(2, "H", "Polvo", 0.01, 0, 10);
    linea(2, "I", "Polvo", -2.10, -0.21, 10);
    ASSERT_EQ(construirCaja({}, TdmDiarioIva::ListadoDiasPorHoja), 0);
    const ReportDocument doc = imprimir(2);
    const QStringList pies = textos(doc, "bndPieGrupo", true);
    ASSERT_EQ(pies.size(), 3);
    EXPECT_EQ(pies[2], "B. Imponible|% I.V.A|I.V.A|50,00 €|0,00 % IVA|0,00 €|100,00 €|4,00 % IVA|4,00 €|100,00 €|7,00 % IVA|7,00 €|100,00 €|8,00 % IVA|8,00 €|"
                       "100,00 €|16,00 % IVA|16,00 €|100,00 €|18,00 % IVA|18,00 €|100,00 €|21,00 % IVA|21,00 €");
    // The footer grew to hold the seven rows.
    for (const PrintedBand& b : bands(doc, "bndPieGrupo")) {
        if (b.texts.contains("16,00 % IVA")) {
            EXPECT_GE(b.rect.height(), 78 + 7 * 20) << "rows cut off";
        }
    }
}

// The 15th runs over two pages; the 10th and the 16th fit one each. On the 16th a series with a
// nine-digit invoice number: every text prints whole inside the margins, in both layouts.
TEST_F(DiarioDetalladoTest, DaysStartTheirPagesWithTheirHeaderAloneAndEveryTextPrintsWhole)
{
    venta(3, "2013-01-15", 0, 9, 1, 40);
    for (int i = 0; i < 60; ++i)
        linea(3, QStringLiteral("L%1").arg(i), "Lentilla", 10, 1, 10);
    venta(4, "2013-01-16", 0, 10, 1, 41);
    linea(4, "S1", "Solución", 5, 1.05, 21);
    venta(2, "2013-01-16", 0, 99999, 1, 130000901);
    linea(2, "LOF-1602", "Lente progresiva 1.60 antirreflejante", 1000, 210, 21);
    ASSERT_EQ(construirCaja({}, TdmDiarioIva::ListadoDetallado), 0);

    const ReportDocument doc = imprimir(1);
    const QStringList pages = doc.dump().split('\n');
    ASSERT_EQ(pages.size(), 4) << doc.dump().toStdString();
    EXPECT_EQ(pages[0], "p1: GH(10/01/2013) D GF(10/01/2013) PF");
    EXPECT_TRUE(pages[1].startsWith("p2: GH(15/01/2013) D")) << pages[1].toStdString();
    EXPECT_TRUE(pages[1].endsWith(" D PF")) << pages[1].toStdString();
    EXPECT_TRUE(pages[2].startsWith("p3: PH D")) << pages[2].toStdString();
    EXPECT_TRUE(pages[2].endsWith("GF(15/01/2013) PF")) << pages[2].toStdString();
    EXPECT_EQ(pages[3], "p4: GH(16/01/2013) D D GF(16/01/2013) PF");
    // The continuation page is headed with its day's block.
    EXPECT_EQ(bands(doc, "bndCabecera").first().texts.first(), "Diario de I.V.A del día 15/01/2013");
    EXPECT_EQ(textos(doc, "bndPiePagina"), QStringList({"1|10/01/2013", "2|15/01/2013", "3|15/01/2013", "4|16/01/2013"}));

    // The spreadsheet rows: no heading row without its block.
    QTemporaryDir dir;
    const QString csv = dir.filePath("diario.csv");
    ReportExporter::write(doc, csv);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(rows.first().startsWith("Diario de I.V.A del día 10/01/2013;")) << rows.first().toStdString();
    for (const QString& row : rows) {
        if (row.contains("Nº Fac. Simple")) {
            EXPECT_TRUE(row.startsWith("Diario de I.V.A del día ")) << row.toStdString();
        }
    }

    // One page per day: the same, without lines.
    const ReportDocument porDia = imprimir(2);
    EXPECT_EQ(porDia.dump(), "p1: GH(10/01/2013) GF(10/01/2013) PF\n"
                             "p2: GH(15/01/2013) GF(15/01/2013) PF\n"
                             "p3: GH(16/01/2013) GF(16/01/2013) PF");
    EXPECT_EQ(textos(porDia, "bndPiePagina"), QStringList({"1|10/01/2013", "2|15/01/2013", "3|16/01/2013"}));

    for (const ReportDocument* d : {&doc, &porDia}) {
        QStringList todos;
        for (int p = 0; p < d->pageCount(); ++p)
            todos << d->pageTexts(p);
        // One page per day prints no lines and no column titles.
        EXPECT_EQ(todos.contains("Nº Fac. Simple"), d == &doc);
        EXPECT_EQ(todos.contains("A/130.000.901"), d == &doc);
        const QStringList problemas = test::textsNotPrintedWhole(*d, QMarginsF(10, 10, 10, 10), dir.filePath("diario.pdf"));
        EXPECT_TRUE(problemas.isEmpty()) << problemas.join('\n').toStdString();
    }
}

} // namespace
