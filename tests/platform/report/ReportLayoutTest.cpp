// Page logic of the report engine, asserted on the laid-out document.
#include "platform/memtable/MemTable.h"
#include "platform/report/Report.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace lumetra;

namespace {

struct Row {
    const char* fecha;
    double talon;
    const char* texto = "";
};

class ReportLayoutTest : public ::testing::Test {
protected:
    void fill(const std::vector<Row>& rows)
    {
        table.empty();
        for (const Row& r : rows) {
            table.append();
            table.setField(QStringLiteral("Fecha"), QString::fromUtf8(r.fecha));
            table.setField(QStringLiteral("Talon"), r.talon);
            table.setField(QStringLiteral("Texto"), QString::fromUtf8(r.texto));
            table.post();
        }
    }

    // Page header, a day group that starts a new page, detail, day footer, summary, page footer.
    void build(qreal detailHeight = 24)
    {
        report.setPageHeader(QStringLiteral("bndCabeceraPagina"), 30).addLabel(QStringLiteral("qxtCabecera"), {0, 0, 200, 20}, QStringLiteral("Cabecera"));
        ReportGroup& day = report.addGroup(QStringLiteral("bndGrupoCabecera"), QStringLiteral("Fecha"), 40);
        day.setNewPage(true);
        day.header().addDataText(QStringLiteral("qxtFecha"), {0, 0, 200, 20}, QStringLiteral("Fecha"));
        ReportBand& detail = report.setDetail(QStringLiteral("bndDetalle"), detailHeight);
        detail.addDataText(QStringLiteral("qxtTalon"), {0, 0, 60, 20}, QStringLiteral("Talon"));
        ReportBand& footer = day.addFooter(QStringLiteral("bndGrupoPie"), 30);
        footer.addLabel(QStringLiteral("qxtTotal"), {0, 0, 200, 20});
        footer.setBeforePrint([this](bool&) {
            closedRows << QStringLiteral("%1 %2").arg(table.fieldAsText(QStringLiteral("Fecha"))).arg(table.fieldAsFloat(QStringLiteral("Talon")));
        });
        report.setSummary(QStringLiteral("bndSumario"), 30).addLabel(QStringLiteral("qxtFin"), {0, 0, 200, 20}, QStringLiteral("Fin"));
        report.setPageFooter(QStringLiteral("bndPiePagina"), 30)
            .addSysData(QStringLiteral("qrsPagina"), {300, 5, 100, 20}, ReportSysData::Data::PageNumber, QStringLiteral("Página "));
        report.setDataSet(table);
        report.setErrorHandler([this](const QString& where, const QString& message) { errors << where + QStringLiteral(": ") + message; });
    }

    QStringList bandTexts(const ReportDocument& doc, const QString& band) const
    {
        QStringList texts;
        for (const PrintedBand& b : doc.bands)
            if (b.name == band)
                texts << b.texts.join(QLatin1Char('|'));
        return texts;
    }

    static MemTable makeTable()
    {
        MemTable t(QStringLiteral("memPrueba"));
        t.addField(QStringLiteral("Fecha"), MemTable::FieldType::Text, 10);
        t.addField(QStringLiteral("Talon"), MemTable::FieldType::Float);
        t.addField(QStringLiteral("Texto"), MemTable::FieldType::Text, 200);
        t.open();
        return t;
    }

    MemTable table = makeTable();
    Report report{QStringLiteral("qrpPrueba")};
    QStringList closedRows;
    QStringList errors;
};

TEST_F(ReportLayoutTest, GroupsStartPagesAndFootersReadTheClosedGroupsLastRow)
{
    build();
    fill({{"01/06/2013", 1}, {"01/06/2013", 2}, {"01/06/2013", 3}, {"02/06/2013", 4}, {"02/06/2013", 5}});
    const ReportDocument doc = report.layout();
    EXPECT_EQ(doc.dump(), QStringLiteral("p1: PH GH(01/06/2013) D D D GF(01/06/2013) PF\n"
                                         "p2: PH GH(02/06/2013) D D GF(02/06/2013) S PF"));
    EXPECT_EQ(closedRows, (QStringList{"01/06/2013 3", "02/06/2013 5"}));
    EXPECT_EQ(bandTexts(doc, QStringLiteral("bndPiePagina")), (QStringList{"Página 1", "Página 2"}));
    EXPECT_EQ(bandTexts(doc, QStringLiteral("bndDetalle")), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_FALSE(doc.failed());
}

TEST_F(ReportLayoutTest, PageHeaderSuppressedAfterADayFooterShownOnContinuationPages)
{
    build();
    bool footerPrinted = false;
    report.pageHeader()->setBeforePrint([&](bool& print) {
        if (footerPrinted) {
            print = false;
            footerPrinted = false;
        }
    });
    report.group(QStringLiteral("bndGrupoCabecera"))->footer()->setAfterPrint([&](bool) { footerPrinted = true; });
    std::vector<Row> rows;
    for (int i = 0; i < 50; ++i)   // more than one page of 24-unit lines
        rows.push_back({"01/06/2013", double(i)});
    rows.push_back({"02/06/2013", 100});
    fill(rows);

    const ReportDocument doc = report.layout();
    const QStringList pages = doc.dump().split(QLatin1Char('\n'));
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].startsWith(QStringLiteral("p1: PH GH(01/06/2013) D")));
    EXPECT_TRUE(pages[1].startsWith(QStringLiteral("p2: PH D")));            // continuation of the day
    EXPECT_TRUE(pages[1].endsWith(QStringLiteral("GF(01/06/2013) PF")));
    EXPECT_EQ(pages[2], QStringLiteral("p3: GH(02/06/2013) D GF(02/06/2013) S PF"));   // new day: no page header
    // Every band fits inside its page's body.
    for (const PrintedBand& b : doc.bands)
        EXPECT_LE(b.rect.bottom(), report.contentRect().bottom() + 0.01) << b.name.toStdString();
}

