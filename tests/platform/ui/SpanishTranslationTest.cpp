// Qt's own dialogs and day names in Spanish: the real catalogue installed into the application,
// read back through real widgets.
#include "platform/format/PrintQString.h"
#include "platform/ui/SpanishTranslation.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

QString lookInLabel()
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    EXPECT_NE(label, nullptr);
    return label ? label->text() : QString();
}

TEST(SpanishTranslation, QtDialogTextsAreSpanishWhileInstalled)
{
    ASSERT_FALSE(SpanishTranslation::qtSpeaksSpanish()) << "nothing installed yet";
    EXPECT_EQ(lookInLabel(), QStringLiteral("Look in:"));
    {
        SpanishTranslation spanish;
        ASSERT_TRUE(spanish.install()) << spanish.errorString().toStdString();
        EXPECT_TRUE(SpanishTranslation::qtSpeaksSpanish());
        // The file dialog, the print dialog and the standard buttons.
        EXPECT_EQ(lookInLabel(), QStringLiteral("Ver en:"));
        EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Imprimir"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("Guardar"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
        EXPECT_TRUE(spanish.install()) << "a second install is harmless";

        spanish.remove();
        EXPECT_FALSE(SpanishTranslation::qtSpeaksSpanish());
        EXPECT_EQ(lookInLabel(), QStringLiteral("Look in:"));
        ASSERT_TRUE(spanish.install());
    }
    // Destroyed: its translator went with it.
    EXPECT_FALSE(SpanishTranslation::qtSpeaksSpanish());
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Print"));
}

TEST(SpanishTranslation, TheSpanishLocaleGivesSpanishMonthAndDayNames)
{
    const QLocale before;
    SpanishTranslation::useSpanishLocale();
    EXPECT_EQ(QLocale().monthName(6), QStringLiteral("junio"));
    EXPECT_EQ(QLocale().dayName(3), QStringLiteral("miércoles"));
    QLocale::setDefault(before);
}

} // namespace
