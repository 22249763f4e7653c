// Page logic of the report engine, asserted on the laid-out document.
#include "SalesReport.h"
#include "support/TestTools.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace lumetra;
using test::Sale;

namespace {

// `count` sales of one day, numbered from `first`.
QList<Sale> day(const char* fecha, int count, int first = 1)
{
    QList<Sale> sales;
    for (int i = 0; i < count; ++i)
        sales.append({QString::fromLatin1(fecha), double(first + i)});
    return sales;
}

class ReportLayoutTest : public ::testing::Test {
protected:
    // Page header, a day group that starts a new page, detail, day footer, summary, page footer.
    void build(const QList<Sale>& sales)
    {
        test::fillSales(table, sales);
        report.setPageHeader("bndCabeceraPagina", 30).addLabel("qxtCabecera", {0, 0, 200, 20}, "Cabecera");
        ReportGroup& group = report.addGroup("bndGrupoCabecera", "Fecha", 40);
        group.setNewPage(true);
        group.header().addDataText("qxtFecha", {0, 0, 200, 20}, "Fecha");
        report.setDetail("bndDetalle", 24).addDataText("qxtImporte", {0, 0, 60, 20}, "Importe");
        ReportBand& footer = group.addFooter("bndGrupoPie", 30);
        footer.addLabel("qxtTotal", {0, 0, 200, 20});
        footer.setBeforePrint([this](bool&) { closedRows << table.fieldAsText("Fecha") + ' ' + table.fieldAsText("Importe"); });
        report.setSummary("bndSumario", 30).addLabel("qxtFin", {0, 0, 200, 20}, "Fin");
        report.setPageFooter("bndPiePagina", 30).addSysData("qrsPagina", {300, 5, 100, 20}, ReportSysData::Data::PageNumber, "Página ");
        report.setDataSet(table);
        report.setErrorHandler([this](const QString& where, const QString& message) { errors << where + ": " + message; });
    }

    QList<QRectF> detailRects(const ReportDocument& doc) const
    {
        QList<QRectF> rects;
        for (const PrintedBand& b : test::bands(doc, "bndDetalle"))
            rects << b.rect;
        return rects;
    }

