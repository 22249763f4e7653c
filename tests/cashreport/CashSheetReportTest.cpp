// The cash sheet and the VAT journal end to end: the real module's window loads a real database
// and previews the report; the tests read the laid-out pages.
#include "support/ListingWindowFixture.h"

#include "support/TestTools.h"
#include "platform/format/DateTime.h"
#include "platform/format/PrintQString.h"
#include "platform/report/PrintedText.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QToolButton>

using namespace lumetra;

namespace {

constexpr int Efectivo = 1, Talon = 2, Albaran = 3, Tarjeta = 4;

DateTime junio(int d)
{
    return DateTime::fromYmd(2013, 6, d);
}

// An amount as the database keeps it, two decimals.
QString euros(double importe)
{
    return QString::number(importe, 'f', 2);
}

class CashSheetReportTest : public test::ListingWindowFixture {
protected:
    void SetUp() override
    {
        ListingWindowFixture::SetUp();
        exec({"insert into PACIENTE (ID_PACIENTE, NOMBRE, APELLIDOS) values (1, 'Ana', 'Puig')",
              "insert into PACIENTE (ID_PACIENTE, NOMBRE, APELLIDOS, BORRADO) values (2, 'Luis', 'Borrado', 1)",
              "insert into AGENTE (ID_AGENTE, CODIGO) values (7, '7')",
              "insert into GRUPO (ID_GRUPO, CODIGO) values (1, 'GR')"});
    }

    // A sale of store 2 (Gràcia), ticket 1000 + id, invoice `fs` (its id when 0).
    void venta(int id, const char* fecha, int tipo, double liquido, const char* pagado, int paciente = 1, int fs = 0)
    {
        exec({QStringLiteral("insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, ID_PACIENTE, "
                             "LIQUIDO_M1, FS_ENCARGO, FS_COBRO, FS_SERIE) values (%1, 2, '%2', '%3', %4, %5, %6, %7, %8, %8, 'A')")
                  .arg(id).arg(QString::fromLatin1(fecha), QString::fromLatin1(pagado)).arg(tipo).arg(1000 + id)
                  .arg(paciente).arg(euros(liquido)).arg(fs ? fs : id)});
    }
    void linea(int venta, const char* ref, double base, double iva, double porcentaje)
    {
        exec({QStringLiteral("insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1) "
                             "values (%1, '%2', 'Linea %2', %3, %4, %5, %6, 1, 7)")
                  .arg(venta).arg(QString::fromLatin1(ref), euros(base + iva), euros(base), euros(iva)).arg(porcentaje)});
    }
    void cobro(int venta, const char* fecha, double importe, int forma)
    {
        exec({QStringLiteral("insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (%1, 2, '%2', %3, %4, %1)")
                  .arg(venta).arg(QString::fromLatin1(fecha), euros(importe)).arg(forma)});
    }
    // A direct sale of one line, collected whole when it is made.
    void directa(int id, const char* fecha, const char* ref, double base, double iva, double porcentaje, int forma)
    {
        venta(id, fecha, 0, base + iva, fecha);
        linea(id, ref, base, iva, porcentaje);
        cobro(id, fecha, base + iva, forma);
    }
    void caja(const char* fecha, int tipo, double importe, int forma = Efectivo)
    {
        exec({QStringLiteral("insert into CAJA (ID_TIENDA, FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values (2, '%1', %2, 'Mov %2', %3, %4)")
                  .arg(QString::fromLatin1(fecha)).arg(tipo).arg(euros(importe)).arg(forma)});
    }

    // Opens the window, sets the Hoja page, prints; the previewed document.
    const ReportDocument* print(const DateTime& desde, const DateTime& hasta, int calculo = 0,
                                const std::function<void()>& ajustes = {})
    {
        if (!window)
            open();
        control<QComboBox>(QStringLiteral("cbxFechaCaja"))->setCurrentText(desde == hasta ? QStringLiteral("Igual a...") : QStringLiteral("...Entre..."));
        control<DateEdit>(QStringLiteral("edtFechaInicioCaja"))->setValue(desde);
        control<DateEdit>(QStringLiteral("edtFechaFinCaja"))->setValue(hasta);
        control<QComboBox>(QStringLiteral("cbxCajaIva"))->setCurrentIndex(calculo);
        control<QCheckBox>(QStringLiteral("chxDetalleCaja"))->setChecked(false);
        if (ajustes)
            ajustes();
        interaction->outputs.clear();
        control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
        QApplication::processEvents();
        EXPECT_TRUE(interaction->dialogs.isEmpty()) << interaction->dialogs.join(QLatin1Char('\n')).toStdString();
        return output(QStringLiteral("hoja"));
    }

