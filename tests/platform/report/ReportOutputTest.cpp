// Exports read back from the real files: PDF pages with texts that print whole, text, XML and
// pictures; spreadsheet cells where figures are numbers shown as printed, dates are dates and
// references stay texts; CSV cells with no formula a spreadsheet would run and no control
// character. Every export reaches its path whole or not at all.
#include "SalesReport.h"
#include "platform/format/PrintQString.h"
#include "platform/report/PrintedText.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportExporter.h"
#include "support/TestTools.h"
#include "support/XlsxReader.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <string_view>

using namespace lumetra;
using lumetra::test::XlsxCell;
using lumetra::test::XlsxReader;

namespace {

// A folder for the files written, and the document written into them.
class InFolder : public ::testing::Test {
protected:
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    ReportDocument document;
    QTemporaryDir dir;
};

class ReportOutputTest : public InFolder {
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

    MemTable table{"memPrueba"};
    Report report{"qrpPrueba"};
};

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

struct Printed {
    const char* name;     // the case, printed in column A
    const char* text;     // as the listing prints it, in column B
    double value = 0;     // the number in the cell
    const char* format = nullptr;   // its number format; none for a text cell
};

// Each row a case: the detail band prints its name on the left and the text on the right.
const Printed kPrinted[] = {
    {"amount", "150,00 €", 150, "#,##0.00 \"€\""},
    {"negative_amount", "-779,08 €", -779.08, "#,##0.00 \"€\""},
    {"zero_amount", "0,00 €", 0, "#,##0.00 \"€\""},
    {"millions_amount", "-12.345.678,90 €", -12345678.90, "#,##0.00 \"€\""},
    {"figure_without_sign", "12,95", 12.95, "#,##0.00"},
    {"count", "12", 12, "#,##0"},
    {"grouped_count", "1.234", 1234, "#,##0"},
    {"ungrouped_figure", "1234,5", 1234.5, "0.0"},
    {"percentage", "21,00 %", 0.21, "#,##0.00 %"},
    {"date", "01/05/2013", 41395, "dd/mm/yyyy"},
    {"print_time", "15/06/2013 18:30", 41440.770833333336, "dd/mm/yyyy hh:mm"},
    {"reference_with_leading_zeros", "0012"},
    {"document_with_series", "A/130.000.901"},
    {"rate_with_words", "18,00 % I.V.A"},
    {"tax_code", "B08000000"},
    {"wrongly_grouped", "12.34"},
    {"impossible_date", "31/02/2013"},
    {"label_and_amount", "Saldo Caja: 12,00 €"},
    {"dioptre", "+2.50"},
};

class SpreadsheetExportTest : public InFolder {
protected:
    void SetUp() override
    {
        table.addField("Caso", MemTable::FieldType::Text, 40);
        table.addField("Texto", MemTable::FieldType::Text, 40);
        table.open();
        for (const Printed& row : kPrinted) {
            table.append();
            table.setField("Caso", row.name);
            table.setField("Texto", QString::fromUtf8(row.text));
            table.post();
        }
        report.setTitle("Comprobación");
        ReportBand& detail = report.setDetail("bndDetalle", 20);
        detail.addDataText("qxtCaso", {0, 0, 250, 18}, "Caso");
        detail.addDataText("qxtTexto", {300, 0, 200, 18}, "Texto")->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        report.setDataSet(table);
        document = report.layout();
        ASSERT_FALSE(document.failed()) << document.error.toStdString();
    }