TEST_F(ReportLayoutTest, RepeatedGroupHeaderOpensEveryContinuationPage)
{
    build();
    report.group(QStringLiteral("bndGrupoCabecera"))->setRepeatOnNewPage(true);
    std::vector<Row> rows(45, Row{"01/06/2013", 7});
    fill(rows);
    const QStringList pages = report.layout().dump().split(QLatin1Char('\n'));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[1].startsWith(QStringLiteral("p2: PH GH(01/06/2013) D")));
}

// Sales of one line each, then one long sale: a sale header falls on every page bottom, with
// room for itself but not for its line, or without room at all.
TEST_F(ReportLayoutTest, RepeatedHeaderPrintsOnceAtAPageBreakAndNeverEndsAPage)
{
    build();
    ReportGroup& sale = report.addGroup(QStringLiteral("bndGrupoVenta"), QStringLiteral("Talon"), 20);
    sale.setRepeatOnNewPage(true);
    sale.header().addDataText(QStringLiteral("qxtVenta"), {0, 0, 200, 18}, QStringLiteral("Talon"));
    std::vector<Row> rows;
    for (int v = 1; v <= 90; ++v)
        rows.push_back({"01/06/2013", double(v)});
    for (int i = 0; i < 90; ++i)
        rows.push_back({"01/06/2013", 1000});
    fill(rows);
    const ReportDocument doc = report.layout();
    ASSERT_GE(doc.pageCount(), 5);

    QStringList firstOnPage;   // the sale that opens each page after the first
    for (int p = 0; p < doc.pageCount(); ++p) {
        QStringList codes;
        QStringList sales;
        for (const PrintedBand& b : doc.bands) {
            if (b.page != p)
                continue;
            if (b.name == QLatin1String("bndGrupoVenta")) {
                EXPECT_FALSE(sales.contains(b.group)) << "sale " << b.group.toStdString() << " headed twice on page " << p + 1;
                sales << b.group;
            }
            codes << (b.name == QLatin1String("bndGrupoVenta") ? QStringLiteral("V") : ReportDocument::bandCode(b.type));
        }
        // A sale header is always followed by a line of its sale on its page.
        const QString page = codes.join(QLatin1Char(' '));
        EXPECT_FALSE(page.contains(QStringLiteral("V PF")) || page.contains(QStringLiteral("V V"))) << "page " << p + 1 << ": " << page.toStdString();
        if (p > 0)
            firstOnPage << sales.value(0);
    }
    // Each short sale headed once in all; the long one once more on every page it continues on.
    int headers = 0;
    for (const PrintedBand& b : doc.bands)
        headers += b.name == QLatin1String("bndGrupoVenta");
    EXPECT_EQ(headers, 91 + firstOnPage.count(QStringLiteral("1000")));
    EXPECT_GE(firstOnPage.count(QStringLiteral("1000")), 2);
}

TEST_F(ReportLayoutTest, SuppressedBandTakesNoSpace)
{
    build();
    report.detail()->setBeforePrint([this](bool& print) { print = int(table.fieldAsFloat(QStringLiteral("Talon"))) % 2 == 1; });
    fill({{"01/06/2013", 1}, {"01/06/2013", 2}, {"01/06/2013", 3}, {"01/06/2013", 4}, {"01/06/2013", 5}});
    const ReportDocument doc = report.layout();
    QList<qreal> tops;
    for (const PrintedBand& b : doc.bands)
        if (b.type == BandType::Detail)
            tops << b.rect.top();
    ASSERT_EQ(tops.size(), 3);
    EXPECT_DOUBLE_EQ(tops[1] - tops[0], 24);
    EXPECT_DOUBLE_EQ(tops[2] - tops[1], 24);
    EXPECT_EQ(bandTexts(doc, QStringLiteral("bndDetalle")), (QStringList{"1", "3", "5"}));
}