    const ReportDocument* output(const QString& name) const
    {
        for (const auto& o : interaction->outputs)
            if (o.name == name)
                return &o.document;
        return nullptr;
    }

    static QList<QStringList> bands(const ReportDocument& doc, const QString& name) { return test::bandTexts(doc, name); }

    struct Hoja {
        QList<QStringList> detalle;
        QStringList pie;   // the day's footer
    };
    // The cash sheet of one day.
    Hoja hoja(const DateTime& dia, int calculo = 0, const std::function<void()>& ajustes = {})
    {
        const ReportDocument* doc = print(dia, dia, calculo, ajustes);
        EXPECT_NE(doc, nullptr);
        return doc ? Hoja{bands(*doc, QStringLiteral("bndDetalle")), bands(*doc, QStringLiteral("bndGrupoPie")).value(0)} : Hoja{};
    }
    std::function<void()> marcar(std::initializer_list<const char*> casillas, bool marcada = true)
    {
        const QList<const char*> nombres(casillas);
        return [this, nombres, marcada] {
            for (const char* nombre : nombres)
                control<QCheckBox>(QLatin1String(nombre))->setChecked(marcada);
        };
    }

    // The text next to `title` in a band's texts (a footer row: title then value, or the count before it).
    static QString after(const QStringList& texts, const QString& title, int step = 1)
    {
        const int i = texts.indexOf(title);
        return i >= 0 ? texts.value(i + step, QStringLiteral("<sin %1>").arg(title)) : QStringLiteral("<sin %1>").arg(title);
    }
    static QString before(const QStringList& texts, const QString& title) { return after(texts, title, -1); }

    // Each detail row as "description|amount columns".
    static QStringList filas(const Hoja& h)
    {
        QStringList f;
        for (const QStringList& d : h.detalle)
            f << d.value(5) + QLatin1Char('|') + d.mid(8).join(QLatin1Char('|'));
        return f;
    }

    // The rows of the day's VAT table: "base percentage VAT".
    static QStringList vatRows(const QStringList& pie)
    {
        QStringList rows;
        for (int i = 1; i + 1 < pie.size(); ++i)
            if (pie[i].endsWith(QLatin1String("% IVA")))
                rows << pie[i - 1] + QLatin1Char(' ') + pie[i] + QLatin1Char(' ') + pie[i + 1];
        return rows;
    }
    QStringList vatDay(const DateTime& day, int calculo) { return vatRows(hoja(day, calculo).pie); }

    static const ReportItem* item(const ReportDocument& doc, const QString& text)
    {
        for (const ReportPage& page : doc.pages)
            for (const ReportItem& i : page.items)
                if (i.kind == ReportItem::Kind::Text && i.text == text)
                    return &i;
        return nullptr;
    }

