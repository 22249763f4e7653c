// The condition fields as a person uses them. The date field: typing with or without slashes,
// clicking anywhere into it, leaving it, emptying it, the calendar. The store check-list: the
// click that opens it, clicks inside it, keys.
#include "platform/format/PrintQString.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

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
        edit->setObjectName("edtFecha");
        edit->move(10, 10);
        other = new QLineEdit(&window);
        other->move(10, 45);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Reached with Tab from the next field and typed into, as a person does, then left.
    void typeOver(const QString& text)
    {
        edit->setValue(DateTime::fromYmd(2013, 6, 15));   // typed over an earlier date
        other->setFocus();
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, text);
        other->setFocus();
        QApplication::processEvents();
    }

    QWidget window;
    DateEdit* edit = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(DateEditTest, TakesADateAsTyped)
{
    const struct { const char* typed; const char* shown; QDate date; } cases[] = {
        {"01042013", "01/04/2013", QDate(2013, 4, 1)},  {"01/04/2013", "01/04/2013", QDate(2013, 4, 1)},
        {"1/4/2013", "01/04/2013", QDate(2013, 4, 1)},  {"30-06-2013", "30/06/2013", QDate(2013, 6, 30)},
        {"29/02/2012", "29/02/2012", QDate(2012, 2, 29)}, {"31122099", "31/12/2099", QDate(2099, 12, 31)},
        {"31121899", "31/12/1899", QDate(1899, 12, 31)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        typeOver(QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->displayedText(), QString::fromLatin1(c.shown));
        EXPECT_EQ(edit->error(), QString());
        EXPECT_EQ(edit->value(), DateTime::fromDate(c.date));
    }
}

TEST_F(DateEditTest, SaysWhyATextIsNotADateAndNeverReadsAnother)
{
    const QString early = QStringLiteral(" es anterior al 31/12/1899, la primera fecha que se puede escribir");
    const QString incomplete = QStringLiteral(" está incompleta: escríbala como dd/mm/aaaa");
    const struct { const char* typed; const char* shown; QString why; } cases[] = {
        {"31022013", "31/02/2013", " no existe"}, {"29022013", "29/02/2013", " no existe"},
        {"00012013", "00/01/2013", " no existe"}, {"15132013", "15/13/2013", " no existe"},
        {"01010001", "01/01/0001", early},        {"15061850", "15/06/1850", early},
        {"30121899", "30/12/1899", early},   // the empty date typed out is not an empty field
        {"010413", "01/04/13", incomplete},       {"1", "1 /  /", incomplete},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        typeOver(QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->error(), QStringLiteral("La Fecha «%1»").arg(QLatin1String(c.shown)) + c.why);
        EXPECT_TRUE(edit->value().isZero());
        EXPECT_FALSE(edit->isEmpty());
    }
}

TEST_F(DateEditTest, AnEmptiedFieldIsEmpty)
{
    typeOver({});   // reached with Tab: the whole date selected
    edit->setFocus(Qt::TabFocusReason);
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
    QTest::keyClicks(edit, "07052013");
    EXPECT_EQ(edit->value(), DateTime::fromYmd(2013, 5, 7));

    // Clicked into the middle of a date: the digit there is overwritten, the rest stays.
    edit->setCursorPosition(3);
    QTest::keyClicks(edit, "1");
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

    // A click on the 20th of the month shown (row 0 holds the day names).
    auto* table = calendar->findChild<QTableView*>();
    ASSERT_NE(table, nullptr);
    const QAbstractItemModel* days = table->model();
    QModelIndex target;
    for (int cell = days->columnCount(); cell < days->rowCount() * days->columnCount() && !target.isValid(); ++cell)
        if (days->index(cell / days->columnCount(), cell % days->columnCount()).data().toInt() == 20)
            target = days->index(cell / days->columnCount(), cell % days->columnCount());
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

class CheckComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box = new CheckComboBox(&window);
        box->setEmptyText(QStringLiteral("[Debe Seleccionar al menos una Tienda]"));
        for (const char* t : {"[Todas las Tiendas Seleccionadas]", "Lumetra Centro", "Lumetra Gràcia"})
            box->addCheckItem(QString::fromUtf8(t));
        window.resize(500, 100);
        window.show();
        QApplication::processEvents();
    }
    void TearDown() override { box->hidePopup(); }

    // Mouse buttons on the open list, at the centre of a row.
    void mouse(void (*action)(QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint, int), int row)
    {
        QAbstractItemView* view = box->view();
        action(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(view->model()->index(row, 0)).center(), -1);
    }

    QWidget window;
    CheckComboBox* box = nullptr;
};

TEST_F(CheckComboBoxTest, TheClickThatOpensTheListTicksNothing)
{
    box->setChecked(0, true);
    box->showPopup();
    QApplication::processEvents();
    // The button's release lands on the item that opened under the pointer.
    mouse(QTest::mouseRelease, 0);
    EXPECT_TRUE(box->isChecked(0));
    EXPECT_TRUE(box->isListOpen());

    // A click inside the list toggles the item under it and leaves the list open.
    mouse(QTest::mouseClick, 1);
    EXPECT_TRUE(box->isChecked(1));
    mouse(QTest::mouseClick, 0);
    EXPECT_FALSE(box->isChecked(0));
    EXPECT_TRUE(box->isListOpen());
    EXPECT_EQ(box->displayText(), QStringLiteral("Lumetra Centro"));

    // Pressed on one item, released on another: nothing.
    mouse(QTest::mousePress, 2);
    mouse(QTest::mouseRelease, 1);
    EXPECT_FALSE(box->isChecked(2));
    EXPECT_TRUE(box->isChecked(1));
}

TEST_F(CheckComboBoxTest, ArrowsHighlightAndSpaceTicksTheCurrentRow)
{
    box->showPopup();
    QApplication::processEvents();
    QAbstractItemView* view = box->view();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->currentIndex().row(), 2);
    // The current row shows highlighted.
    EXPECT_TRUE(view->selectionModel()->isSelected(view->currentIndex()));
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked(2) && !box->isChecked(0) && !box->isChecked(1));
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked(2));
    EXPECT_TRUE(box->isListOpen());
}

TEST_F(CheckComboBoxTest, TheEmptyTextAndEveryItemFitTheClosedBox)
{
    box->setMinimumWidth(100);
    box->adjustSize();
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect text = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    EXPECT_GE(text.width(), box->fontMetrics().horizontalAdvance(box->emptyText()));
    EXPECT_GE(text.width(), box->fontMetrics().horizontalAdvance(QStringLiteral("[Todas las Tiendas Seleccionadas]")));
    EXPECT_GE(box->minimumSizeHint().width(), box->sizeHint().width());
}

} // namespace
