// Exports read back with ordinary tools, and the printer choice.
#include "platform/memtable/MemTable.h"
#include "platform/report/Report.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportExporter.h"
#include "platform/report/ReportPrinter.h"
#include "platform/report/PrintedText.h"
#include "support/TestTools.h"

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
        table.addField(QStringLiteral("Fecha"), MemTable::FieldType::Text, 10);
        table.addField(QStringLiteral("Concepto"), MemTable::FieldType::Text, 60);
        table.addField(QStringLiteral("Importe"), MemTable::FieldType::Float);
        table.open();
        const struct { const char* fecha; const char* concepto; double importe; } rows[] = {
            {"14/06/2013", "Gafas de sol; polarizadas", 95}, {"14/06/2013", "Lentillas \"mensuales\"", 36},
            {"15/06/2013", "Reparación de montura", 15}, {"15/06/2013", "Solución única", 12.95}};
        for (const auto& r : rows) {
            table.append();
            table.setField(QStringLiteral("Fecha"), QString::fromUtf8(r.fecha));
            table.setField(QStringLiteral("Concepto"), QString::fromUtf8(r.concepto));
            table.setField(QStringLiteral("Importe"), r.importe);
            table.post();
        }
        report.setTitle(QStringLiteral("Hoja de Caja"));
        report.setPageHeader(QStringLiteral("bndCabecera"), 30).addLabel(QStringLiteral("qxtTitulo"), {0, 0, 300, 20}, QStringLiteral("Listado de Hoja de Caja"));
        ReportGroup& day = report.addGroup(QStringLiteral("bndGrupo"), QStringLiteral("Fecha"), 30);
        day.setNewPage(true);
        day.header().addDataText(QStringLiteral("qxtFecha"), {0, 0, 200, 20}, QStringLiteral("Fecha"));
        ReportBand& detail = report.setDetail(QStringLiteral("bndDetalle"), 20);
        detail.addDataText(QStringLiteral("qxtConcepto"), {0, 0, 300, 18}, QStringLiteral("Concepto"));
        ReportDataText* amount = detail.addDataText(QStringLiteral("qxtImporte"), {400, 0, 100, 18}, QStringLiteral("Importe"));
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        amount->setOnPrint([](QString& text) { text += QStringLiteral(" €"); });
        report.setPageFooter(QStringLiteral("bndPie"), 20).addSysData(QStringLiteral("qrsPagina"), {0, 0, 100, 18}, ReportSysData::Data::PageNumber);
        report.setDataSet(table);
        document = report.layout();
        ASSERT_EQ(document.pageCount(), 2);
    }

    QString file(const QString& name) const { return dir.filePath(name); }

    MemTable table{QStringLiteral("memPrueba")};
    Report report{QStringLiteral("qrpPrueba")};
    ReportDocument document;
    QTemporaryDir dir;
};

TEST_F(ReportOutputTest, PdfReadsBackWithPdftotext)
{
    ReportExporter::write(document, file(QStringLiteral("hoja.pdf")));
    const QString text = test::output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file(QStringLiteral("hoja.pdf")), QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Listado de Hoja de Caja")));
    EXPECT_TRUE(text.contains(QStringLiteral("Reparación de montura")));
    EXPECT_TRUE(text.contains(QStringLiteral("12,95 €")) || text.contains(QStringLiteral("12.95 €")));
    EXPECT_EQ(text.count(QLatin1Char('\f')), 2);   // one form feed after each page
}

