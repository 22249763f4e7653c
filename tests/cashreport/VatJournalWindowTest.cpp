// The VAT journal printed from its page of the real window, on a real database.
#include "support/ListingWindowFixture.h"

#include "platform/format/DateTime.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>

using namespace lumetra;

namespace {

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

// The per-day summary takes its dates and operator from the window; its lines are the report's.
TEST_F(VatJournalWindowTest, PerDaySummaryTitleFollowsTheWindowsDates)
{
    const ReportDocument* doc = journal(QStringLiteral("...Entre..."), 0, 3);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->pageTexts(0).contains(QStringLiteral("Diario de I.V.A entre 01/06/2013 y 30/06/2013")));
    // Without a date condition the title names no dates.
    const ReportDocument* todas = journal(QStringLiteral("Todos/as"), 0, 3);
    ASSERT_NE(todas, nullptr);
    EXPECT_TRUE(todas->pageTexts(0).contains(QStringLiteral("Diario de I.V.A"))) << todas->pageTexts(0).join('|').toStdString();
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
