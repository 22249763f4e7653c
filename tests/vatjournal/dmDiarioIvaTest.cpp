#include "DiarioFixture.h"

#include "platform/format/FormatFloat.h"
#include "platform/format/PrintQString.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

struct Caso {
    const char* nombre;
    int tipo;
    int forma;
    int tiendaVenta;
    QStringList tiendas;
    double cobrado;
    QStringList esperado;
};

class DiarioCajaTest : public test::DiarioFixture {};

// One order/sale paid on 15/01/2013: line 100 + 21 at 21 %, collected that day in store 1.
TEST_F(DiarioCajaTest, SalesPassLinesAndAdjustments)
{
    const QString lineaMontura = "15/01/2013|Montura|100|21|21";
    const Caso casos[] = {
        {"delivery_note_sale_gives_nothing", 1, 3, 1, {}, 60.5, {}},
        {"type1_unselected_store_gives_only_adjustment", 1, 1, 2, {"1"}, 60.5,
         {"15/01/2013|Entrega a Cuenta y ajustes Nº Talón 7|50|21|10,5"}},
        {"type1_selected_store_line_and_adjustment", 1, 1, 1, {"1", "12"}, 60.5,
         {lineaMontura, "15/01/2013|Entrega a Cuenta y ajustes Nº Talón 7|-50|21|-10,5"}},
        {"type1_same_day_collections_equal_lines_no_adjustment", 1, 1, 1, {}, 121, {lineaMontura}},
        {"type0_never_adjusts", 0, 1, 1, {}, 60.5, {lineaMontura}},
        {"type0_unselected_store_gives_nothing", 0, 1, 2, {"1"}, 60.5, {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        TearDown();
        SetUp();
        venta(1, "2013-01-15", c.tipo, 7, c.tiendaVenta, 0, c.forma);
        linea(1, "R", "Montura", 100, 21, 21);
        cobro(1, "2013-01-15", c.cobrado, 1);
        ASSERT_EQ(construirCaja(c.tiendas), 0);
        EXPECT_EQ(diario(), c.esperado);
        EXPECT_TRUE(ui.dialogs.isEmpty()) << ui.dialogs.join('\n').toStdString();
    }
}

TEST_F(DiarioCajaTest, DownPaymentEntersOnItsDayAndIsTakenOutWhenTheOrderCloses)
{
    venta(1, "2013-01-15", 1, 7, 1, 30);
    linea(1, "R1", "Lentes", 66.12, 13.88, 21);
    linea(1, "R2", "Montura", 33.88, 7.12, 21);
    cobro(1, "2013-01-10", 21, 1, 500);
    cobro(1, "2013-01-15", 100, 1, 501);   // the day it closed: no collection row
    cobro(1, "2013-01-15", 20, 2, 502);    // another store, not selected
    ASSERT_EQ(construirCaja({"1"}), 0);
    EXPECT_EQ(diario(), QStringList({
        "10/01/2013|Entrega a Cuenta Nº Talón 7|17,36|21|3,64",
        "15/01/2013|Lentes|66,12|21|13,88",
        "15/01/2013|Montura|33,88|21|7,12",
        "15/01/2013|Entrega a Cuenta y ajustes Nº Talón 7|-17,36|21|-3,64",
    }));
}

TEST_F(DiarioCajaTest, DownPaymentsAreTakenBackAtTheRateTheyWereDeclaredWith)
{
    // Down payments in August 2012 (18 %) and in September (21 %), the order finished in
    // September with 10 still to pay.
    venta(1, "2012-09-10", 1, 7, 1, 30);
    linea(1, "R1", "Montura", 211.86, 38.14, 18);
    cobro(1, "2012-08-20", 100, 1, 500);
    cobro(1, "2012-09-03", 59.95, 1, 501);
    cobro(1, "2012-09-10", 80.05, 1, 502);
    ASSERT_EQ(construirCaja({}, TdmDiarioIva::ListadoDetallado, DateTime::fromYmd(2012, 8, 1), DateTime::fromYmd(2012, 9, 30)), 0);
    EXPECT_EQ(diario(), QStringList({
        "20/08/2012|Entrega a Cuenta Nº Talón 7|84,75|18|15,25",
        "03/09/2012|Entrega a Cuenta Nº Talón 7|49,55|21|10,4",
        "10/09/2012|Montura|211,86|18|38,14",
        // 100 back at 18 %; 59,95 back at 21 % less the 10 unpaid (-69,95 at the day's 21 %:
        // -49,55 - 8,26 = -57,81 and -10,40 - 1,74 = -12,14).
        "10/09/2012|Entrega a Cuenta y ajustes Nº Talón 7|-84,75|18|-15,25",
        "10/09/2012|Entrega a Cuenta y ajustes Nº Talón 7|-57,81|21|-12,14",
    }));
}

TEST_F(DiarioCajaTest, WhatWasPaidByDeliveryNoteIsNeitherDeclaredNorTakenBack)
{
    // 30 by delivery note and 20 in cash on the 10th; 50,50 in cash and 20,50 by delivery note
    // when picked up on the 15th.
    venta(1, "2013-01-15", 1, 7, 1, 30);
    linea(1, "R1", "Montura", 100, 21, 21);
    cobro(1, "2013-01-10", 30, 1, 500, 3);
    cobro(1, "2013-01-10", 20, 1, 501, 1);
    cobro(1, "2013-01-15", 50.5, 1, 502, 1);
    cobro(1, "2013-01-15", 20.5, 1, 503, 3);
    ASSERT_EQ(construirCaja(), 0);
    // On the 15th the lines, less the 20 in cash (16,53 + 3,47), less the 50,50 that is still not
    // cash (41,74 + 8,76): the day adds its 50,50 in cash.
    EXPECT_EQ(diario(), QStringList({
        "10/01/2013|Entrega a Cuenta Nº Talón 7|16,53|21|3,47",
        "15/01/2013|Montura|100|21|21",
        "15/01/2013|Entrega a Cuenta y ajustes Nº Talón 7|-58,27|21|-12,23",
    }));
}

TEST_F(DiarioCajaTest, OrdenKeysByListingType)
{
    venta(1, "2013-01-15", 0, 1, 1, 9);
    linea(1, "A", "Veintiuno", 100, 21, 21);
    linea(1, "B", "Diez", 10, 1, 10);
    venta(2, "2013-01-15", 0, 2, 1, 3);
    linea(2, "C", "Cuatro", 10, 0.4, 4);
    venta(3, "2013-02-20", 1, 3);
    cobro(3, "2013-01-15", 24.2, 1, 77);
    const QString dia = FloatToStr(DateTime::fromYmd(2013, 1, 15).serial());

    const auto orden = [&](qint16 tipoListado) {
        EXPECT_EQ(construirCaja({}, tipoListado), 0);
        QStringList claves;
        for (dm->memDiario.first(); !dm->memDiario.eof(); dm->memDiario.next())
            claves << dm->memDiario.fieldAsText("Orden") + " " + dm->memDiario.fieldAsText("Descripcion");
        return claves;
    };
    // Per day and rate: the down payment joins the lines of its rate.
    EXPECT_EQ(orden(TdmDiarioIva::ListadoResumidoDias),
              QStringList({dia + "004,00 Cuatro", dia + "010,00 Diez", dia + "021,00 Veintiuno", dia + "021,00 Entrega a Cuenta Nº Talón 3"}));
    EXPECT_EQ(orden(TdmDiarioIva::ListadoDetallado), QStringList({dia + "0000000003 Cuatro", dia + "0000000009 Veintiuno",
                                                                  dia + "0000000009 Diez", dia + "0000000077 Entrega a Cuenta Nº Talón 3"}));
}

TEST_F(DiarioCajaTest, SplitsAmountsWithTheShopsDefaultRateAndTheDate)
{
    // The rules themselves are the shared VAT calculation's; here, that the module feeds it the
    // shop's current default rate and the date it is given.
    struct Fila {
        const char* nombre;
        double defecto;
        QDate fecha;
        double porcentaje;
        double importe, base, iva;
    };
    const Fila filas[] = {
        {"default21_from_july2010", 21, {2010, 7, 1}, 18, 118, 100, 18},
        {"default10_until_august2012", 10, {2012, 8, 31}, 8, 108, 100, 8},
        {"other_default_kept", 4, {2010, 6, 30}, 4, 104, 100, 4},
    };
    TdmDiarioIva& m = modulo();
    for (const Fila& f : filas) {
        SCOPED_TRACE(f.nombre);
        session->params()->Configuracion->IvaDefecto.Porcentaje = f.defecto;
        const DateTime fecha = DateTime::fromDate(f.fecha);
        EXPECT_EQ(m.PorcentajeIvaFecha(fecha), f.porcentaje);
        ASSERT_EQ(m.CalcularBaseImponible(f.importe, fecha), 0);
        EXPECT_DOUBLE_EQ(m.BaseCalculada(), f.base);
        EXPECT_DOUBLE_EQ(m.IvaCalculado(), f.iva);
    }
    TdmDiarioIva sinParametros;
    EXPECT_EQ(sinParametros.PorcentajeIvaFecha(DateTime::fromYmd(2013, 1, 1)), 8);
}

TEST_F(DiarioCajaTest, StoreSelectionComparesWholeNumberTexts)
{
    TdmDiarioIva& m = modulo();
    EXPECT_TRUE(m.TiendaSeleccionada(5));
    m.Tiendas() = QStringList{"1", "12"};
    EXPECT_TRUE(m.TiendaSeleccionada(12));
    EXPECT_FALSE(m.TiendaSeleccionada(2));
    EXPECT_FALSE(m.TiendaSeleccionada(1.5));
}

TEST_F(DiarioCajaTest, CancelClosesDatasets)
{
    venta(1, "2013-01-15", 0, 7);
    linea(1, "R", "Gafas", 10, 2.1, 21);
    TdmDiarioIva& m = modulo();
    m.MostrarPorcentaje();
    ASSERT_EQ(m.AbrirQueryMDD(pedido().SQLVentasDiarioCaja(), S::SQLLineasDiarioCaja(), S::SQLCobrosVentaDiarioCaja()), 0);
    m.Porcentaje()->findChild<QPushButton*>("btnCancelar")->click();
    EXPECT_EQ(m.TablaDiarioVentas(), TdmDiarioIva::EstadoCancelado);
    EXPECT_FALSE(m.dstMaestro.isOpen());
    EXPECT_TRUE(m.memDiario.isEmpty());
    EXPECT_TRUE(ui.dialogs.isEmpty());
}

} // namespace