    // Nothing runs into its neighbour or out of the margins on a real PDF.
    static void printsWhole(const ReportDocument& doc, const char* pdf)
    {
        QTemporaryDir dir;
        const QStringList problems = test::textsNotPrintedWhole(doc, QMarginsF(6, 10, 6, 10), dir.filePath(QLatin1String(pdf)));
        EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    }
};

// Columns of a detail row: FacSimple, Talón, Gr., Agen., Referencia, Descripción, Dto línea,
// Dto global, Efectivo, Talones, Tarjetas, Gastos.
TEST_F(CashSheetReportTest, DirectSaleOfTwoLinesPaidInCashWithAndWithoutItsTotals)
{
    venta(1, "2013-06-15 10:00", 0, 121 + 11, "2013-06-15 10:00");
    linea(1, "MON-1", 100, 21, 21);
    linea(1, "LIQ-1", 10, 1, 10);
    cobro(1, "2013-06-15 10:00", 132, Efectivo);
    const ReportDocument* doc = print(junio(15), junio(15));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(bands(*doc, QStringLiteral("bndGrupoCabecera")).value(0).value(0), QStringLiteral("Hoja de Caja del día 15/06/2013"));
    const auto detalle = bands(*doc, QStringLiteral("bndDetalle"));
    ASSERT_EQ(detalle.size(), 2);   // the lines, not the collection row
    EXPECT_EQ(detalle[0], (QStringList{"A/1", "1.001", "GR", "7", "MON-1", "Linea MON-1", "0,00", "0,00", "121,00 €", "", "", ""}));
    EXPECT_EQ(detalle[1][8], QStringLiteral("11,00 €"));
    QStringList pie = bands(*doc, QStringLiteral("bndGrupoPie")).value(0);
    EXPECT_EQ(after(pie, QStringLiteral("Totales....")), QStringLiteral("132,00 €"));
    EXPECT_EQ(after(pie, QStringLiteral("Total Cobros Día ...................")), QStringLiteral("132,00 €"));
    EXPECT_EQ(before(pie, QStringLiteral("Ventas Directas ........")), QStringLiteral("1"));   // one direct sale
    EXPECT_EQ(after(pie, QStringLiteral("Ventas Directas ........")), QStringLiteral("132,00 €"));
    // Day VAT from the printed lines, by rate.
    EXPECT_EQ(vatRows(pie), (QStringList{"10,00 € 10,00 % IVA 1,00 €", "100,00 € 21,00 % IVA 21,00 €"}));

    // The day's and month's totals switched off; a card report ticked with no card payment is
    // left out.
    pie = hoja(junio(15), 0, [this] {
        marcar({"chxTotalesDia", "chxTotalesMes"}, false)();
        marcar({"chxInformeTarjetas"})();
    }).pie;
    for (const char* title : {"Ventas Directas ........", "Encargos ...................", "Total Ventas del Día .............",
                              "Total Ventas del Mes ............", "Total Cobros del Mes ............"})
        EXPECT_FALSE(pie.contains(QString::fromUtf8(title))) << title;
    EXPECT_TRUE(pie.contains(QStringLiteral("Total Albarán .......................")));
    EXPECT_EQ(output(QStringLiteral("tarjetas")), nullptr);
    EXPECT_TRUE(interaction->messages.isEmpty()) << interaction->messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(CashSheetReportTest, OrderCollectedByCardPrintsACuentaAndItsLinesOnlyWithDetail)
{
    venta(1, "2013-06-15 10:00", 1, 121, "2079-05-30");
    linea(1, "MON-1", 100, 21, 21);
    cobro(1, "2013-06-15 10:00", 50, Tarjeta);
    Hoja h = hoja(junio(15));
    ASSERT_EQ(h.detalle.size(), 1);
    EXPECT_EQ(h.detalle[0][0], QStringLiteral("A Cuenta"));
    EXPECT_EQ(h.detalle[0][5], QStringLiteral("Puig, Ana"));
    EXPECT_EQ(h.detalle[0][10], QStringLiteral("50,00 €"));

    h = hoja(junio(15), 0, marcar({"chxDetalleCaja"}));
    ASSERT_EQ(h.detalle.size(), 2);
    EXPECT_EQ(h.detalle[1][4], QStringLiteral("MON-1"));
    EXPECT_EQ(after(h.pie, QStringLiteral("Totales....")), QStringLiteral("0,00 €"));
    EXPECT_EQ(h.pie.value(3), QStringLiteral("50,00 €"));   // card total: the collection only
}

TEST_F(CashSheetReportTest, DeliveryNotesOnlyInTheirTotalAndCashBoxBalances)
{
    directa(1, "2013-06-15 10:00", "SOL-1", 50, 10.5, 21, Albaran);
    caja("2013-06-15 09:30", 5, 150);           // opening float
    caja("2013-06-15 12:00", 1, 20);            // expense in cash
    caja("2013-06-15 13:00", 1, 30, Tarjeta);   // expense by card
    caja("2013-06-15 14:00", 2, 100);           // supplier paid in cash
    caja("2013-06-15 15:00", 3, 50);            // change put in
    caja("2013-06-15 20:30", 4, 40);            // taken to the bank
    const Hoja h = hoja(junio(15));
    ASSERT_EQ(h.detalle.size(), 6);   // the movements; the delivery note never prints
    EXPECT_EQ(h.detalle[0][5], QStringLiteral("Mov 5"));   // the opening float comes first
    EXPECT_EQ(h.detalle[0][8], QStringLiteral("150,00 €"));
    EXPECT_EQ(after(h.pie, QStringLiteral("Total Albarán .......................")), QStringLiteral("60,50 €"));
    // Till: 0 cash sales + 150 float + 50 put in - 100 - 20 paid in cash - 40 to the bank.
    EXPECT_EQ(after(h.pie, QStringLiteral("Dinero En Caja ......................")), QStringLiteral("40,00 €"));
    // Balance: collections - expenses of types 1 and 2, whatever they were paid with.
    EXPECT_EQ(after(h.pie, QStringLiteral("Saldo Caja.......")), QStringLiteral("-150,00 €"));
    EXPECT_EQ(h.pie.value(4), QStringLiteral("150,00 €"));   // "Gastos": types 1 and 2
}

TEST_F(CashSheetReportTest, RowsWithoutAnAmountColumnPrintNoAmount)
{
    exec({"insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO, TIPO_PAGO) values (10, 10, 'Financiera', 0, 5)"});
    directa(1, "2013-06-15 10:00", "MON-1", 82.64, 17.35, 21, Tarjeta);
    directa(2, "2013-06-15 11:00", "MON-2", 50, 10.5, 21, 10);   // paid through a finance company
    caja("2013-06-15 18:00", 0, 12.34);                          // a movement of no known type
    EXPECT_EQ(filas(hoja(junio(15))), (QStringList{"Linea MON-1|||99,99 €|", "Linea MON-2||||", "Mov 0||||"}));
}

TEST_F(CashSheetReportTest, DirectSalesPaidInPartsCountTheMoneyCollectedAndTheSaleOnce)
{
    venta(1, "2013-06-15 10:00", 0, 100, "2013-06-15 10:00");    // 60 in cash and 40 by card
    linea(1, "MON-1", 82.64, 17.36, 21);
    cobro(1, "2013-06-15 10:00", 60, Efectivo);
    cobro(1, "2013-06-15 10:01", 40, Tarjeta);
    venta(2, "2013-06-14 12:00", 0, 50, "2013-06-15 12:00");     // 20 on the 14th, the rest on the 15th
    linea(2, "SOL-2", 41.32, 8.68, 21);
    cobro(2, "2013-06-14 12:00", 20, Efectivo);
    cobro(2, "2013-06-15 12:00", 30, Tarjeta);

    const Hoja h15 = hoja(junio(15), 0, marcar({"chxTotalesDia"}));
    // Each part with its amount in its column; the lines once, under the sale's first part,
    // with no amount of their own.
    EXPECT_EQ(filas(h15), (QStringList{"Puig, Ana|60,00 €|||", "Linea MON-1||||", "Puig, Ana|||40,00 €|",
                                       "Puig, Ana|||30,00 €|", "Linea SOL-2||||"}));
    EXPECT_EQ(after(h15.pie, QStringLiteral("Dinero En Caja ......................")), QStringLiteral("60,00 €"));
    EXPECT_EQ(before(h15.pie, QStringLiteral("Ventas Directas ........")), QStringLiteral("2"));
    EXPECT_EQ(after(h15.pie, QStringLiteral("Ventas Directas ........")), QStringLiteral("150,00 €"));
    EXPECT_EQ(vatRows(h15.pie), (QStringList{"123,96 € 21,00 % IVA 26,04 €"}));

    // The 14th has the first part of the second sale and none of its lines.
    const Hoja h14 = hoja(junio(14), 0, marcar({"chxTotalesDia"}));
    EXPECT_EQ(filas(h14), (QStringList{"Puig, Ana|20,00 €|||"}));
    EXPECT_EQ(before(h14.pie, QStringLiteral("Ventas Directas ........")), QStringLiteral("0"));
    EXPECT_TRUE(vatRows(h14.pie).isEmpty());
}

// The 13th fills its first page with lines and has its footer alone on the next; the 14th runs
// over two pages; the 15th fits one.
TEST_F(CashSheetReportTest, EachDayOnItsOwnPageWithThePageHeaderRules)
{
    for (int d = 13; d <= 15; ++d) {
        directa(d, QStringLiteral("2013-06-%1 10:00").arg(d).toLatin1().constData(), "ACC-1", 10, 2.1, 21, Efectivo);
    }
    for (int i = 0; i < 29; ++i)
        caja("2013-06-13 12:00", 1, 1);
    for (int i = 0; i < 45; ++i)
        caja("2013-06-14 12:00", 1, 1);
    const ReportDocument* doc = print(junio(13), junio(15));
    ASSERT_NE(doc, nullptr);
    // The first page carries both headers; a later day's first page its day header alone; a page
    // holding only a day's footer is headed like any other page of the day. Runs of lines: "D…".
    EXPECT_EQ(doc->dump().replace(QRegularExpression(QStringLiteral("( D)+")), QStringLiteral(" D…")).split(QLatin1Char('\n')),
              (QStringList{"p1: PH GH(13/06/2013) D… PF", "p2: PH GF(13/06/2013) PF", "p3: GH(14/06/2013) D… PF",
                           "p4: PH D… GF(14/06/2013) PF", "p5: GH(15/06/2013) D… GF(15/06/2013) PF"}));
    // Each page footer shows the day printed on its page.
    EXPECT_EQ(bands(*doc, QStringLiteral("bndPiePagina")),
              (QList<QStringList>{{"1", "13/06/2013"}, {"2", "13/06/2013"}, {"3", "14/06/2013"}, {"4", "14/06/2013"}, {"5", "15/06/2013"}}));
}

// The widest texts of each column in the fonts their rows print with, on a real PDF: italic for
// an operation that is not a sale, bold for a deleted patient and for one that is not found.
TEST_F(CashSheetReportTest, EveryTextPrintsWholeInsideTheMarginsInItsRowsFont)
{
    exec({"insert into AGENTE (ID_AGENTE, CODIGO) values (33, '33')", "insert into AGENTE (ID_AGENTE, CODIGO) values (3, '3')"});
    venta(1, "2013-06-15 10:00", 0, 1210, "2013-06-15 10:00", 1, 130000901);   // a long invoice number
    exec({"insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, "
          "ID_AGENTE_1, ID_AGENTE_2, ID_AGENTE_3) values (1, 'LOF-1602', 'Lente progresiva 1.60 antirreflejante', "
          "1210, 1000, 210, 21, 1, 33, 33, 3)"});
    cobro(1, "2013-06-15 10:00", 1210, Efectivo);
    venta(2, "2013-06-15 11:00", 1, 40, "2079-05-30", 2);   // a deleted patient's order
    linea(2, "LC-1", 36.36, 3.64, 10);
    cobro(2, "2013-06-15 11:00", -1234.56, Talon);
    venta(3, "2013-06-15 12:00", 3, 15, "2013-06-15 12:00");   // a repair
    linea(3, "REP-1", 12.4, 2.6, 21);
    cobro(3, "2013-06-15 12:00", 15, Efectivo);
    venta(4, "2013-06-15 13:00", 1, 20, "2079-05-30", 999);   // a patient that is not found
    linea(4, "LC-2", 18.18, 1.82, 10);
    cobro(4, "2013-06-15 13:00", 20, Efectivo);
    caja("2013-06-15 18:00", 1, 20);
    const ReportDocument* doc = print(junio(15), junio(15), 0, marcar({"chxTotalesDia", "chxTotalesMes"}));
    ASSERT_NE(doc, nullptr);
    for (const char* texto : {"Nº Fac. Simple", "A/130.000.901", "33;33;3", "-1.234,56 €", "Dinero En Caja ......................"})
        EXPECT_NE(item(*doc, QString::fromUtf8(texto)), nullptr) << texto;
    for (const auto& [texto, negrita, cursiva] : {std::tuple{"Puig, Ana", false, true}, {"Borrado, Luis", true, false},
                                                   {"1.004", true, false}}) {
        const ReportItem* i = item(*doc, QString::fromUtf8(texto));
        ASSERT_NE(i, nullptr) << texto;
        EXPECT_EQ(i->font.bold(), negrita) << texto;
        EXPECT_EQ(i->font.italic(), cursiva) << texto;
    }
    QStringList noEncontrado;
    for (const QStringList& fila : bands(*doc, QStringLiteral("bndDetalle")))
        if (fila.value(1) == QLatin1String("1.004"))
            noEncontrado << fila.value(5);
    EXPECT_EQ(noEncontrado, QStringList{QString()}) << "the patient not found prints an empty name";
    printsWhole(*doc, "hoja-columnas.pdf");
}

// Every column and total holds any amount up to 999.999.999,99 € whole, in the row's own font
// (bold for a deleted patient), with nothing running into its neighbour on a real PDF; smaller
// amounts keep the column's size.
TEST_F(CashSheetReportTest, AmountsUpToNineHundredNinetyNineMillionPrintWholeWithoutOverlapping)
{
    const double tope = 999999999.99;
    int id = 0;
    const auto vendido = [&](int tipo, double total, int paciente, int forma) {
        ++id;
        venta(id, "2013-06-15 10:00", tipo, total, tipo == 0 ? "2013-06-15 10:00" : "2079-05-30", paciente, 130000900 + id);
        const double base = std::round(total / 1.21 * 100) / 100;
        linea(id, "MAX-1", base, total - base, 21);
        cobro(id, "2013-06-15 10:00", total, forma);
    };
    for (const int forma : {Efectivo, Talon, Tarjeta})
        for (const double total : {tope, -tope, 12.5})
            vendido(0, total, 1, forma);
    vendido(1, tope, 2, Tarjeta);   // a deleted patient's order: bold
    caja("2013-06-15 08:00", 5, tope);
    caja("2013-06-15 18:00", 1, tope);
    caja("2013-06-15 19:00", 2, -tope);
    const ReportDocument* doc = print(junio(15), junio(15), 2, marcar({"chxTotalesDia", "chxTotalesMes"}));
    ASSERT_NE(doc, nullptr);
    int grandes = 0;
    qreal normal = 0, menor = 1e9;
    for (const ReportItem& i : doc->pages[0].items) {
        if (i.text == QStringLiteral("999.999.999,99 €") || i.text == QStringLiteral("-999.999.999,99 €")) {
            ++grandes;
            menor = std::min(menor, i.font.pointSizeF());
        }
        if (i.text == QStringLiteral("12,50 €"))
            normal = i.font.pointSizeF();
    }
    EXPECT_EQ(grandes, 11) << doc->pageTexts(0).join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(normal, 7) << "an amount that fits keeps the column's size";
    EXPECT_GE(menor, 4) << "readable on paper";
    printsWhole(*doc, "hoja-importes.pdf");
}

TEST_F(CashSheetReportTest, MonthTotalsAreTheDatabasesMonthToDateWhateverTheFirstDay)
{
    int id = 0;
    for (const char* day : {"2013-06-01 10:00", "2013-06-10 10:00", "2013-06-15 10:00", "2013-06-16 10:00", "2013-07-01 10:00"}) {
        ++id;
        directa(id, day, "X", 100 + id, 0, 0, Efectivo);
        venta(10 + id, day, 1, 50, "2079-05-30");   // an order: a sale by order date, a down payment
        linea(10 + id, "Y", 50, 0, 0);
        cobro(10 + id, day, 20, Albaran);            // delivery notes count in the month's collections
    }
    const auto monthRows = [&](const DateTime& desde) {
        QStringList rows;
        const ReportDocument* doc = print(desde, DateTime::fromYmd(2013, 7, 1));
        for (const QStringList& pie : doc ? bands(*doc, QStringLiteral("bndGrupoPie")) : QList<QStringList>())
            rows << after(pie, QStringLiteral("Total Ventas del Mes ............")) + QLatin1Char('/')
                    + after(pie, QStringLiteral("Total Cobros del Mes ............"));
        return rows;
    };
    const QStringList a = monthRows(junio(15));
    // 15th: 101+102+103 + 3 orders of 50; collections 101+102+103 + 3 x 20.
    EXPECT_EQ(a, (QStringList{"456,00 €/366,00 €", "610,00 €/490,00 €", "155,00 €/125,00 €"}));
    EXPECT_EQ(monthRows(junio(16)), a.mid(1));
}

TEST_F(CashSheetReportTest, DayVatByCollectionAndOrderDates)
{
    venta(1, "2013-06-10 10:00", 1, 121, "2013-06-15 10:00");
    linea(1, "MON-1", 100, 21, 21);
    // A rate whose base adds up to nothing but float dust has nothing to declare.
    linea(1, "LC-1", 2.09, 0.21, 4);
    linea(1, "LC-2", 0.01, 0, 4);
    linea(1, "LC-3", -2.10, -0.21, 4);
    cobro(1, "2013-06-10 10:00", 50, Efectivo);
    cobro(1, "2013-06-15 10:00", 71, Efectivo);
    venta(2, "2013-06-15 11:00", 2, 22, "2079-05-30");
    linea(2, "LC-1", 20, 2, 10);
    // By collection date: orders finished that day, all their lines.
    EXPECT_EQ(vatDay(junio(15), 0), (QStringList{"100,00 € 21,00 % IVA 21,00 €"}));
    // By order date: orders taken that day.
    EXPECT_EQ(vatDay(junio(15), 1), (QStringList{"20,00 € 10,00 % IVA 2,00 €"}));
}

TEST_F(CashSheetReportTest, DayVatByCashDateSplitsAtTheRateOfTheDayGivingTheCentToTheVat)
{
    // The shop's default is 21 %, which was 18 % until 31 August 2012. Every amount split here
    // leaves a cent of rounding that belongs to the VAT.
    exec({"update EMPRESA set ID_IVA_DEFECTO = 1"});
    venta(1, "2012-08-20 10:00", 1, 250, "2012-09-03 17:00");    // down payment in August, finished in September
    linea(1, "MON-1", 211.86, 38.14, 18);
    cobro(1, "2012-08-20 10:00", 100, Efectivo);
    cobro(1, "2012-09-03 17:00", 150, Tarjeta);
    venta(3, "2012-08-10 10:00", 1, 100, "2012-08-20 16:00");    // finished in August: adjusted at 18 %
    linea(3, "MON-3", 84.75, 15.25, 18);
    cobro(3, "2012-08-10 10:00", 50, Efectivo);
    cobro(3, "2012-08-20 16:00", 50, Efectivo);
    venta(2, "2012-09-03 11:00", 2, 120, "2079-05-30");           // not finished yet
    linea(2, "LC-1", 99.17, 20.83, 21);
    cobro(2, "2012-09-03 11:00", 59.95, Efectivo);
    venta(4, "2012-09-03 12:00", 1, 0, "2012-09-03 12:00");      // a rate whose base is 0: nothing to declare
    linea(4, "LC-2", 10, 1, 10);
    linea(4, "LC-2", -10, -1, 10);
    // 100 at 18 %: 84,75 + 15,26 would be 100,01. The order finished that day: its lines, less
    // the 50 paid on the 10th (42,37 + 7,63), at 18 % too.
    EXPECT_EQ(vatDay(DateTime::fromYmd(2012, 8, 20), 2), (QStringList{"127,13 € 18,00 % IVA 22,87 €"}));
    // The finished order's lines at their own rate, less its August down payment at the 18 % it
    // was declared with (84,75 and 15,25; paid in full, nothing left for the day's rate), and the
    // new down payment (59,95: 49,55 and 10,40) at the day's 21 %.
    EXPECT_EQ(vatDay(DateTime::fromYmd(2012, 9, 3), 2),
              (QStringList{"127,11 € 18,00 % IVA 22,89 €", "49,55 € 21,00 % IVA 10,40 €"}));
}

TEST_F(CashSheetReportTest, CardListingAloneLeavesTheCashSheetOptionUnticked)
{
    exec({"insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO_PAGO) values (10, 10, 'Visa', 2)"});
    directa(1, "2013-06-15 10:00", "MON-1", 100, 21, 21, 10);
    open();
    auto* option = control<QCheckBox>(QStringLiteral("chxInformeTarjetas"));
    ASSERT_TRUE(option->isChecked());
    window->findChild<QToolButton*>(QStringLiteral("nbiTarjetas"))->click();
    auto* desde = control<DateEdit>(QStringLiteral("edtFechaInicioTarjetas"));
    key(desde, Qt::Key_F5);
    ASSERT_EQ(interaction->outputs.size(), 1);
    EXPECT_EQ(interaction->outputs.first().name, QStringLiteral("tarjetas"));
    EXPECT_TRUE(interaction->outputs.first().previewed);
    EXPECT_FALSE(option->isChecked());

    // A day without card payments: the message once, no preview.
    interaction->outputs.clear();
    desde->setValue(junio(16));
    key(desde, Qt::Key_F5);
    EXPECT_TRUE(interaction->outputs.isEmpty());
    EXPECT_EQ(interaction->messages, (QStringList{"ERROR: No existen operaciones en las fechas seleccionadas"}));
}

// The VAT journal printed from its page of the same window.
class VatJournalWindowTest : public test::ListingWindowFixture {
protected:
    void SetUp() override
    {
        ListingWindowFixture::SetUp();
        // A direct sale at 21 % and 10 %, and an order at 21 % paid 50 + 71 over two days.
        exec({"insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1, FS_COBRO, FS_ENCARGO, FS_SERIE) "
              "values (1, 2, '2013-06-15 10:00', '2013-06-15 10:00', 0, 501, 143, 7, 7, 'A')",
              "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) values (1, 'SOL-1', 'Gafa de sol', 100, 21, 21)",
              "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) values (1, 'LIQ-1', 'Solución', 20, 2, 10)",
              "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (1, 2, '2013-06-15 10:00', 143, 1, 1)",
              "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1, FS_COBRO, FS_ENCARGO, FS_SERIE) "
              "values (2, 2, '2013-06-10 10:00', '2013-06-15 11:00', 1, 502, 121, 8, 3, 'A')",
              "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) values (2, 'MON-1', 'Montura', 100, 21, 21)",
              "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (2, 2, '2013-06-10 10:00', 50, 1, 2)",
              "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (2, 2, '2013-06-15 11:00', 71, 1, 3)"});
    }

    // Prints the journal page; the previewed document or null.
    const ReportDocument* journal(const QString& operador, int calculo, int tipo,
                                  const DateTime& desde = DateTime::fromYmd(2013, 6, 1),
                                  const DateTime& hasta = DateTime::fromYmd(2013, 6, 30))
    {
        if (!window)
            open();
        window->findChild<QToolButton*>(QStringLiteral("nbiDiario"))->click();
        control<QComboBox>(QStringLiteral("cbxFechaDiario"))->setCurrentText(operador);
        control<DateEdit>(QStringLiteral("edtFechaInicioDiario"))->setValue(desde);
        control<DateEdit>(QStringLiteral("edtFechaFinDiario"))->setValue(hasta);
        control<CheckComboBox>(QStringLiteral("cbxTiendaDiario"))->setChecked(0, true);
        control<QComboBox>(QStringLiteral("cbxIvaDiario"))->setCurrentIndex(calculo);
        control<QComboBox>(QStringLiteral("cbxListadoDiario"))->setCurrentIndex(tipo);
        interaction->outputs.clear();
        interaction->messages.clear();
        key(control<QComboBox>(QStringLiteral("cbxListadoDiario")), Qt::Key_F5);
        EXPECT_TRUE(interaction->dialogs.isEmpty()) << interaction->dialogs.join(QLatin1Char('\n')).toStdString();
        return interaction->outputs.isEmpty() ? nullptr : &interaction->outputs.first().document;
    }

    static QStringList details(const ReportDocument& doc)
    {
        QStringList rows;
        for (const PrintedBand& b : doc.bands)
            if (b.name == QLatin1String("bndDetalle"))
                rows << b.texts.join(QLatin1Char('|'));
        return rows;
    }
};

TEST_F(VatJournalWindowTest, SummaryByCollectionDateThenAllDatesOnTheCashBasisWithNoDateTextLeft)
{
    const ReportDocument* doc = journal(QStringLiteral("...Entre..."), 0, 0);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(interaction->outputs.first().name, QStringLiteral("diario"));
    EXPECT_EQ(details(*doc), (QStringList{"20,00 €|10,00 % IVA|2,00 €", "200,00 €|21,00 % IVA|42,00 €"}));
    EXPECT_TRUE(doc->pageTexts(0).contains(QStringLiteral("Diario de I.V.A  Entre 01/06/2013 y 30/06/2013")));

    doc = journal(QStringLiteral("Todos/as"), 2, 0);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->pageTexts(0).contains(QStringLiteral("Diario de I.V.A ")));
    for (const QString& text : doc->pageTexts(0))
        EXPECT_FALSE(text.contains(QStringLiteral("Entre"))) << text.toStdString();
    // The down payment of the 10th (41.32 + 8.68) and its adjustment on the 15th cancel out.
    EXPECT_EQ(details(*doc), (QStringList{"20,00 €|10,00 % IVA|2,00 €", "200,00 €|21,00 % IVA|42,00 €"}));

    // The per-day summary takes its title's dates and operator from the window too.
    for (const auto& [operador, titulo] : {std::pair{"...Entre...", "Diario de I.V.A entre 01/06/2013 y 30/06/2013"},
                                           {"Todos/as", "Diario de I.V.A"}}) {
        doc = journal(QString::fromUtf8(operador), 0, 3);
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->pageTexts(0).contains(QString::fromUtf8(titulo))) << doc->pageTexts(0).join('|').toStdString();
    }
}

