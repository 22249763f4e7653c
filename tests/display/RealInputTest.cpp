// Mouse and keys as a person gives them, through the X server: the click that opens a store
// list, typing a date into a clicked field, F12 after clicking the window's title.
#include "support/ListingWindowFixture.h"

#include "platform/format/PrintQString.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QTest>

using namespace lumetra;

namespace {

// Runs xdotool and lets the events it sent arrive.
void xdotool(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(p.waitForFinished(5000)) << arguments.join(' ').toStdString();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 250)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void moveTo(const QWidget* w, QPoint local)
{
    const QPoint g = w->mapToGlobal(local);
    xdotool({"mousemove", "--sync", QString::number(g.x()), QString::number(g.y())});
}

class RealInputTest : public test::ListingWindowFixture {
protected:
    void SetUp() override
    {
        ListingWindowFixture::SetUp();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        open();
        ASSERT_NE(window, nullptr);
        QTest::qWait(300);
    }
};

TEST_F(RealInputTest, TheClickThatOpensAStoreListTicksNothing)
{
    auto* tiendas = control<CheckComboBox>(QStringLiteral("cbxTiendaCaja"));
    const QString before = tiendas->displayText();
    moveTo(tiendas, tiendas->rect().center());
    xdotool({"mousedown", "1"});
    xdotool({"mouseup", "1"});
    ASSERT_TRUE(tiendas->isListOpen());
    EXPECT_EQ(tiendas->displayText(), before);
    // A click inside the open list ticks or unticks the row under it.
    const bool antes1 = tiendas->isChecked(1);
    QAbstractItemView* view = tiendas->view();
    moveTo(view->viewport(), view->visualRect(view->model()->index(1, 0)).center());
    xdotool({"click", "1"});
    EXPECT_NE(tiendas->isChecked(1), antes1);
    EXPECT_TRUE(tiendas->isListOpen());
    xdotool({"key", "Escape"});
    window->grab().save(QStringLiteral(LUMETRA_ARTIFACTS "/x11-lista-tiendas.png"));
}

TEST_F(RealInputTest, ADateTypedIntoAClickedFieldIsTheDateTyped)
{
    auto* fecha = control<DateEdit>(QStringLiteral("edtFechaInicioCaja"));
    fecha->clearValue();
    moveTo(fecha, QPoint(fecha->width() - 30, fecha->height() / 2));
    xdotool({"click", "1"});
    xdotool({"type", "--delay", "30", "01/04/2013"});
    xdotool({"key", "Tab"});
    EXPECT_EQ(fecha->displayedText(), QStringLiteral("01/04/2013"));
    EXPECT_EQ(fecha->value(), DateTime::fromYmd(2013, 4, 1));
}

TEST_F(RealInputTest, F12AfterClickingTheWindowsTitleClosesIt)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    ASSERT_NE(frame, nullptr);
    // The title bar: above the window inside its frame.
    const QPoint title = window->mapTo(frame, QPoint(window->width() / 2, 0)) - QPoint(0, 8);
    moveTo(frame, title);
    xdotool({"click", "1"});
    QPointer<QWidget> ventana = window;
    xdotool({"key", "F12"});
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ventana.isNull());
    window = nullptr;
}

} // namespace
