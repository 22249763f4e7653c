// The CSV export read back as a spreadsheet reads it: every printed text comes back as the text
// printed, none that a spreadsheet would run as a formula comes back as one, figures stay figures,
// and no control character reaches the file.
#include "platform/memtable/MemTable.h"
#include "platform/report/Report.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportExporter.h"
#include "support/TestTools.h"

#include <gtest/gtest.h>
#include <string_view>

using namespace lumetra;
using lumetra::test::parseCsv;

namespace {

struct CsvCase {
    const char* name;
    std::string_view printed;   // UTF-8
    const char* read;           // the cell a spreadsheet shows
};

const CsvCase kCases[] = {
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

QString printedOf(const CsvCase& c)
{
    return QString::fromUtf8(c.printed.data(), qsizetype(c.printed.size()));
}

// Each case a row of `csv`: its cell, then `second`.
void expectRows(const QByteArray& csv, const QString& second)
{
    const QVector<QStringList> rows = parseCsv(csv);
    ASSERT_EQ(rows.size(), qsizetype(std::size(kCases))) << csv.toStdString();
    for (qsizetype i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows.at(i), (QStringList{QString::fromUtf8(kCases[i].read), second})) << kCases[i].name;
}

// Laid out by the engine, one detail band a case beside a figure, and read back.
TEST(CsvExport, PrintedTextsReadBackAsTheirCells)
{
    MemTable table("memTextos");
    table.addField("Texto", MemTable::FieldType::Text, 0);
    table.open();
    for (const CsvCase& c : kCases) {
        table.append();
        table.setField("Texto", printedOf(c));
        table.post();
    }
    Report report("qrpCsv");
    ReportBand& detail = report.setDetail("bndDetalle", 20);
    // Word-wrapped, so that its line breaks print (a one-line text prints them as spaces).
    ReportDataText* texto = detail.addDataText("qxtTexto", {0, 0, 300, 18}, "Texto");
    texto->setWordWrap(true);
    texto->setStretch(true);
    detail.addLabel("qxtImporte", {400, 0, 100, 18}, "-7,00 €");
    report.setDataSet(table);
    const ReportDocument document = report.layout();
    ASSERT_FALSE(document.failed()) << document.error.toStdString();
    expectRows(ReportExporter::csv(document), "-7,00 €");
}

// A document made by hand may hold what the engine never prints: the export leaves it out too.
TEST(CsvExport, TextsOfAHandMadeDocumentReadBackAsTheirCells)
{
    ReportDocument document;
    for (const CsvCase& c : kCases) {
        document.bands.append(PrintedBand{});
        document.bands.last().texts = {printedOf(c), "=1"};
    }
    const QByteArray csv = ReportExporter::csv(document);
    for (const char c : csv)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\r') << "control byte " << int(c);
    expectRows(csv, "'=1");
}

} // namespace
