// The spreadsheet export read back from the real file: figures are numbers a person can add up,
// shown as printed; dates are dates; references and codes stay the texts they are. And every
// export reaches its path whole or not at all.
#include "platform/format/PrintQString.h"
#include "platform/memtable/MemTable.h"
#include "platform/report/Report.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportExporter.h"
#include "support/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetra;
using lumetra::test::XlsxCell;
using lumetra::test::XlsxReader;

namespace {

struct Printed {
    const char* name;        // the case, printed in column A
    const char* text;        // as the listing prints it, in column B
    bool number;             // a number cell (dates too), else a text cell
    double value;            // the number in the cell
    const char* format;      // its number format
};

// Each row a case: the detail band prints its name on the left and the text on the right.
const Printed kCases[] = {
    {"amount", "150,00 €", true, 150, "#,##0.00 \"€\""},
    {"negative_amount", "-779,08 €", true, -779.08, "#,##0.00 \"€\""},
    {"zero_amount", "0,00 €", true, 0, "#,##0.00 \"€\""},
    {"thousands_amount", "1.191,13 €", true, 1191.13, "#,##0.00 \"€\""},
    {"millions_amount", "-12.345.678,90 €", true, -12345678.90, "#,##0.00 \"€\""},
    {"figure_without_sign", "12,95", true, 12.95, "#,##0.00"},
    {"count", "12", true, 12, "#,##0"},
    {"zero_count", "0", true, 0, "#,##0"},
    {"grouped_count", "1.234", true, 1234, "#,##0"},
    {"ungrouped_figure", "1234,5", true, 1234.5, "0.0"},
    {"percentage", "21,00 %", true, 0.21, "#,##0.00 %"},
    {"date", "01/05/2013", true, 41395, "dd/mm/yyyy"},
    {"print_time", "15/06/2013 18:30", true, 41440.770833333336, "dd/mm/yyyy hh:mm"},
    {"reference_with_leading_zeros", "0012", false, 0, nullptr},
    {"postal_code", "08001", false, 0, nullptr},
    {"document_with_series", "A/130.000.901", false, 0, nullptr},
    {"rate_with_words", "18,00 % I.V.A", false, 0, nullptr},
    {"tax_code", "B08000000", false, 0, nullptr},
    {"wrongly_grouped", "12.34", false, 0, nullptr},
    {"impossible_date", "31/02/2013", false, 0, nullptr},
    {"label_and_amount", "Saldo Caja: 12,00 €", false, 0, nullptr},
    {"article_code", "LOF-1601", false, 0, nullptr},
    {"dioptre", "+2.50", false, 0, nullptr},
};

class SpreadsheetExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.addField(QStringLiteral("Caso"), MemTable::FieldType::Text, 40);
        table.addField(QStringLiteral("Texto"), MemTable::FieldType::Text, 40);
        table.open();
        for (const Printed& row : kCases) {
            table.append();
            table.setField(QStringLiteral("Caso"), QString::fromUtf8(row.name));
            table.setField(QStringLiteral("Texto"), QString::fromUtf8(row.text));
            table.post();
        }
        report.setTitle(QStringLiteral("Comprobación"));
        ReportBand& detail = report.setDetail(QStringLiteral("bndDetalle"), 20);
        detail.addDataText(QStringLiteral("qxtCaso"), {0, 0, 250, 18}, QStringLiteral("Caso"));
        detail.addDataText(QStringLiteral("qxtTexto"), {300, 0, 200, 18}, QStringLiteral("Texto"))
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        report.setDataSet(table);
        document = report.layout();
        ASSERT_FALSE(document.failed()) << document.error.toStdString();
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }

    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    static void put(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    MemTable table{QStringLiteral("memCasos")};
    Report report{QStringLiteral("qrpCasos")};
    ReportDocument document;
    QTemporaryDir dir;
};

