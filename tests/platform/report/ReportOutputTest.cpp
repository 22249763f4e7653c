// Exports read back with ordinary tools, the check that texts print whole, and the targets that
// cannot be written.
#include "SalesReport.h"
#include "platform/report/PrintedText.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportExporter.h"
#include "support/TestTools.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class ReportOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::fillSales(table, {{"14/06/2013", 95, "Gafas de sol; polarizadas"}, {"14/06/2013", 36, "Lentillas \"mensuales\""},
                                {"15/06/2013", 15, "Reparación de montura"}, {"15/06/2013", 12.95, "Solución única"}});
        test::defineSalesReport(report, table);
        static_cast<ReportDataText*>(report.findElement("qxtImporte"))->setOnPrint([](QString& text) { text += " €"; });
        document = report.layout();
        ASSERT_EQ(document.pageCount(), 2);
    }

    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    MemTable table{"memPrueba"};
    Report report{"qrpPrueba"};
    ReportDocument document;
    QTemporaryDir dir;
};

TEST_F(ReportOutputTest, PdfReadsBackWithPdftotext)
{
    ReportExporter::write(document, file("hoja.pdf"));
    const QString text = test::output("pdftotext", {"-layout", file("hoja.pdf"), "-"});
    EXPECT_TRUE(text.contains("Listado de Hoja de Caja"));
    EXPECT_TRUE(text.contains("Reparación de montura"));
    EXPECT_TRUE(text.contains("12,95 €"));
    EXPECT_EQ(text.count(QLatin1Char('\f')), 2);   // one form feed after each page
}

// The check the listings' layouts are held to, on texts placed to fail it and one that passes.
TEST_F(ReportOutputTest, PrintedTextCheckFindsClippedRunTogetherAndOffMarginTexts)
{
    Report form("qrpColumnas");
    form.setMarginsMm(QMarginsF(6, 10, 6, 10));
    form.setFont(QFont("Tahoma", 7));
    ReportBand& detail = form.setDetail("bndDetalle", 24);
    const auto label = [&](const char* name, qreal left, qreal width, const char* text, Qt::Alignment align = Qt::AlignLeft) {
        detail.addLabel(name, {left, 2, width, 20}, text)->setAlignment(align | Qt::AlignVCenter);
    };
    label("qxtFacSimple", 0, 44, "A/130.000.901", Qt::AlignRight);   // too narrow: its series is cut
    label("qxtAgente", 50, 36, "33;33;33");                          // spills over the next column
    label("qxtReferencia", 86, 60, "MON-0102");
    label("qxtTalon", 150, 40, "379", Qt::AlignRight);                // each in its box, but touching
    label("qxtGrupo", 190, 20, "AC");
    label("qxtAgentes", 224, 36, "33;33;3");                         // fits, but just before the next
    label("qxtArticulo", 262, 36, "ACC-1");
    label("qxtDescripcion", 300, 200, "Lente progresiva 1.60 antirreflejante");   // fits
    form.setPageHeader("bndCabecera", 20).addLabel("lblFacSimple", {-20, 0, 60, 16}, "Nº Fac. Simple")
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);   // reaches off the page
    const QString all = test::textsNotPrintedWhole(form.layout(), form.marginsMm(), file("columnas.pdf")).join('\n');
    for (const char* problem : {"«A/130.000.901» of «A/130.000.901»: runs out of its box", "«33;33;33» of «33;33;33»: runs out of its box",
                                "«379» of «379»: not printed as a word of its own", "«AC» of «AC»: not printed as a word of its own",
                                "«33;33;3» and «ACC-1»: printed less than 2 pt apart", "«Fac.»: outside the page margins"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(problem))) << problem << "\n" << all.toStdString();
    EXPECT_FALSE(all.contains("«MON-0102» of")) << all.toStdString();
    EXPECT_FALSE(all.contains("antirreflejante")) << all.toStdString();
}

TEST_F(ReportOutputTest, TextXmlAndPngExports)
{
    ReportExporter::write(document, file("hoja.txt"));
    const QStringList pages = QString::fromUtf8(test::contents(file("hoja.txt"))).split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("Lentillas \"mensuales\""));
    EXPECT_TRUE(pages[1].contains("15/06/2013"));

    ReportExporter::write(document, file("hoja.xml"));
    QXmlStreamReader xml(test::contents(file("hoja.xml")));
    int pagesSeen = 0, bandsSeen = 0;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            pagesSeen += xml.name() == QLatin1String("page");
            bandsSeen += xml.name() == QLatin1String("band");
        }
    EXPECT_FALSE(xml.hasError());
    EXPECT_EQ(pagesSeen, 2);
    EXPECT_EQ(bandsSeen, document.bands.size());

    // A picture of each page, the second beside the first, put in place together.
    ReportExporter::write(document, file("hoja.png"));
    EXPECT_NEAR(QImage(file("hoja.png")).width(), 1240, 2);   // A4 at 150 dpi
    EXPECT_FALSE(QImage(file("hoja-2.png")).isNull());
    EXPECT_EQ(test::entries(dir.path()), (QStringList{"hoja-2.png", "hoja.png", "hoja.txt", "hoja.xml"}));
}

TEST_F(ReportOutputTest, BadTargetsAreRefusedWithAReasonAndLeaveNothingBehind)
{
    EXPECT_THROW(ReportExporter::write(document, file("hoja.doc")), ReportError);
    EXPECT_THROW(ReportExporter::write(document, "/no/existe/hoja.csv"), ReportError);
    EXPECT_THROW(ReportExporter::write(document, "/no/existe/hoja.xlsx"), ReportError);
    EXPECT_EQ(ReportExporter::fileFilters().first(), QStringLiteral("Documento PDF (*.pdf)"));
    // A folder where the file should go: the finished export cannot be moved over it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("hoja.csv"));
    try {
        ReportExporter::write(document, file("hoja.csv"));
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_TRUE(e.message().contains(file("hoja.csv"))) << e.message().toStdString();
    }
    EXPECT_EQ(test::entries(dir.path()), QStringList{"hoja.csv"});
    EXPECT_TRUE(QFileInfo(file("hoja.csv")).isDir());
}

} // namespace