    MemTable table{"memCasos"};
    Report report{"qrpCasos"};
};

TEST_F(SpreadsheetExportTest, FiguresAndDatesAreNumbersShownAsPrintedAndCodesStayText)
{
    ReportExporter::write(document, file("casos.xlsx"));
    const XlsxReader sheet(file("casos.xlsx"));
    // A row a case, from the first: its name in column A, the text in B.
    ASSERT_EQ(sheet.cells().size(), qsizetype(2 * std::size(kPrinted)));
    for (size_t i = 0; i < std::size(kPrinted); ++i) {
        const Printed& row = kPrinted[i];
        ASSERT_EQ(sheet.cell(QStringLiteral("A%1").arg(i + 1)).value, QString::fromUtf8(row.name));
        EXPECT_FALSE(sheet.cell(QStringLiteral("A%1").arg(i + 1)).isNumber()) << row.name << ": the case's name is a text";
        const XlsxCell cell = sheet.cell(QStringLiteral("B%1").arg(i + 1));
        EXPECT_EQ(cell.isNumber(), row.format != nullptr) << row.name << ": type " << cell.type.toStdString();
        if (row.format) {
            bool ok = false;
            EXPECT_NEAR(cell.value.toDouble(&ok), row.value, 1e-9) << row.name;
            EXPECT_TRUE(ok) << row.name << ": " << cell.value.toStdString();
            EXPECT_EQ(cell.format, QString::fromUtf8(row.format)) << row.name;
        } else {
            EXPECT_EQ(cell.value, QString::fromUtf8(row.text)) << row.name;
        }
    }
}

TEST_F(SpreadsheetExportTest, AnExportReplacesTheEarlierFileWholeOrNotAtAll)
{
    for (const char* name : {"casos.xlsx", "casos.pdf", "casos.csv", "casos.txt", "casos.xml", "casos.png"}) {
        const QString path = file(name);
        test::put(path, "listado anterior");
        {
            // Written but never put in place: the earlier file stays as it was.
            ReportExporter::Staged staged(document, path, *ReportExporter::formatOf(path));
            EXPECT_EQ(test::contents(path), QByteArray("listado anterior")) << name;
        }
        EXPECT_EQ(test::contents(path), QByteArray("listado anterior")) << name;
        EXPECT_EQ(test::entries(dir.path()), QStringList{name}) << name << ": nothing else left behind";

        ReportExporter::write(document, path);
        EXPECT_NE(test::contents(path), QByteArray("listado anterior")) << name;
        EXPECT_EQ(test::entries(dir.path()), QStringList{name}) << name;
        QFile::remove(path);
    }
}

struct CsvCase {
    const char* name;
    std::string_view printed;   // UTF-8
    const char* read;           // the cell a spreadsheet shows
};

const CsvCase kCsvCases[] = {
    {"PlainText", "Gafas de sol", "Gafas de sol"},
    {"EqualsStartsAFormula", "=HYPERLINK(\"http://x\";\"pulse\")", "'=HYPERLINK(\"http://x\";\"pulse\")"},
    {"PlusStartsAFormula", "+34 600 000 000", "'+34 600 000 000"},
    {"MinusStartsAFormula", "-2+3", "'-2+3"},
    {"AtStartsAFormula", "@SUM(A1:A9)", "'@SUM(A1:A9)"},
    {"LoneMinus", "-", "'-"},
    {"BlanksBeforeAFormula", "  =1+1", "'  =1+1"},
    {"NegativeAmountIsAFigure", "-12,50 €", "-12,50 €"},
    {"NegativeGroupedAmountIsAFigure", "-1.234.567,89 €", "-1.234.567,89 €"},
    {"NegativeCountIsAFigure", "-3", "-3"},
    {"NegativePercentageIsAFigure", "-18,00 %", "-18,00 %"},
    {"MinusAmountWithTextIsNot", "-12,50 € de más", "'-12,50 € de más"},
    {"FormulaInsideIsText", "Total =SUM(A1)", "Total =SUM(A1)"},
    {"SemicolonAndQuotes", "Lentillas \"mensuales\"; caja", "Lentillas \"mensuales\"; caja"},
    {"NulIsDropped", std::string_view("ab\0cd", 5), "abcd"},
    {"EscapeIsDropped", "\x1b[31mrojo", "[31mrojo"},
    {"DelAndC1AreDropped", "a\x7f\xc2\x85" "b", "ab"},
    {"TabIsASpace", "Montura\tcarey", "Montura carey"},
    {"TabBeforeAFormula", "\t=1+1", "' =1+1"},
    {"LineFeedStaysInTheCell", "Primera\nSegunda", "Primera\nSegunda"},
    {"CrLfIsALineFeed", "Primera\r\nSegunda", "Primera\nSegunda"},
    {"LoneCrIsALineFeed", "Primera\rSegunda", "Primera\nSegunda"},
    {"RightToLeftStays", "\xe2\x80\xae" "abc \xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7", "\xe2\x80\xae" "abc \xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7"},
};

// A document made by hand may hold what the engine never prints: the export leaves it out too.
TEST(CsvExport, TextsReadBackAsTheirCells)
{
    ReportDocument document;
    for (const CsvCase& c : kCsvCases) {
        document.bands.append(PrintedBand{});
        document.bands.last().texts = {QString::fromUtf8(c.printed.data(), qsizetype(c.printed.size())), "=1"};
    }
    const QByteArray csv = ReportExporter::csv(document);
    for (const char c : csv)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\r') << "control byte " << int(c);
    const QVector<QStringList> rows = test::parseCsv(csv);
    ASSERT_EQ(rows.size(), qsizetype(std::size(kCsvCases))) << csv.toStdString();
    for (qsizetype i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows.at(i), (QStringList{QString::fromUtf8(kCsvCases[i].read), "'=1"})) << kCsvCases[i].name;
}

} // namespace
