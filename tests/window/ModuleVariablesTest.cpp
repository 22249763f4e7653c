// The module's exported instance variables, read the way a host reads them: each points to a
// live object or is null, never to a freed one.
#include "support/ListingWindowFixture.h"

#include "hostapi/ModuleLoader.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace lumetra;

namespace {

class ModuleVariablesTest : public test::ListingWindowFixture {
protected:
    static QObject* leer(const char* simbolo)
    {
        auto* variable = static_cast<QObject**>(module().variable(simbolo));
        EXPECT_NE(variable, nullptr) << simbolo;
        return variable ? *variable : nullptr;
    }
    static QObject* ventana() { return leer("_ZN7lumetra11frmHojaCajaE"); }
    static QObject* configuracion() { return leer("_ZN7lumetra15dmConfiguracionE"); }

    void cerrar(QWidget* w)
    {
        for (QMdiSubWindow* sub : mdi->subWindowList())
            if (sub->widget() == w)
                sub->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(ModuleVariablesTest, WindowAndConfigurationAreClearedWhenTheyGo)
{
    QWidget* primera = open();
    ASSERT_NE(primera, nullptr);
    EXPECT_EQ(ventana(), primera);
    QObject* conf = configuracion();
    ASSERT_NE(conf, nullptr);
    EXPECT_EQ(conf->objectName(), QStringLiteral("dmConfiguracion"));

    QWidget* segunda = open();
    ASSERT_NE(segunda, primera);
    EXPECT_EQ(ventana(), segunda) << "the last window opened";
    EXPECT_EQ(configuracion(), conf) << "one configuration module for every window";

    // The last window opened goes first: the variable no longer points to it, and the
    // configuration stays for the window still open.
    cerrar(segunda);
    EXPECT_EQ(ventana(), nullptr);
    EXPECT_EQ(configuracion(), conf);

    cerrar(primera);
    EXPECT_EQ(ventana(), nullptr);
    EXPECT_EQ(configuracion(), nullptr);

    // A new window sets both again.
    QWidget* tercera = open();
    EXPECT_EQ(ventana(), tercera);
    EXPECT_NE(configuracion(), nullptr);
}

} // namespace
