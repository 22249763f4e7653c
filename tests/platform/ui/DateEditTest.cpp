// The date field as a person uses it: typing with or without slashes, clicking anywhere into it,
// leaving it, emptying it, the calendar.
#include "platform/ui/DateEdit.h"

#include "platform/format/PrintQString.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class DateEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 80);
        edit = new DateEdit(&window);
        edit->setObjectName(QStringLiteral("edtFecha"));
        edit->move(10, 10);
        other = new QLineEdit(&window);
        other->move(10, 45);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Reached with Tab from the next field, as a person does.
    void typeInto(const QString& text)
    {
        other->setFocus();
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, text);
    }

    QWidget window;
    DateEdit* edit = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(DateEditTest, TakesADateAsTyped)
{
    struct Caso { const char* typed; const char* shown; QDate date; };
    const Caso casos[] = {
        {"01042013", "01/04/2013", QDate(2013, 4, 1)},
        {"01/04/2013", "01/04/2013", QDate(2013, 4, 1)},
        {"1/4/2013", "01/04/2013", QDate(2013, 4, 1)},
        {"30-06-2013", "30/06/2013", QDate(2013, 6, 30)},
        {"29/02/2012", "29/02/2012", QDate(2012, 2, 29)},
        {"31122099", "31/12/2099", QDate(2099, 12, 31)},
        {"31121899", "31/12/1899", QDate(1899, 12, 31)},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.typed);
        edit->setValue(DateTime::fromYmd(2013, 6, 15));   // typed over an earlier date
        typeInto(QString::fromLatin1(c.typed));
        // Leaving the field keeps what was typed.
        other->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(edit->displayedText(), QString::fromLatin1(c.shown));
        EXPECT_EQ(edit->error(), QString());
        EXPECT_EQ(edit->value(), DateTime::fromDate(c.date));
    }
}

TEST_F(DateEditTest, SaysWhyATextIsNotADateAndNeverReadsAnother)
{
    struct Caso { const char* typed; const char* error; };
    const Caso casos[] = {
        {"31022013", "La Fecha «31/02/2013» no existe"},
        {"29022013", "La Fecha «29/02/2013» no existe"},
        {"00012013", "La Fecha «00/01/2013» no existe"},
        {"15132013", "La Fecha «15/13/2013» no existe"},
        {"00002013", "La Fecha «00/00/2013» no existe"},
        {"01010001", "La Fecha «01/01/0001» es anterior al 31/12/1899, la primera fecha que se puede escribir"},
        {"15061850", "La Fecha «15/06/1850» es anterior al 31/12/1899, la primera fecha que se puede escribir"},
        // The empty date typed out is not an empty field.
        {"30121899", "La Fecha «30/12/1899» es anterior al 31/12/1899, la primera fecha que se puede escribir"},
        {"010413", "La Fecha «01/04/13» está incompleta: escríbala como dd/mm/aaaa"},
        {"1", "La Fecha «1 /  /» está incompleta: escríbala como dd/mm/aaaa"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.typed);
        edit->setValue(DateTime::fromYmd(2013, 6, 15));
        typeInto(QString::fromLatin1(c.typed));
        other->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(edit->error(), QString::fromUtf8(c.error));
        EXPECT_TRUE(edit->value().isZero());
        EXPECT_FALSE(edit->isEmpty());
    }
}

TEST_F(DateEditTest, AnEmptiedFieldIsEmpty)
{
    edit->setValue(DateTime::fromYmd(2013, 6, 15));
    other->setFocus();
    edit->setFocus(Qt::TabFocusReason);   // the whole date selected
    QTest::keyClick(edit, Qt::Key_Delete);
    other->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(edit->isEmpty());
    EXPECT_TRUE(edit->value().isZero());
    EXPECT_EQ(edit->error(), QString());
    EXPECT_EQ(edit->displayedText(), QString());
}

TEST_F(DateEditTest, AClickIntoAnEmptyFieldWritesFromItsStart)
{
    edit->clearValue();
    // Clicked near its right end, as a person does.
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(edit->width() - 40, edit->height() / 2));
    QTest::keyClicks(edit, QStringLiteral("07052013"));
    EXPECT_EQ(edit->value(), DateTime::fromYmd(2013, 5, 7));

    // Clicked into the middle of a date: the digit there is overwritten, the rest stays.
    edit->setValue(DateTime::fromYmd(2013, 5, 7));
    edit->setCursorPosition(3);
    QTest::keyClicks(edit, QStringLiteral("1"));
    EXPECT_EQ(edit->displayedText(), QStringLiteral("07/15/2013"));
    EXPECT_EQ(edit->error(), QStringLiteral("La Fecha «07/15/2013» no existe"));
}

TEST_F(DateEditTest, TheCalendarDropsDownInSpanishAndSetsTheDateClicked)
{
    edit->setValue(DateTime::fromYmd(2013, 6, 15));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget* calendar = edit->calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(2013, 6, 15));
    EXPECT_EQ(calendar->locale().monthName(6), QStringLiteral("junio"));
    EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Monday);

    // A click on the 20th of the month shown.
    auto* table = calendar->findChild<QTableView*>();
    ASSERT_NE(table, nullptr);
    QModelIndex target;
    for (int r = 0; r < table->model()->rowCount() && !target.isValid(); ++r)
        for (int c = 0; c < table->model()->columnCount(); ++c) {
            const QModelIndex i = table->model()->index(r, c);
            if (r > 0 && table->model()->data(i).toInt() == 20) {
                target = i;
                break;
            }
        }
    ASSERT_TRUE(target.isValid());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualRect(target).center());
    QApplication::processEvents();
    EXPECT_EQ(edit->value(), DateTime::fromYmd(2013, 6, 20));
    EXPECT_EQ(edit->calendar(), nullptr);

    // Opened on an empty field, it shows today.
    edit->clearValue();
    edit->showCalendar();
    ASSERT_NE(edit->calendar(), nullptr);
    EXPECT_EQ(edit->calendar()->selectedDate(), QDate::currentDate());
    edit->calendar()->close();
    EXPECT_TRUE(edit->isEmpty());
}

} // namespace