// The check the listings' layouts are held to, on texts placed to fail it and one that passes.
TEST_F(ReportOutputTest, PrintedTextCheckFindsClippedRunTogetherAndOffMarginTexts)
{
    Report form(QStringLiteral("qrpColumnas"));
    form.setMarginsMm(QMarginsF(6, 10, 6, 10));
    form.setFont(QFont(QStringLiteral("Tahoma"), 7));
    ReportBand& detail = form.setDetail(QStringLiteral("bndDetalle"), 24);
    const auto label = [&](const char* name, qreal left, qreal width, const char* text, Qt::Alignment align = Qt::AlignLeft) {
        detail.addLabel(QString::fromLatin1(name), {left, 2, width, 20}, QString::fromUtf8(text))->setAlignment(align | Qt::AlignVCenter);
    };
    label("qxtFacSimple", 0, 44, "A/130.000.901", Qt::AlignRight);   // too narrow: its series is cut
    label("qxtAgente", 50, 36, "33;33;33");                          // spills over the next column
    label("qxtReferencia", 86, 60, "MON-0102");
    label("qxtTalon", 150, 40, "379", Qt::AlignRight);                // each in its box, but touching
    label("qxtGrupo", 190, 20, "AC");
    label("qxtAgentes", 224, 36, "33;33;3");                         // fits, but just before the next
    label("qxtArticulo", 262, 36, "ACC-1");
    label("qxtDescripcion", 300, 200, "Lente progresiva 1.60 antirreflejante");   // fits
    ReportBand& header = form.setPageHeader(QStringLiteral("bndCabecera"), 20);
    header.addLabel(QStringLiteral("lblFacSimple"), {-20, 0, 60, 16}, QStringLiteral("Nº Fac. Simple"))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);                       // reaches off the page
    const QStringList problems = test::textsNotPrintedWhole(form.layout(), form.marginsMm(), file(QStringLiteral("columnas.pdf")));
    const QString all = problems.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("«A/130.000.901» of «A/130.000.901»: runs out of its box"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("«33;33;33» of «33;33;33»: runs out of its box"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("«379» of «379»: not printed as a word of its own"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("«AC» of «AC»: not printed as a word of its own"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("«33;33;3» and «ACC-1»: printed less than 2 pt apart"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("«Fac.»: outside the page margins"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("«MON-0102» of"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("antirreflejante"))) << all.toStdString();
}

TEST_F(ReportOutputTest, TextXmlAndPngExports)
{
    ReportExporter::write(document, file(QStringLiteral("hoja.txt")));
    QFile txt(file(QStringLiteral("hoja.txt")));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QStringList pages = QString::fromUtf8(txt.readAll()).split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Lentillas \"mensuales\"")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("15/06/2013")));

    ReportExporter::write(document, file(QStringLiteral("hoja.xml")));
    QFile xmlFile(file(QStringLiteral("hoja.xml")));
    ASSERT_TRUE(xmlFile.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&xmlFile);
    int pagesSeen = 0, bandsSeen = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            pagesSeen += xml.name() == QLatin1String("page");
            bandsSeen += xml.name() == QLatin1String("band");
        }
    }
    EXPECT_FALSE(xml.hasError());
    EXPECT_EQ(pagesSeen, 2);
    EXPECT_EQ(bandsSeen, document.bands.size());

    ReportExporter::write(document, file(QStringLiteral("hoja.png")));
    const QImage first(file(QStringLiteral("hoja.png")));
    const QImage second(file(QStringLiteral("hoja-2.png")));
    EXPECT_FALSE(first.isNull());
    EXPECT_FALSE(second.isNull());
    EXPECT_NEAR(first.width(), 1240, 2);   // A4 at 150 dpi
}

TEST_F(ReportOutputTest, BadTargetsAreRefusedWithAReason)
{
    EXPECT_THROW(ReportExporter::write(document, file(QStringLiteral("hoja.doc"))), ReportError);
    EXPECT_THROW(ReportExporter::write(document, QStringLiteral("/no/existe/hoja.csv")), ReportError);
    EXPECT_THROW(ReportExporter::write(document, QStringLiteral("/no/existe/hoja.xlsx")), ReportError);
    EXPECT_EQ(ReportExporter::fileFilters().first(), QStringLiteral("Documento PDF (*.pdf)"));
}

TEST_F(ReportOutputTest, UnknownPrinterNameMeansTheDefaultPrinter)
{
    EXPECT_EQ(ReportPrinter::printerIndex(QStringLiteral("Impresora que no existe")), -1);
    EXPECT_EQ(ReportPrinter::printerIndex(QString()), -1);
}

} // namespace