TEST_F(SpreadsheetExportTest, FiguresAndDatesAreNumbersShownAsPrintedAndCodesStayText)
{
    ReportExporter::write(document, file(QStringLiteral("casos.xlsx")));
    const XlsxReader sheet(file(QStringLiteral("casos.xlsx")));
    const QStringList names = sheet.column(QStringLiteral("A"));
    ASSERT_EQ(names.size(), int(std::size(kCases)));
    for (int i = 0; i < names.size(); ++i) {
        const Printed& row = kCases[i];
        ASSERT_EQ(sheet.cell(names[i]).value, QString::fromUtf8(row.name));
        EXPECT_FALSE(sheet.cell(names[i]).isNumber()) << row.name << ": the case's name is a text";
        const QString reference = QStringLiteral("B") + names[i].mid(1);
        const XlsxCell cell = sheet.cell(reference);
        if (row.number) {
            EXPECT_TRUE(cell.isNumber()) << row.name << ": type " << cell.type.toStdString();
            bool ok = false;
            EXPECT_NEAR(cell.value.toDouble(&ok), row.value, 1e-9) << row.name;
            EXPECT_TRUE(ok) << row.name << ": " << cell.value.toStdString();
            EXPECT_EQ(cell.format, QString::fromUtf8(row.format)) << row.name;
        } else {
            EXPECT_FALSE(cell.isNumber()) << row.name;
            EXPECT_EQ(cell.value, QString::fromUtf8(row.text)) << row.name;
        }
    }
}

TEST_F(SpreadsheetExportTest, CsvTextAndXmlKeepThePrintedTexts)
{
    const QString csv = QString::fromUtf8(ReportExporter::csv(document));
    const QString text = ReportExporter::text(document);
    const QString xml = QString::fromUtf8(ReportExporter::xml(document));
    for (const Printed& row : kCases) {
        const QString printed = QString::fromUtf8(row.text);
        // A spreadsheet would run "+2.50" as a formula: the CSV marks it as text.
        const QString cell = printed.startsWith(QLatin1Char('+')) ? QLatin1Char('\'') + printed : printed;
        EXPECT_TRUE(csv.contains(QString::fromUtf8(row.name) + QLatin1Char(';') + cell + QStringLiteral("\r\n"))) << row.name;
        EXPECT_TRUE(text.contains(printed)) << row.name;
        EXPECT_TRUE(xml.contains(QLatin1Char('>') + printed.toHtmlEscaped() + QStringLiteral("</text>"))) << row.name;
    }
}

TEST_F(SpreadsheetExportTest, AnExportReplacesTheEarlierFileWholeOrNotAtAll)
{
    for (const char* name : {"casos.xlsx", "casos.pdf", "casos.csv", "casos.txt", "casos.xml", "casos.png"}) {
        const QString path = file(QString::fromLatin1(name));
        put(path, "listado anterior");
        {
            // Written but never put in place: the earlier file stays as it was.
            ReportExporter::Staged staged(document, path, *ReportExporter::formatOf(path));
            EXPECT_EQ(contents(path), QByteArray("listado anterior")) << name;
        }
        EXPECT_EQ(contents(path), QByteArray("listado anterior")) << name;
        EXPECT_EQ(entries(), QStringList{QString::fromLatin1(name)}) << name << ": nothing else left behind";

        ReportExporter::write(document, path);
        EXPECT_NE(contents(path), QByteArray("listado anterior")) << name;
        EXPECT_EQ(entries(), QStringList{QString::fromLatin1(name)}) << name;
        QFile::remove(path);
    }
}

TEST_F(SpreadsheetExportTest, APictureOfEachPageIsPutInPlaceTogether)
{
    // Two pages: the second goes to casos-2.png beside the first.
    ReportDocument twoPages;
    twoPages.title = QStringLiteral("Dos páginas");
    twoPages.pageSize = QSizeF(794, 1123);
    for (const char* text : {"Página uno", "Página dos"}) {
        ReportItem item;
        item.text = QString::fromUtf8(text);
        item.rect = QRectF(40, 40, 400, 20);
        twoPages.pages.append(ReportPage{{item}});
    }
    ReportExporter::write(twoPages, file(QStringLiteral("casos.png")));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("casos-2.png"), QStringLiteral("casos.png")}));
}

TEST_F(SpreadsheetExportTest, APathThatCannotBeReplacedFailsAndLeavesNothingBehind)
{
    // A folder where the file should go: the finished export cannot be moved over it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("casos.csv")));
    try {
        ReportExporter::write(document, file(QStringLiteral("casos.csv")));
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_TRUE(e.message().contains(file(QStringLiteral("casos.csv")))) << e.message().toStdString();
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("casos.csv")});
    EXPECT_TRUE(QFileInfo(file(QStringLiteral("casos.csv"))).isDir());
}

} // namespace
