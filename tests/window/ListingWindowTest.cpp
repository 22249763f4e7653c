// The listing window through the real module: its lists, defaults, rules, validation, keys and
// closing, on a real database.
#include "support/ListingWindowFixture.h"

#include "hostapi/ModuleLoader.h"
#include "support/TestTools.h"
#include "platform/format/DateTime.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QToolButton>

using namespace lumetra;

namespace {

class ListingWindowTest : public test::ListingWindowFixture {
protected:
    QStringList items(const QString& name) const
    {
        QStringList result;
        if (auto* combo = control<QComboBox>(name))
            for (int i = 0; i < combo->count(); ++i)
                result << combo->itemText(i);
        return result;
    }

    QStringList links() const
    {
        QStringList result;
        for (const char* name : {"nbiHojaCaja", "nbiDiario", "nbiGrupos", "nbiTarjetas"})
            if (auto* link = window->findChild<QToolButton*>(QString::fromLatin1(name)))
                result << link->text() + (link->isEnabled() ? QString() : QStringLiteral("*"));
        return result;
    }
};

TEST_F(ListingWindowTest, OpensWithItsListsDefaultsAndRules)
{
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Listado de Hoja de Caja"));
    EXPECT_EQ(links(), (QStringList{"Hoja de Caja*", "Diario de I.V.A", "Informe Por Grupos", "Informe Por Tarjetas"}));
    EXPECT_EQ(items(QStringLiteral("cbxFechaCaja")),
              (QStringList{"...Entre...", "Distinto de...", "Igual a...", "Mayor que...", "Menor que...", "Todos/as"}));
    EXPECT_EQ(control<QComboBox>(QStringLiteral("cbxFechaCaja"))->currentText(), QStringLiteral("Igual a..."));
    EXPECT_EQ(items(QStringLiteral("cbxListadoDiario")),
              (QStringList{"Resumido", "Detallado", "Resumido Por Días (cada día en una hoja)", "Resumido Por Días"}));
    // The stores in the order of their codes, after the "all stores" item; the current one ticked.
    for (const char* name : {"cbxTiendaCaja", "cbxTiendaDiario", "cbxTiendaGrupos", "cbxTiendaTarjetas"}) {
        auto* stores = control<CheckComboBox>(QString::fromLatin1(name));
        EXPECT_EQ(items(QString::fromLatin1(name)),
                  (QStringList{"[Todas las Tiendas Seleccionadas]", "Lumetra Gràcia", "Lumetra Sabadell", "Lumetra Centro"}));
        EXPECT_EQ(stores->displayText(), QStringLiteral("Lumetra Gràcia")) << name;
    }
    control<CheckComboBox>(QStringLiteral("cbxTiendaCaja"))->setChecked(1, false);
    EXPECT_EQ(control<CheckComboBox>(QStringLiteral("cbxTiendaCaja"))->displayText(),
              QStringLiteral("[Debe Seleccionar al menos una Tienda]"));
    auto* start = control<DateEdit>(QStringLiteral("edtFechaInicioCaja"));
    EXPECT_EQ(start->value(), DateTime::fromYmd(2013, 6, 15));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(control<DateEdit>(QStringLiteral("edtFechaFinCaja"))->isVisible());
    EXPECT_EQ(control<QComboBox>(QStringLiteral("cbxCajaIva"))->currentText(), QStringLiteral("Calcular con fecha de cobro"));
    EXPECT_TRUE(control<QCheckBox>(QStringLiteral("chxInformeGrupos"))->isVisible());
    EXPECT_FALSE(control<QCheckBox>(QStringLiteral("chxDetalleCaja"))->isVisible());
    EXPECT_TRUE(control<QCheckBox>(QStringLiteral("chxDetalleCaja"))->isChecked());
    EXPECT_EQ(control<QCheckBox>(QStringLiteral("chxFamiliaDiario"))->text(),
              QStringLiteral("Sustitir la Descripción del Artículos por la de la Familia"));
    EXPECT_TRUE(interaction->dialogs.isEmpty());
    EXPECT_TRUE(window->grab().save(QStringLiteral(LUMETRA_ARTIFACTS "/frmHojaCaja.png")));

    // The date operator on every page: a range shows its end date, no date disables the start.
    for (const char* page : {"Caja", "Diario", "Grupos", "Tarjetas"}) {
        SCOPED_TRACE(page);
        auto* operador = control<QComboBox>(QStringLiteral("cbxFecha") + QLatin1String(page));
        auto* desde = control<DateEdit>(QStringLiteral("edtFechaInicio") + QLatin1String(page));
        auto* hasta = control<DateEdit>(QStringLiteral("edtFechaFin") + QLatin1String(page));
        auto* y = control<QLabel>(QStringLiteral("txtY") + QLatin1String(page));
        operador->setCurrentText(QStringLiteral("...Entre..."));
        EXPECT_TRUE(desde->isEnabled());
        EXPECT_FALSE(hasta->isHidden());
        EXPECT_FALSE(y->isHidden());
        EXPECT_EQ(y->text(), QStringLiteral(" Y "));
        operador->setCurrentText(QStringLiteral("Todos/as"));
        EXPECT_FALSE(desde->isEnabled());
        EXPECT_TRUE(hasta->isHidden());
        operador->setCurrentText(QStringLiteral("Menor que..."));
        EXPECT_TRUE(desde->isEnabled());
        EXPECT_TRUE(hasta->isHidden());
        EXPECT_TRUE(y->isHidden());
    }
    // Day totals tick the month's; the month's alone leave the day's.
    auto* dia = control<QCheckBox>(QStringLiteral("chxTotalesDia"));
    auto* mes = control<QCheckBox>(QStringLiteral("chxTotalesMes"));
    dia->setChecked(false);
    EXPECT_FALSE(mes->isChecked());
    dia->setChecked(true);
    EXPECT_TRUE(mes->isChecked());
    mes->setChecked(false);
    EXPECT_TRUE(dia->isChecked());
}

TEST_F(ListingWindowTest, WithoutSalesGroupsThreeLinksAndNoGroupBox)
{
    exec({"update EMPRESA set USA_GRUPOS = 0"});
    open();
    EXPECT_EQ(links(), (QStringList{"Hoja de Caja*", "Diario de I.V.A", "Informe Por Tarjetas"}));
    auto* grupos = control<QCheckBox>(QStringLiteral("chxInformeGrupos"));
    EXPECT_FALSE(grupos->isVisible());
    EXPECT_FALSE(grupos->isChecked());
    window->findChild<QToolButton*>(QStringLiteral("nbiTarjetas"))->click();
    EXPECT_EQ(links(), (QStringList{"Hoja de Caja", "Diario de I.V.A", "Informe Por Tarjetas*"}));
    EXPECT_EQ(control<QStackedWidget>(QStringLiteral("pclListado"))->currentWidget()->objectName(), QStringLiteral("tstTarjetas"));
}

TEST_F(ListingWindowTest, UserLimitedToHisStoreWithBlockedDatesOnEveryPage)
{
    exec({"update USUARIO set SOLO_TIENDA_PROPIA = 1, PERMITE_TOTALES_MES = 0, FECHAS_BLOQUEADAS = 1 where ID_USUARIO = 1"});
    open(1, 3);
    for (const char* page : {"Caja", "Diario", "Grupos", "Tarjetas"}) {
        SCOPED_TRACE(page);
        const QString p = QLatin1String(page);
        EXPECT_EQ(items(QStringLiteral("cbxTienda") + p), (QStringList{"Lumetra Sabadell"}));
        EXPECT_EQ(control<CheckComboBox>(QStringLiteral("cbxTienda") + p)->displayText(), QStringLiteral("Lumetra Sabadell"));
        EXPECT_FALSE(control<QComboBox>(QStringLiteral("cbxFecha") + p)->isEnabled());
        EXPECT_FALSE(control<DateEdit>(QStringLiteral("edtFechaInicio") + p)->isEnabled());
        EXPECT_EQ(control<DateEdit>(QStringLiteral("edtFechaInicio") + p)->value(), DateTime::fromYmd(2013, 6, 15));
    }
    EXPECT_FALSE(control<QCheckBox>(QStringLiteral("chxTotalesMes"))->isVisible());
}

TEST_F(ListingWindowTest, DateValidation)
{
    open();
    const auto messages = [this] {
        interaction->messages.clear();
        control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
        QApplication::processEvents();
        return interaction->messages;
    };
    auto* operador = control<QComboBox>(QStringLiteral("cbxFechaCaja"));
    operador->setCurrentText(QStringLiteral("...Entre..."));
    control<DateEdit>(QStringLiteral("edtFechaFinCaja"))->setValue(DateTime::fromYmd(2013, 6, 14));
    EXPECT_EQ(messages(), (QStringList{"ERROR: La Fecha Final no puede ser menor que la Inicial"}));
    // Back to one date: the hidden end date is ignored, and the day has nothing to print.
    operador->setCurrentText(QStringLiteral("Igual a..."));
    EXPECT_EQ(messages(), (QStringList{"ERROR: No existen operaciones en las fechas seleccionadas"}));
    // A date before the first one a field holds is refused for what it is, typed or set by the host.
    control<DateEdit>(QStringLiteral("edtFechaInicioCaja"))->setValue(DateTime::fromYmd(1850, 6, 15));
    EXPECT_EQ(messages(),
              (QStringList{"ERROR: La Fecha «15/06/1850» es anterior al 31/12/1899, la primera fecha que se puede escribir"}));
    EXPECT_TRUE(interaction->outputs.isEmpty());
}

TEST_F(ListingWindowTest, EnterMovesOnButNotOutOfAnOpenListAndF12Closes)
{
    open();
    auto* start = control<DateEdit>(QStringLiteral("edtFechaInicioCaja"));
    window->activateWindow();
    start->setFocus();
    QApplication::processEvents();
    const auto inStart = [start] {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == start || start->isAncestorOf(focus));
    };
    ASSERT_TRUE(inStart());
    key(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(inStart());

    auto* stores = control<CheckComboBox>(QStringLiteral("cbxTiendaCaja"));
    stores->setFocus();
    stores->showPopup();
    QApplication::processEvents();
    ASSERT_TRUE(stores->isListOpen());
    key(QApplication::focusWidget(), Qt::Key_Return);
    // The open list takes Enter itself: the focus does not move on to the next control.
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == stores || stores->isAncestorOf(focus) || (focus && focus->window() != window->window()));
    stores->hidePopup();

