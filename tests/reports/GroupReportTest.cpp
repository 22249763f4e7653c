// The report by sales groups over a real database, read back from its laid-out pages.
#include "ReportsFixture.h"

#include "reports/frmReportGrupos.h"

#include <set>

using namespace lumetra;

namespace {

constexpr int Columnas = TfrmReportGrupos::ColumnasGrupos;

QString codigo(int k) { return QStringLiteral("G%1").arg(k, 2, 10, QChar('0')); }
// Row r of the date footer: its title, then one text per column.
QStringList filaPie(const PrintedBand& pie, int r) { return pie.texts.mid(r * (Columnas + 1), Columnas + 1); }
// The column headings of a date header or a page header.
QStringList encabezados(const PrintedBand& b) { return b.texts.mid(b.texts.size() - Columnas); }

using GroupReportTest = test::ReportsFixture;

TEST_F(GroupReportTest, OnlyTheFirstFourteenCodesGetColumnsAndUngroupedLinesNone)
{
    venta(1, "2013-06-15 10:00", 0, 100);
    linea(1, "SIN", 0, 1, 7, 7);   // the placeholder group of lines without one: no column, no line
    for (int k = 1; k <= 16; ++k) {
        grupo(k, codigo(k));
        linea(1, QStringLiteral("R") + codigo(k), k, 1, k, k);
    }
    abrirGrupos();
    const ReportDocument doc = imprimir<TfrmReportGrupos>();

    QStringList codigos, importes;
    for (int k = 1; k <= Columnas; ++k) {
        codigos << codigo(k);
        importes << QStringLiteral("%1,00 €").arg(k);
    }
    EXPECT_EQ(encabezados(bands(doc, "bndGrupoFecha").first()), codigos);
    const QList<PrintedBand> lineas = bands(doc, "bndDetalle");
    ASSERT_EQ(lineas.size(), 16);
    for (int l = 1; l <= 16; ++l) {
        QStringList esperado(Columnas + 1, QString());
        esperado[0] = QStringLiteral("R") + codigo(l);
        if (l <= Columnas)
            esperado[l] = importes[l - 1];
        EXPECT_EQ(lineas[l - 1].texts, esperado) << l;   // the last two lines: no column, no total
    }
    EXPECT_EQ(filaPie(bands(doc, "bndPieGrupo").first(), 0).mid(1), importes);
}

TEST_F(GroupReportTest, FooterFiguresPerGroup)
{
    grupo(1, "AV");
    grupo(2, "DT");
    grupo(3, "ZZ");
    grupo(4, "LC");
    venta(1, "2013-06-15 10:00", 0, 100);
    linea(1, "A1", 1, 1, 50, 41.32, 8.68);
    linea(1, "A2", 1, -1, 40, -33.06, -6.94);   // a return: the units add up to 0
    linea(1, "D1", 2, 1, 100, 99.17, 20.83);    // sold above its list price
    linea(1, "D2", 2, 2, 10, 15);
    linea(1, "Z1", 3, 4, 25, 90);
    linea(1, "L1", 4, 0.1, 10, 1);   // units that add up to float dust: no average
    linea(1, "L2", 4, 0.2, 10, 2);
    linea(1, "L3", 4, -0.3, 10, -2.5);
    abrirGrupos();
    const ReportDocument doc = imprimir<TfrmReportGrupos>();
    const PrintedBand pie = bands(doc, "bndPieGrupo").first();

    // Per column: total, units, average, discount.
    const QList<QStringList> cifras = {{"10,00 €", "0,00", "0,00 €", "0,00 €"},
                                       {"135,00 €", "3,00", "45,00 €", "-15,00 €"},
                                       {"0,50 €", "0,00", "0,00 €", "-0,50 €"},
                                       {"90,00 €", "4,00", "22,50 €", "10,00 €"}};
    for (int k = 1; k <= 4; ++k)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(filaPie(pie, r)[k], cifras[k - 1][r]) << "column " << k << " row " << r;
    EXPECT_EQ(filaPie(pie, 2)[0], "Media.....................");
    // Columns without a code stay empty in the headings, the cells and the footer.
    const QStringList vacias(Columnas - 4, QString());
    EXPECT_EQ(encabezados(bands(doc, "bndGrupoFecha").first()), QStringList({"AV", "DT", "LC", "ZZ"}) + vacias);
    for (const PrintedBand& l : bands(doc, "bndDetalle"))
        EXPECT_EQ(l.texts.mid(5), vacias) << l.texts.first().toStdString();
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(filaPie(pie, r).mid(5), vacias) << r;
}

// A one-page date, a date over several pages, a one-page date.
TEST_F(GroupReportTest, PageHeadersOperationsTotalsAndFooterDatesAcrossDates)
{
    grupo(1, "GA");
    venta(1, "2013-06-14 10:00", 0, 7568);
    linea(1, "A", 1, 1, 10, 10);
    for (int v = 2; v <= 3; ++v) {
        venta(v, QStringLiteral("2013-06-16 1%1:00").arg(v), v - 1, 7568);   // kinds 1 and 2: orders
        for (int i = 0; i < 50; ++i)
            linea(v, QStringLiteral("B%1").arg(i), 1, 1, 1, 1);
    }
    venta(4, "2013-06-18 10:00", 0, 4);
    linea(4, "C", 1, 1, 7, 7);
    abrirGrupos();
    const ReportDocument doc = imprimir<TfrmReportGrupos>();

    const QList<PrintedBand> fechas = bands(doc, "bndGrupoFecha");
    ASSERT_EQ(fechas.size(), 3);
    const int inicioB = fechas[1].page, inicioC = fechas[2].page;
    ASSERT_EQ(inicioB, 1);
    ASSERT_GE(inicioC - inicioB, 3) << doc.dump().toStdString();
    // Headed: every page the long date continues on; a date's first page has its date header alone.
    std::set<int> esperadas, cabeceras;
    for (int p = inicioB + 1; p < inicioC; ++p)
        esperadas.insert(p);
    for (const PrintedBand& b : bands(doc, "bndCabecera"))
        cabeceras.insert(b.page);
    EXPECT_EQ(cabeceras, esperadas) << doc.dump().toStdString();
    EXPECT_TRUE(doc.dump().split('\n')[inicioC].startsWith(QStringLiteral("p%1: GH(18/06/2013)").arg(inicioC + 1)));
    const PrintedBand cabecera = bands(doc, "bndCabecera").first();
    EXPECT_EQ(cabecera.texts.first(), "Informe Por Grupos del día 16/06/2013");
    EXPECT_EQ(encabezados(cabecera), QStringList("GA") + QStringList(Columnas - 1, QString()));

    // Sale headers; one running onto a new page repeats there.
    QStringList operaciones;
    for (const PrintedBand& b : bands(doc, "bndGrupoOperacion"))
        if (operaciones.isEmpty() || operaciones.last() != b.texts.value(0))
            operaciones << b.texts.value(0);
    EXPECT_EQ(operaciones, QStringList({"Venta Nº 7568", "Encargo Nº7568", "Venta Nº 4"}));
    for (int p = inicioB + 1; p < inicioC; ++p)
        EXPECT_EQ(bands(doc, "bndGrupoOperacion", p).isEmpty(), bands(doc, "bndDetalle", p).isEmpty()) << p;

    QStringList totales, fechasPie;
    for (const PrintedBand& pie : bands(doc, "bndPieGrupo"))
        totales << filaPie(pie, 0)[1];
    EXPECT_EQ(totales, QStringList({"10,00 €", "100,00 €", "7,00 €"}));
    for (int p = 0; p < doc.pageCount(); ++p)
        fechasPie << bands(doc, "bndPie", p).first().texts.value(1);
    QStringList esperadasPie(doc.pageCount(), QStringLiteral("16/06/2013"));
    esperadasPie.first() = QStringLiteral("14/06/2013");
    esperadasPie.last() = QStringLiteral("18/06/2013");
    EXPECT_EQ(fechasPie, esperadasPie);
}

TEST_F(GroupReportTest, AFailedCellPrintsTheZeroAmountAndTheLineGoesOn)
{
    grupo(1, "GA");
    venta(1, "2013-06-15 10:00", 0, 1);
    linea(1, "R1", 1, 1, 10, 10);
    abrirGrupos(QString(kGrupos).replace(QStringLiteral("DV.UNIDADES"), QStringLiteral("DV.UNIDADES OTRAS")));
    const ReportDocument doc = imprimir<TfrmReportGrupos>();
    EXPECT_EQ(bands(doc, "bndDetalle").first().texts.mid(0, 3), QStringList({"R1", "0,00 €", ""}));
    EXPECT_EQ(filaPie(bands(doc, "bndPieGrupo").first(), 0)[1], "0,00 €");
}

} // namespace