    MemTable table{"memPrueba"};
    Report report{"qrpPrueba"};
    QStringList closedRows, errors;
};

TEST_F(ReportLayoutTest, GroupsStartPagesAndFootersReadTheClosedGroupsLastRow)
{
    build(day("01/06/2013", 3) + day("02/06/2013", 2, 4));
    const ReportDocument doc = report.layout();
    EXPECT_EQ(doc.dump(), QStringLiteral("p1: PH GH(01/06/2013) D D D GF(01/06/2013) PF\n"
                                         "p2: PH GH(02/06/2013) D D GF(02/06/2013) S PF"));
    EXPECT_EQ(closedRows, (QStringList{"01/06/2013 3", "02/06/2013 5"}));
    EXPECT_EQ(test::bandTexts(doc, "bndPiePagina"), (QList<QStringList>{{"Página 1"}, {"Página 2"}}));
    EXPECT_EQ(test::bandTexts(doc, "bndDetalle"), (QList<QStringList>{{"1"}, {"2"}, {"3"}, {"4"}, {"5"}}));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_FALSE(doc.failed());
}

// Sales of one line each, then one long sale: a sale header falls on every page bottom, with
// room for itself but not for its line, or without room at all.
TEST_F(ReportLayoutTest, RepeatedHeaderPrintsOnceAtAPageBreakAndNeverEndsAPage)
{
    QList<Sale> sales = day("01/06/2013", 90);
    for (int i = 0; i < 90; ++i)
        sales.append({"01/06/2013", 1000});
    build(sales);
    ReportGroup& sale = report.addGroup("bndGrupoVenta", "Importe", 20);
    sale.setRepeatOnNewPage(true);
    sale.header().addDataText("qxtVenta", {0, 0, 200, 18}, "Importe");
    const ReportDocument doc = report.layout();
    ASSERT_GE(doc.pageCount(), 5);

    QStringList firstOnPage;   // the sale that opens each page after the first
    int headers = 0;
    for (int p = 0; p < doc.pageCount(); ++p) {
        QStringList codes, sales;
        for (const PrintedBand& b : doc.bands) {
            if (b.page != p)
                continue;
            const bool header = b.name == QLatin1String("bndGrupoVenta");
            EXPECT_FALSE(header && sales.contains(b.group)) << "sale " << b.group.toStdString() << " headed twice on page " << p + 1;
            if (header)
                sales << b.group;
            headers += header;
            codes << (header ? QStringLiteral("V") : ReportDocument::bandCode(b.type));
        }
        // A sale header is always followed by a line of its sale on its page.
        const QString page = codes.join(' ');
        EXPECT_FALSE(page.contains("V PF") || page.contains("V V")) << "page " << p + 1 << ": " << page.toStdString();
        if (p > 0)
            firstOnPage << sales.value(0);
    }
    // Each short sale headed once in all; the long one once more on every page it continues on.
    EXPECT_EQ(headers, 91 + firstOnPage.count("1000"));
    EXPECT_GE(firstOnPage.count("1000"), 2);
}

TEST_F(ReportLayoutTest, SuppressedBandTakesNoSpace)
{
    build(day("01/06/2013", 5));
    report.detail()->setBeforePrint([this](bool& print) { print = int(table.fieldAsFloat("Importe")) % 2 == 1; });
    const ReportDocument doc = report.layout();
    const QList<QRectF> details = detailRects(doc);
    ASSERT_EQ(details.size(), 3);
    EXPECT_DOUBLE_EQ(details[1].top() - details[0].top(), 24);
    EXPECT_DOUBLE_EQ(details[2].top() - details[1].top(), 24);
    EXPECT_EQ(test::bandTexts(doc, "bndDetalle"), (QList<QStringList>{{"1"}, {"3"}, {"5"}}));
}

TEST_F(ReportLayoutTest, WordWrappedTextStretchesItsBandAndKeepsItsLineBreaks)
{
    build({{"01/06/2013", 1, "Montura de acetato carey con lentes progresivas\r\nantirreflejantes y funda"}, {"01/06/2013", 2, "Corto"}});
    ReportDataText* text = report.detail()->addDataText("qxtConcepto", {100, 0, 80, 20}, "Concepto");
    text->setWordWrap(true);
    text->setStretch(true);
    const ReportDocument doc = report.layout();
    const QList<QRectF> details = detailRects(doc);
    ASSERT_EQ(details.size(), 2);
    // Its line break prints as one, with no control character.
    EXPECT_TRUE(test::bandTexts(doc, "bndDetalle")[0].contains("Montura de acetato carey con lentes progresivas\nantirreflejantes y funda"));
    EXPECT_GT(details[0].height(), 50);
    EXPECT_DOUBLE_EQ(details[1].top(), details[0].bottom());
    EXPECT_DOUBLE_EQ(details[1].height(), 24);
}

TEST_F(ReportLayoutTest, LabelsCreatedAtRunTimePrintAndGoAway)
{
    build(day("01/06/2013", 1));
    ReportBand* footer = report.group("bndGrupoCabecera")->footer();
    std::vector<ReportLabel*> created;
    report.setBeforePrint([&] {
        for (int i = 0; i < 3; ++i)
            created.push_back(footer->addLabel(QStringLiteral("lblIva%1").arg(i), {400, 20.0 * i, 80, 18}));
    });
    footer->setBeforePrint([&](bool&) {
        for (size_t i = 0; i < created.size(); ++i)
            created[i]->setCaption(QStringLiteral("%1,00 %").arg(i * 10));
    });
    EXPECT_EQ(test::bandTexts(report.layout(), "bndGrupoPie"), (QList<QStringList>{{"", "0,00 %", "10,00 %", "20,00 %"}}));
    for (ReportLabel* label : created)
        EXPECT_TRUE(footer->removeElement(label));
    EXPECT_EQ(footer->elements().size(), 1u);
}

TEST_F(ReportLayoutTest, EmptyReportStillPrintsItsPage)
{
    build({});
    EXPECT_EQ(report.layout().dump(), QStringLiteral("p1: PH S PF"));

    Report bare("qrpInforme");
    bare.setDetail("bndDetalle", 100).addLabel("qxtTexto", {0, 0, 100, 20}, "Una vez");
    bare.setPageFooter("bndPie", 20);
    const ReportDocument once = bare.layout();
    EXPECT_EQ(once.dump(), QStringLiteral("p1: D PF"));
    EXPECT_EQ(once.pageTexts(0), QStringList{"Una vez"});
}

TEST_F(ReportLayoutTest, BandTallerThanAPageIsClippedNotLoopedOn)
{
    test::fillSales(table, day("01/06/2013", 2));
    Report tall("qrpAlto");
    tall.setPageHeader("bndCabecera", 30);
    tall.setDetail("bndDetalle", 5000);
    tall.setSummary("bndSumario", 30);
    tall.setPageFooter("bndPie", 30);
    tall.setDataSet(table);
    const ReportDocument doc = tall.layout();
    EXPECT_EQ(doc.dump(), QStringLiteral("p1: PH D PF\np2: PH D PF\np3: PH S PF"));
    for (const PrintedBand& b : doc.bands)
        EXPECT_LE(b.rect.bottom(), tall.contentRect().bottom() + 0.01);
}

TEST_F(ReportLayoutTest, ThrowingEventOrUnknownGroupFieldStopsTheLayoutAndIsReportedOnce)
{
    build(day("01/06/2013", 3) + day("02/06/2013", 1, 4));
    report.detail()->setBeforePrint([this](bool&) {
        if (table.fieldAsFloat("Importe") == 2)
            throw std::runtime_error("division por cero");
    });
    ReportDocument doc = report.layout();
    EXPECT_EQ(errors, QStringList{"bndDetalle: division por cero"});
    EXPECT_TRUE(doc.failed());
    EXPECT_EQ(doc.dump(), QStringLiteral("p1: PH GH(01/06/2013) D"));

    errors.clear();
    report.detail()->setBeforePrint({});
    report.group("bndGrupoCabecera")->setExpression("NoExiste");
    doc = report.layout();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains("NoExiste"));
    EXPECT_TRUE(doc.failed());
}

} // namespace