    key(control<QComboBox>(QStringLiteral("cbxCajaIva")), Qt::Key_F12);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(mdi->subWindowList().isEmpty());
    window = nullptr;
}

// The module's exported instance variables, read the way a host reads them, point to a live
// object or are null, never to a freed one. Each window closed writes its access row.
TEST_F(ListingWindowTest, WindowsOpenAtTheirSizeOneOffsetFromTheOtherAndTheModulesVariablesFollowThem)
{
    const auto variable = [](const char* simbolo) {
        auto* v = static_cast<QObject**>(module().variable(simbolo));
        EXPECT_NE(v, nullptr) << simbolo;
        return v ? *v : nullptr;
    };
    const auto ventana = [&] { return variable("_ZN7lumetra11frmHojaCajaE"); };
    const auto configuracion = [&] { return variable("_ZN7lumetra15dmConfiguracionE"); };
    QWidget* first = open();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->size(), QSize(774, 427));
    EXPECT_TRUE(first->parentWidget()->windowFlags() & Qt::Tool);
    EXPECT_EQ(ventana(), first);
    EXPECT_EQ(audits(), 0) << "opening writes no access row";
    QObject* conf = configuracion();
    ASSERT_NE(conf, nullptr);
    EXPECT_EQ(conf->objectName(), QStringLiteral("dmConfiguracion"));

    // Releasing the module leaves the window open; a second one opens offset from the first.
    EXPECT_EQ(module().liberar(), 0);
    QWidget* second = open();
    ASSERT_EQ(mdi->subWindowList().size(), 2);
    ASSERT_NE(second, first);
    EXPECT_EQ(second->size(), QSize(774, 427));
    const QPoint offset = second->parentWidget()->pos() - first->parentWidget()->pos();
    EXPECT_GT(offset.x(), 0);
    EXPECT_GT(offset.y(), 0);
    host->grab().save(QStringLiteral(LUMETRA_ARTIFACTS "/ventana-listados.png"));
    EXPECT_EQ(ventana(), second) << "the last window opened";
    EXPECT_EQ(configuracion(), conf) << "one configuration module for every window";

    // The last one opened goes first: the variable no longer points to it, the configuration
    // stays and the other window keeps working, its images and lists with it.
    second->parentWidget()->close();   // its frame's close box
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ventana(), nullptr);
    EXPECT_EQ(configuracion(), conf);
    window = first;
    window->findChild<QToolButton*>(QStringLiteral("nbiDiario"))->click();
    EXPECT_EQ(control<QStackedWidget>(QStringLiteral("pclListado"))->currentWidget()->objectName(), QStringLiteral("tstDiario"));
    EXPECT_FALSE(control<QToolButton>(QStringLiteral("nbiImprimir"))->icon().isNull());
    control<QToolButton>(QStringLiteral("nbiSalir"))->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window = nullptr;
    EXPECT_TRUE(mdi->subWindowList().isEmpty());
    EXPECT_EQ(ventana(), nullptr);
    EXPECT_EQ(configuracion(), nullptr);
    Database check;
    check.open(path);
    EXPECT_EQ(test::queryRows(check, QStringLiteral("select ID_OPCION, ID_TIENDA, USUARIO_NOM, OPCION_NOM from ACCESO")),
              (QList<QStringList>(2, {"4001", "2", "Administrador", "Hoja de caja diaria"})));

    // A new window sets both again.
    QWidget* third = open();
    EXPECT_EQ(ventana(), third);
    EXPECT_NE(configuracion(), nullptr);
    EXPECT_EQ(module().liberar(), 0);
}

TEST_F(ListingWindowTest, FailingStepShowsOneErrorWindowAndTheWindowStillOpens)
{
    open();   // builds the host block first
    closeWindow();
    interaction->dialogs.clear();
    exec({"drop index IDX_LOCALIDAD_CP", "alter table LOCALIDAD drop CODIGO_POSTAL"});
    ASSERT_NE(open(), nullptr);
    ASSERT_EQ(interaction->dialogs.size(), 1) << interaction->dialogs.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(interaction->dialogs.first().startsWith(QStringLiteral("Pantalla: Listado - Pacientes | Función: ValoresIniciales |")));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(control<QComboBox>(QStringLiteral("cbxFechaCaja"))->count(), 6);
}

} // namespace
