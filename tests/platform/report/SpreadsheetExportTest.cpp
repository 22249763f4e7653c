// The spreadsheet export read back from the real file: figures are numbers a person can add up,
// shown as printed; dates are dates; references and codes stay the texts they are. And every
// export reaches its path whole or not at all.
#include "SalesReport.h"
#include "platform/format/PrintQString.h"
#include "platform/report/ReportExporter.h"
#include "support/XlsxReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetra;
using lumetra::test::XlsxCell;
using lumetra::test::XlsxReader;

namespace {

struct Printed {
    const char* name;     // the case, printed in column A
    const char* text;     // as the listing prints it, in column B
    double value = 0;     // the number in the cell
    const char* format = nullptr;   // its number format; none for a text cell
};

// Each row a case: the detail band prints its name on the left and the text on the right.
const Printed kCases[] = {
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

class SpreadsheetExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.addField("Caso", MemTable::FieldType::Text, 40);
        table.addField("Texto", MemTable::FieldType::Text, 40);
        table.open();
        for (const Printed& row : kCases) {
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

    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    MemTable table{"memCasos"};
    Report report{"qrpCasos"};
    ReportDocument document;
    QTemporaryDir dir;
};

TEST_F(SpreadsheetExportTest, FiguresAndDatesAreNumbersShownAsPrintedAndCodesStayText)
{
    ReportExporter::write(document, file("casos.xlsx"));
    const XlsxReader sheet(file("casos.xlsx"));
    const QStringList names = sheet.column("A");
    ASSERT_EQ(names.size(), int(std::size(kCases)));
    for (int i = 0; i < names.size(); ++i) {
        const Printed& row = kCases[i];
        ASSERT_EQ(sheet.cell(names[i]).value, QString::fromUtf8(row.name));
        EXPECT_FALSE(sheet.cell(names[i]).isNumber()) << row.name << ": the case's name is a text";
        const XlsxCell cell = sheet.cell("B" + names[i].mid(1));
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

} // namespace
