// The options set the real window's controls as a person would, and what the user may not change
// is refused: the real module on a copy of the demo shop, in this process.
#include "DemoShop.h"
#include "ListingControls.h"

#include "hostapi/HostSession.h"
#include "hostapi/ModuleLoader.h"
#include "platform/db/Database.h"
#include "platform/db/Dataset.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"
#include "support/RecordingInteraction.h"

#include <QApplication>
#include <QCheckBox>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace lumetra;

namespace {

class ListingControlsTest : public ::testing::Test {
protected:
    void open(int usuario)
    {
        TearDown();
        static ModuleLoader loader;
        static const bool loaded = loader.load();
        ASSERT_TRUE(loaded) << loader.errorString().toStdString();
        static const QString path = test::DemoShop::copy(QStringLiteral("controls"));
        owner = std::make_unique<QMainWindow>();
        auto* mdi = new QMdiArea(owner.get());
        owner->setCentralWidget(mdi);
        HostOptions host;
        host.baseDatos = path;
        host.idUsuario = usuario;
        host.fechaTrabajo = DateTime::fromYmd(2013, 5, 8);
        session = std::make_unique<HostSession>(host, owner.get());
        ASSERT_EQ(loader.cargar(session->params()), 0);
        QApplication::processEvents();
        window = mdi->subWindowList().last()->widget();
        Database db;
        db.open(path);
        controls = std::make_unique<ListingControls>(window, ListingControls::loadStores(db), *session->params());
        Dataset tienda(QStringLiteral("dstTienda"));
        tienda.setDatabase(&db);
        tienda.setSql(QStringLiteral("select DESCRIPCION from TIENDA where ID_TIENDA = 1"));
        tienda.open();
        storeOne = tienda.fieldAsText(QStringLiteral("DESCRIPCION"));
    }

    // Window, session, owner: the order the front end tears down in.
    void TearDown() override
    {
        controls.reset();
        if (owner)
            owner->findChild<QMdiArea*>()->closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        session.reset();
        owner.reset();
    }

    void apply(const char* listado, const QStringList& more)
    {
        controls->apply(ListadosOptions::parse(
            QStringList{"--db", "-", "--listado", listado, "--salida", "x.pdf"} + more));
    }

    template <class T> T* control(const char* name) { return window->findChild<T*>(QString::fromLatin1(name)); }

    test::RecordingInteraction interaction;
    std::unique_ptr<QMainWindow> owner;
    std::unique_ptr<HostSession> session;
    std::unique_ptr<ListingControls> controls;
    QWidget* window = nullptr;
    QString storeOne;
};

TEST_F(ListingControlsTest, SetsTheJournalPage)
{
    open(1);
    const QString cashSheetStores = control<CheckComboBox>("cbxTiendaCaja")->displayText();
    apply("diario", {"--fecha", "entre", "--desde", "02/05/2013", "--hasta", "06/05/2013", "--tiendas", "1", "--iva",
                     "caja", "--tipo", "detallado", "--familia", "si"});
    EXPECT_EQ(control<QStackedWidget>("pclListado")->currentWidget()->objectName(), "tstDiario");
    EXPECT_EQ(control<QComboBox>("cbxFechaDiario")->currentText(), "...Entre...");
    EXPECT_EQ(control<DateEdit>("edtFechaInicioDiario")->value(), DateTime::fromYmd(2013, 5, 2));
    EXPECT_EQ(control<DateEdit>("edtFechaFinDiario")->value(), DateTime::fromYmd(2013, 5, 6));
    // Store 1 does not come first by code: an identifier taken for a position would tick another.
    EXPECT_EQ(control<CheckComboBox>("cbxTiendaDiario")->displayText(), storeOne);
    EXPECT_EQ(control<QComboBox>("cbxIvaDiario")->currentText(), "Calcular con fecha de Caja");
    EXPECT_EQ(control<QComboBox>("cbxListadoDiario")->currentText(), "Detallado");
    EXPECT_TRUE(control<QCheckBox>("chxFamiliaDiario")->isChecked());
    EXPECT_EQ(control<CheckComboBox>("cbxTiendaCaja")->displayText(), cashSheetStores);
}

TEST_F(ListingControlsTest, LeftOutOptionsKeepTheWindowsValuesAndMonthTotalsFollowDayTotals)
{
    open(1);
    const auto state = [this] {
        return QStringList{control<QComboBox>("cbxFechaCaja")->currentText(),
                           control<DateEdit>("edtFechaInicioCaja")->displayedText(),
                           control<CheckComboBox>("cbxTiendaCaja")->displayText(),
                           control<QComboBox>("cbxCajaIva")->currentText(),
                           QString::number(control<QCheckBox>("chxTotalesMes")->isChecked())};
    };
    const QStringList before = state();
    apply("hoja", {});
    EXPECT_EQ(state(), before);

    apply("hoja", {"--totales-dia", "no", "--tiendas", "todas"});
    EXPECT_FALSE(control<QCheckBox>("chxTotalesMes")->isChecked());
    EXPECT_EQ(control<CheckComboBox>("cbxTiendaCaja")->displayText(), "[Todas las Tiendas Seleccionadas]");
    apply("hoja", {"--totales-dia", "no", "--totales-mes", "si"});
    EXPECT_TRUE(control<QCheckBox>("chxTotalesMes")->isChecked());
}

struct Refusal {
    const char* name;
    int usuario;
    QStringList arguments;
    const char* says;   // nullptr: accepted
};

TEST_F(ListingControlsTest, RefusesWhatTheUserMayNotChange)
{
    // User 2 sees only his store (1) and has neither month totals nor the group report; user 3
    // may not change dates.
    const Refusal rows[] = {
        {"clerk_month_totals", 2, {"--totales-mes", "si"}, "--totales-mes"},
        {"clerk_group_report", 2, {"--informe-grupos", "no"}, "--informe-grupos"},
        {"clerk_all_stores", 2, {"--tiendas", "todas"}, "su tienda"},
        {"clerk_other_store", 2, {"--tiendas", "2"}, "su tienda"},
        {"clerk_own_store_and_order_detail", 2, {"--tiendas", "1", "--detalle-encargos", "si"}, nullptr},
        {"locked_operator", 3, {"--fecha", "todas"}, "--fecha"},
        {"locked_date", 3, {"--desde", "02/05/2013"}, "--desde"},
        {"unknown_store", 1, {"--tiendas", "1,9"}, "9"},
    };
    for (const Refusal& row : rows) {
        open(row.usuario);
        try {
            apply("hoja", row.arguments);
            EXPECT_EQ(row.says, nullptr) << row.name << " was accepted";
        } catch (const OptionError& e) {
            EXPECT_NE(row.says, nullptr) << row.name << ": " << e.what();
            if (row.says) {
                EXPECT_TRUE(e.message().contains(QString::fromUtf8(row.says))) << row.name << ": " << e.what();
            }
        }
    }
}

} // namespace
