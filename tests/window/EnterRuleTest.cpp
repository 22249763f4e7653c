// The keyboard service's Enter rule on Qt's own controls.
#include "hostapi/CtrlTeclado.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace lumetra;

TEST(EnterRule, MovesOnExceptInGridsMemosAndOpenLists)
{
    TCtrlTeclado teclado;
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* date = new QDateEdit(&window);
    auto* memo = new QTextEdit(&window);
    auto* plain = new QPlainTextEdit(&window);
    auto* grid = new QTableWidget(3, 3, &window);
    auto* combo = new QComboBox(&window);
    combo->addItems({"uno", "dos"});
    combo->setEditable(true);
    window.show();
    QApplication::processEvents();

    EXPECT_TRUE(teclado.PermiteEnter(edit));
    EXPECT_TRUE(teclado.PermiteEnter(date));
    EXPECT_TRUE(teclado.PermiteEnter(nullptr));
    EXPECT_FALSE(teclado.PermiteEnter(memo));
    EXPECT_FALSE(teclado.PermiteEnter(memo->viewport()));
    EXPECT_FALSE(teclado.PermiteEnter(plain));
    EXPECT_FALSE(teclado.PermiteEnter(grid));
    EXPECT_FALSE(teclado.PermiteEnter(grid->viewport()));
    // A closed drop-down (or its inner edit) lets Enter move on; an open one keeps it.
    EXPECT_TRUE(teclado.PermiteEnter(combo));
    EXPECT_TRUE(teclado.PermiteEnter(combo->lineEdit()));
    combo->showPopup();
    QApplication::processEvents();
    EXPECT_FALSE(teclado.PermiteEnter(combo));
    EXPECT_FALSE(teclado.PermiteEnter(combo->lineEdit()));
    combo->hidePopup();
}