TEST_F(VatJournalWindowTest, DetailedJournalByOrderDateAndNothingOnADayWithoutSales)
{
    const ReportDocument* doc = journal(QStringLiteral("Igual a..."), 1, 1, DateTime::fromYmd(2013, 6, 15));
    ASSERT_NE(doc, nullptr);
    QStringList rows = details(*doc);
    rows.sort();
    // Only the direct sale was ordered that day; the order of the 10th is not in it.
    EXPECT_EQ(rows, (QStringList{"A/7|501|LIQ-1|Solución|20,00 €|10,00 %|2,00 €", "A/7|501|SOL-1|Gafa de sol|100,00 €|21,00 %|21,00 €"}));
    EXPECT_TRUE(interaction->messages.isEmpty());

    // Nothing in the dates: the message once and no preview.
    EXPECT_EQ(journal(QStringLiteral("Igual a..."), 0, 1, DateTime::fromYmd(2013, 7, 1)), nullptr);
    EXPECT_EQ(interaction->messages, (QStringList{"ERROR: No existen operaciones en las fechas seleccionadas"}));
}

TEST_F(VatJournalWindowTest, UnfinishedOrdersAndRepairsAreNotCollectedSales)
{
    // An order still in the workshop (paid date 30/05/2079), a type-2 order finished on the
    // 20th and a repair (type 3) paid the same day.
    exec({"insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1, FS_COBRO, FS_ENCARGO, FS_SERIE) "
          "values (3, 2, '2013-06-12 10:00', '2079-05-30', 1, 503, 242, 9, 4, 'A')",
          "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) values (3, 'MON-3', 'Montura', 200, 42, 21)",
          "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (3, 2, '2013-06-12 10:00', 100, 1, 4)",
          "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1, FS_COBRO, FS_ENCARGO, FS_SERIE) "
          "values (4, 2, '2013-06-18 10:00', '2013-06-20 10:00', 2, 504, 44, 10, 5, 'A')",
          "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) values (4, 'LC-4', 'Lentillas', 40, 4, 10)",
          "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (4, 2, '2013-06-20 10:00', 44, 1, 5)",
          "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1, FS_COBRO, FS_ENCARGO, FS_SERIE) "
          "values (5, 2, '2013-06-20 12:00', '2013-06-20 12:00', 3, 505, 12.1, 11, 6, 'A')",
          "insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) values (5, 'REP-5', 'Soldadura', 10, 2.1, 21)",
          "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (5, 2, '2013-06-20 12:00', 12.1, 1, 6)"});
    // By collection date: the three sales finished in June (the type-2 order's 10 % included),
    // whatever the operator, and never the order still open.
    for (const char* operador : {"Mayor que...", "Distinto de...", "Todos/as"}) {
        SCOPED_TRACE(operador);
        const ReportDocument* doc = journal(QString::fromUtf8(operador), 0, 0, DateTime::fromYmd(2013, 6, 1));
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(details(*doc), (QStringList{"60,00 €|10,00 % IVA|6,00 €", "200,00 €|21,00 % IVA|42,00 €"}));
        for (const QString& text : doc->pageTexts(0))
            EXPECT_FALSE(text.contains(QStringLiteral("2079"))) << text.toStdString();
    }
}

} // namespace
