// The module in a host that did not translate Qt: its window's dialogs and calendars still speak
// Spanish, and _Liberar_Dll takes out what _Cargar_Dll put in; a host that translated Qt itself
// keeps its own translation.
#include "support/ListingWindowFixture.h"

#include "hostapi/ModuleLoader.h"
#include "platform/format/PrintQString.h"
#include "platform/ui/DateEdit.h"
#include "platform/ui/SpanishTranslation.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QToolButton>

using namespace lumetra;

namespace {

class ModuleTranslationTest : public test::ListingWindowFixture {
protected:
    void TearDown() override
    {
        closeWindow();
        module().liberar();
        ListingWindowFixture::TearDown();
    }

    // The month each date field's drop-down calendar shows, as its month button reads.
    QStringList calendarMonths() const
    {
        QStringList months;
        for (DateEdit* edit : window->findChildren<DateEdit*>()) {
            edit->setValue(DateTime::fromYmd(2013, 6, 15));
            edit->showCalendar();
            QApplication::processEvents();
            auto* month = edit->calendar() ? edit->calendar()->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton")) : nullptr;
            months << (month ? month->text().toLower() : QStringLiteral("(no calendar)"));
            if (edit->calendar())
                edit->calendar()->close();
        }
        return months;
    }
};

TEST_F(ModuleTranslationTest, AHostWithoutSpanishGetsTheModulesUntilRelease)
{
    ASSERT_FALSE(SpanishTranslation::qtSpeaksSpanish());
    ASSERT_EQ(QLocale().monthName(6), QStringLiteral("June")) << "the host's locale is not Spanish";
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(SpanishTranslation::qtSpeaksSpanish());
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Ver en:"));
    const QStringList months = calendarMonths();
    ASSERT_FALSE(months.isEmpty()) << "the window has date edits";
    for (const QString& month : months)
        EXPECT_EQ(month, QStringLiteral("junio"));
    EXPECT_EQ(QLocale().monthName(6), QStringLiteral("June")) << "the host's own locale is left alone";

    // A second window does not install a second translation.
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(module().liberar(), 0);
    EXPECT_FALSE(SpanishTranslation::qtSpeaksSpanish());
    EXPECT_TRUE(window->isVisible()) << "the open window stays as it is";
}

TEST_F(ModuleTranslationTest, AHostThatTranslatedQtKeepsItsOwnTranslation)
{
    SpanishTranslation hosts;
    ASSERT_TRUE(hosts.install()) << hosts.errorString().toStdString();
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(module().liberar(), 0);
    EXPECT_TRUE(SpanishTranslation::qtSpeaksSpanish()) << "the release took out the host's translation";
    // The module added none of its own: without the host's, Qt speaks English.
    hosts.remove();
    EXPECT_FALSE(SpanishTranslation::qtSpeaksSpanish());
}

} // namespace
