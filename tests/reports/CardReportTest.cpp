// The report by card payments over a real database, read back from its laid-out pages.
#include "ReportsFixture.h"

#include "reports/frmReportTarjetas.h"

using namespace lumetra;

namespace {

constexpr int Efectivo = 1, Visa = 10, Master = 11;

class CardReportTest : public test::ReportsFixture {
protected:
    void SetUp() override
    {
        ReportsFixture::SetUp();
        exec({"insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO_PAGO) values (10, 10, 'Visa', 2)",
              "insert into FORMA_PAGO (ID_FORMA_PAGO, CODIGO, DESCRIPCION, TIPO_PAGO) values (11, 11, 'Mastercard', 2)"});
    }
    // A sale and its collection at the same moment.
    void pago(int id, const QString& fecha, int tipo, int talon, double importe, int forma = Visa)
    {
        venta(id, fecha, tipo, talon);
        cobro(id, fecha, importe, forma);
    }
};

TEST_F(CardReportTest, EachDateOnItsPageWithTotalsPerPaymentFormOfThatDate)
{
    // The cards of a day interleave; each forms one group.
    pago(1, "2013-06-15 10:00", 0, 7568, 10, Visa);
    pago(2, "2013-06-15 10:05", 2, 14, 5, Master);
    pago(3, "2013-06-15 10:06", 0, 13, 40, Efectivo);
    pago(4, "2013-06-15 11:00", 1, 12, 20.5, Visa);
    pago(5, "2013-06-16 09:00", 0, 15, 7.25, Visa);
    abrirTarjetas();
    const ReportDocument doc = imprimir<TfrmReportTarjetas>(QStringLiteral("Gràcia"));

    EXPECT_EQ(doc.dump(), "p1: GH(15/06/2013) GH(10) D D GF(10) GH(11) D GF(11) PF\n"
                          "p2: GH(16/06/2013) GH(10) D GF(10) PF");
    EXPECT_EQ(bands(doc, "bndGrupoFecha").first().texts,
              QStringList({"Informe Por Tarjetas del día 15/06/2013", "Gràcia", "Lumetra Óptica, S.L.", "B08000000",
                           "Carrer de Pelai, 12", "08001 - Barcelona (Barcelona)"}));
    EXPECT_EQ(bands(doc, "bndGrupoTarjeta").first().texts,
              QStringList({"Forma de Pago:", "Visa", "Ticket", "Talón", "Tipo Operación", "Importe"}));
    // Each payment's receipt number beside the sale's ticket.
    EXPECT_EQ(bands(doc, "bndDetalle").first().texts, QStringList({"1.001", "7.568", " Venta Directa ", "10,00 €"}));
    QStringList recibos, tipos;
    for (const PrintedBand& b : bands(doc, "bndDetalle")) {
        recibos << b.texts.value(0);
        tipos << b.texts.value(2);
    }
    EXPECT_EQ(recibos, QStringList({"1.001", "1.004", "1.002", "1.005"}));
    EXPECT_EQ(tipos, QStringList({" Venta Directa ", " Encargo ", " Encargo ", " Venta Directa "}));
    // The same form on the next date starts its own total; a one-line form totals that line.
    QStringList totales;
    for (const PrintedBand& b : bands(doc, "bndPieTarjeta"))
        totales << b.texts.join('|');
    EXPECT_EQ(totales, QStringList({"Total.....................|30,50 €", "Total.....................|5,00 €",
                                    "Total.....................|7,25 €"}));
    EXPECT_EQ(bands(doc, "PageFooterBand1", 0).first().texts, QStringList({"1", "15/06/2013"}));
}

TEST_F(CardReportTest, LongDateRepeatsTheDateHeaderButNotThePaymentForm)
{
    for (int i = 0; i < 70; ++i)
        pago(i + 1, QStringLiteral("2013-06-20 %1:%2").arg(9 + i / 60).arg(i % 60, 2, 10, QChar('0')), 0, i + 1, 1.5);
    abrirTarjetas();
    const ReportDocument doc = imprimir<TfrmReportTarjetas>();
    ASSERT_GE(doc.pageCount(), 2);
    for (int p = 0; p < doc.pageCount(); ++p) {
        EXPECT_TRUE(doc.dump().split('\n')[p].startsWith(QStringLiteral("p%1: GH(20/06/2013) ").arg(p + 1))) << p;
        EXPECT_EQ(bands(doc, "PageFooterBand1", p).first().texts.value(1), "20/06/2013") << p;
    }
    EXPECT_EQ(bands(doc, "bndGrupoTarjeta").size(), 1);
    EXPECT_EQ(bands(doc, "bndPieTarjeta").first().texts.value(1), "105,00 €");
}

} // namespace
