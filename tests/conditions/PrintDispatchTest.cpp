// The window's request and its print dispatch: the request a page's controls give, validation of
// a request, and the journal prints when a report cannot be prepared.
#include "conditions/ConditionsFixture.h"
#include "conditions/Requests.h"

#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <gtest/gtest.h>
#include <tuple>

namespace lumetra::test {
namespace {

using S = SolicitudListado;
using PrintDispatchTest = ConditionsFixture;

TEST_F(PrintDispatchTest, EachPageGivesItsRequest)
{
    open();
    EXPECT_EQ(w->ListaTiendas(), tiendasDePrueba());

    w->cbxFechaCaja->setCurrentText(QStringLiteral("...Entre..."));
    w->edtFechaInicioCaja->setValue(DateTime::fromYmd(2013, 6, 1));
    w->edtFechaFinCaja->setValue(DateTime::fromYmd(2013, 6, 30));
    tick(w->cbxTiendaCaja, {3, 1});
    w->cbxCajaIva->setCurrentIndex(2);
    w->chxTotalesDia->setChecked(true);
    w->chxTotalesMes->setChecked(false);
    w->chxDetalleCaja->setChecked(true);
    w->chxInformeGrupos->setChecked(false);
    w->chxInformeTarjetas->setChecked(true);
    SolicitudListado hoja = solicitud(S::ListadoHojaCaja, TCondiciones::Entre, {1, 3}, 1, 6, 30, 6);
    hoja.calculoIva = 2;
    hoja.totalesDia = true;
    hoja.detalleCaja = true;
    hoja.informeTarjetas = true;
    EXPECT_EQ(w->Solicitud(S::ListadoHojaCaja), hoja);
    EXPECT_EQ(hoja.filtro, w->cbxTiendaCaja->displayText());

    w->cbxFechaDiario->setCurrentText(QStringLiteral("Todos/as"));
    tick(w->cbxTiendaDiario, {0, 4});
    w->cbxIvaDiario->setCurrentIndex(1);
    w->cbxListadoDiario->setCurrentIndex(3);
    w->chxFamiliaDiario->setChecked(true);
    // The working date stays in the journal's fields.
    SolicitudListado diario = solicitud(S::ListadoDiario, TCondiciones::Todos, {0, 4}, 15, 6, 15, 6);
    diario.calculoIva = 1;
    diario.tipoDiario = 3;
    diario.familia = true;
    EXPECT_EQ(w->Solicitud(S::ListadoDiario), diario);
    EXPECT_EQ(diario.filtro, w->cbxTiendaDiario->displayText());

    // The group and card pages take no VAT basis and none of the cash sheet's options.
    w->cbxFechaTarjetas->setCurrentText(QStringLiteral("Menor que..."));
    w->edtFechaInicioTarjetas->clearValue();
    tick(w->cbxTiendaTarjetas, {5});
    SolicitudListado tarjetas = solicitud(S::ListadoTarjetas, TCondiciones::Menor, {5}, 15, 6, 15, 6);
    tarjetas.desde = DateTime::zero();
    tarjetas.calculoIva = -1;
    EXPECT_EQ(w->Solicitud(S::ListadoTarjetas), tarjetas);
    SolicitudListado grupos = solicitud(S::ListadoGrupos, TCondiciones::Igual, {1}, 15, 6, 15, 6);
    grupos.calculoIva = -1;
    EXPECT_EQ(w->Solicitud(S::ListadoGrupos), grupos);
}

TEST_F(PrintDispatchTest, UserLimitedToHisStoreGetsItInEveryRequest)
{
    exec({"insert into USUARIO (ID_USUARIO, NOMBRE_USUARIO, ID_TIENDA, SOLO_TIENDA_PROPIA) values (2, 'Dependiente', 3, 1)"});
    open(2, 3);   // the lists hold only his store (ListingWindowTest)
    for (int listado : {S::ListadoHojaCaja, S::ListadoDiario, S::ListadoGrupos, S::ListadoTarjetas}) {
        SCOPED_TRACE(listado);
        const SolicitudListado s = w->Solicitud(listado);
        EXPECT_EQ(s.CondicionTienda(S::TiendaCobro), QStringLiteral(" (CO.ID_TIENDA = 3) "));
        EXPECT_EQ(s.filtro, QStringLiteral("Lumetra Sabadell"));
    }
    EXPECT_EQ(w->CondicionTienda(S::TiendaCobro, w->Solicitud(S::ListadoHojaCaja)), QStringLiteral(" (CO.ID_TIENDA = 3) "));
    EXPECT_EQ(w->TiendasSeleccionadas(), QStringList{QStringLiteral("3")});
}

TEST_F(PrintDispatchTest, InvalidRequestShowsItsMessageAndPrintsNothing)
{
    open();
    SolicitudListado sinIva = solicitud(S::ListadoDiario, TCondiciones::Igual, {0});
    sinIva.calculoIva = -1;
    SolicitudListado sinFinal = solicitud(S::ListadoTarjetas, TCondiciones::Entre, {0});
    sinFinal.hasta = DateTime::zero();
    const std::tuple<const char*, SolicitudListado, const char*> rows[] = {
        {"fechas_al_reves", solicitud(S::ListadoHojaCaja, TCondiciones::Entre, {0}, 20, 7, 15, 6),
         "La Fecha Final no puede ser menor que la Inicial"},
        {"sin_tiendas", solicitud(S::ListadoGrupos, TCondiciones::Igual, {}), "Debe seleccionar al menos una Tienda"},
        {"entre_sin_fecha_final", sinFinal, "La Fecha No Puede ser Vacia"},
        {"diario_sin_calculo_iva", sinIva, "Debe seleccionar una forma de calcular el Tipo de I.V.A"},
    };
    for (const auto& [name, request, message] : rows) {
        SCOPED_TRACE(name);
        interaction->messages.clear();
        EXPECT_EQ(w->Imprimir(request), -2);
        EXPECT_EQ(w->Resultado(), -2);
        EXPECT_EQ(interaction->messages, QStringList{QStringLiteral("ERROR: ") + QString::fromUtf8(message)});
    }
    // A listing without a page leaves the result alone.
    EXPECT_EQ(w->Imprimir(SolicitudListado{}), -2);
    EXPECT_TRUE(interaction->outputs.isEmpty());
    EXPECT_EQ(interaction->dialogs, QStringList());
}

// Every journal layout on every VAT basis, on the day of the fixture's sales.
QList<SolicitudListado> journals()
{
    QList<SolicitudListado> all;
    for (int calculo : {S::IvaCobro, S::IvaEncargo, S::IvaCaja}) {
        for (int tipo = 0; tipo < 4; ++tipo) {
            SolicitudListado s = solicitud(S::ListadoDiario, TCondiciones::Igual, {0});
            s.calculoIva = calculo;
            s.tipoDiario = tipo;
            all << s;
        }
    }
    return all;
}

// A journal report that cannot be prepared (its lookups read the currency) stops the print after
// its one error window instead of laying out a report without them.
TEST_F(PrintDispatchTest, JournalWhoseReportCannotBePreparedStopsAfterOneErrorWindow)
{
    exec({"drop table MONEDA"});
    open();
    for (const SolicitudListado& s : journals()) {
        SCOPED_TRACE(QStringLiteral("calculo %1 tipo %2").arg(s.calculoIva).arg(s.tipoDiario).toStdString());
        interaction->dialogs.clear();
        EXPECT_EQ(w->Imprimir(s), -1);
        EXPECT_EQ(w->Resultado(), -1);
        ASSERT_EQ(interaction->dialogs.size(), 1);
        EXPECT_TRUE(interaction->dialogs.first().contains(QLatin1String("Inicializar"))) << interaction->dialogs.first().toStdString();
        EXPECT_TRUE(interaction->dialogs.first().contains(QLatin1String("MONEDA"))) << interaction->dialogs.first().toStdString();
    }
    EXPECT_TRUE(interaction->outputs.isEmpty());
    EXPECT_EQ(interaction->messages, QStringList());
}

} // namespace
} // namespace lumetra::test
