// The store check-list as a person uses it: the click that opens it, clicks inside it, keys.
#include "platform/ui/CheckComboBox.h"

#include "platform/format/PrintQString.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

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