TEST_F(ReportLayoutTest, WordWrappedTextStretchesItsBand)
{
    build();
    ReportDataText* text = report.detail()->addDataText(QStringLiteral("qxtTexto"), {100, 0, 80, 20}, QStringLiteral("Texto"));
    text->setWordWrap(true);
    text->setStretch(true);
    fill({{"01/06/2013", 1, "Montura de acetato carey con lentes progresivas antirreflejantes y funda"},
          {"01/06/2013", 2, "Corto"}});
    const ReportDocument doc = report.layout();
    QList<QRectF> details;
    for (const PrintedBand& b : doc.bands)
        if (b.type == BandType::Detail)
            details << b.rect;
    ASSERT_EQ(details.size(), 2);
    EXPECT_GT(details[0].height(), 50);
    EXPECT_DOUBLE_EQ(details[1].top(), details[0].bottom());
    EXPECT_DOUBLE_EQ(details[1].height(), 24);
}

TEST_F(ReportLayoutTest, LabelsCreatedAtRunTimePrintAndGoAway)
{
    build();
    ReportBand* footer = report.group(QStringLiteral("bndGrupoCabecera"))->footer();
    std::vector<ReportLabel*> created;
    report.setBeforePrint([&] {
        for (int i = 0; i < 3; ++i)
            created.push_back(footer->addLabel(QStringLiteral("lblIva%1").arg(i), {400, 20.0 * i, 80, 18}));
    });
    footer->setBeforePrint([&](bool&) {
        for (size_t i = 0; i < created.size(); ++i)
            created[i]->setCaption(QStringLiteral("%1,00 %").arg(i * 10));
    });
    fill({{"01/06/2013", 1}});
    const ReportDocument doc = report.layout();
    EXPECT_EQ(bandTexts(doc, QStringLiteral("bndGrupoPie")), (QStringList{"|0,00 %|10,00 %|20,00 %"}));
    for (ReportLabel* label : created)
        EXPECT_TRUE(footer->removeElement(label));
    EXPECT_EQ(footer->elements().size(), 1u);
}

TEST_F(ReportLayoutTest, EmptyReportStillPrintsItsPage)
{
    build();
    fill({});
    EXPECT_EQ(report.layout().dump(), QStringLiteral("p1: PH S PF"));

    Report bare(QStringLiteral("qrpInforme"));
    bare.setDetail(QStringLiteral("bndDetalle"), 100).addLabel(QStringLiteral("qxtTexto"), {0, 0, 100, 20}, QStringLiteral("Una vez"));
    bare.setPageFooter(QStringLiteral("bndPie"), 20);
    const ReportDocument once = bare.layout();
    EXPECT_EQ(once.dump(), QStringLiteral("p1: D PF"));
    EXPECT_EQ(once.pageTexts(0), (QStringList{"Una vez"}));
}

TEST_F(ReportLayoutTest, BandTallerThanAPageIsClippedNotLoopedOn)
{
    Report tall(QStringLiteral("qrpAlto"));
    tall.setPageHeader(QStringLiteral("bndCabecera"), 30);
    tall.setDetail(QStringLiteral("bndDetalle"), 5000);
    tall.setSummary(QStringLiteral("bndSumario"), 30);
    tall.setPageFooter(QStringLiteral("bndPie"), 30);
    fill({{"01/06/2013", 1}, {"01/06/2013", 2}});
    tall.setDataSet(table);
    const ReportDocument doc = tall.layout();
    EXPECT_EQ(doc.dump(), QStringLiteral("p1: PH D PF\np2: PH D PF\np3: PH S PF"));
    for (const PrintedBand& b : doc.bands)
        EXPECT_LE(b.rect.bottom(), tall.contentRect().bottom() + 0.01);
}

TEST_F(ReportLayoutTest, ThrowingEventStopsTheLayoutAndIsReportedOnce)
{
    build();
    report.detail()->setBeforePrint([this](bool&) {
        if (table.fieldAsFloat(QStringLiteral("Talon")) == 2)
            throw std::runtime_error("division por cero");
    });
    fill({{"01/06/2013", 1}, {"01/06/2013", 2}, {"01/06/2013", 3}, {"02/06/2013", 4}});
    const ReportDocument doc = report.layout();
    EXPECT_EQ(errors, (QStringList{"bndDetalle: division por cero"}));
    EXPECT_TRUE(doc.failed());
    EXPECT_EQ(doc.dump(), QStringLiteral("p1: PH GH(01/06/2013) D"));
}

TEST_F(ReportLayoutTest, UnknownGroupFieldIsReportedNotCrashed)
{
    build();
    report.group(QStringLiteral("bndGrupoCabecera"))->setExpression(QStringLiteral("NoExiste"));
    fill({{"01/06/2013", 1}});
    const ReportDocument doc = report.layout();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QStringLiteral("NoExiste")));
    EXPECT_TRUE(doc.failed());
}

} // namespace
