// The preview a person gets: maximised at page width, page buttons that say where one can go,
// pictures that tell print, export and the two zooms apart.
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportPreview.h"

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

ReportDocument pages(int count)
{
    ReportDocument document;
    document.title = QStringLiteral("Hoja de Caja");
    document.pageSize = QSizeF(794, 1123);   // A4 in report units
    document.pages.resize(count);
    return document;
}

QAction* action(const ReportPreview& preview, const char* name)
{
    QAction* a = preview.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

QStringList enabled(const ReportPreview& preview)
{
    QStringList names;
    for (const char* n : {"actPrimera", "actAnterior", "actSiguiente", "actUltima"})
        if (action(preview, n)->isEnabled())
            names << QString::fromLatin1(n);
    return names;
}

qreal pageWidthShare(const ReportPreview& preview)
{
    const auto* scroll = preview.findChild<QScrollArea*>(QStringLiteral("scrPagina"));
    return preview.zoom() * preview.document().pageSize.width() / scroll->viewport()->width();
}

TEST(ReportPreviewTest, OpensMaximisedAtPageWidthAndKeepsAZoomThePersonChose)
{
    ReportPreview preview(pages(3));
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_TRUE(preview.isMaximized());
    // The page fills the width of the maximised window, not of the window before it was maximised.
    EXPECT_GT(pageWidthShare(preview), 0.9);
    EXPECT_LE(pageWidthShare(preview), 1.0);
    preview.grab().save(QStringLiteral(LUMETRA_ARTIFACTS "/vista-previa.png"));

    action(preview, "actAmpliar")->trigger();
    const qreal chosen = preview.zoom();
    preview.showNormal();
    preview.resize(600, 500);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(preview.zoom(), chosen);
    action(preview, "actAnchoPagina")->trigger();
    EXPECT_GT(pageWidthShare(preview), 0.9);
    // Back at page width, it follows the window again.
    preview.resize(900, 700);
    QApplication::processEvents();
    EXPECT_GT(pageWidthShare(preview), 0.9);
    EXPECT_LE(pageWidthShare(preview), 1.0);
}

TEST(ReportPreviewTest, PageButtonsAreDisabledWhereThereIsNowhereToGo)
{
    ReportPreview preview(pages(3));
    preview.show();
    EXPECT_EQ(enabled(preview), (QStringList{"actSiguiente", "actUltima"}));
    action(preview, "actSiguiente")->trigger();
    EXPECT_EQ(enabled(preview), (QStringList{"actPrimera", "actAnterior", "actSiguiente", "actUltima"}));
    action(preview, "actUltima")->trigger();
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_EQ(enabled(preview), (QStringList{"actPrimera", "actAnterior"}));
    action(preview, "actPrimera")->trigger();
    EXPECT_EQ(preview.currentPage(), 0);
    action(preview, "actCerrar")->trigger();
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.result(), QDialog::Accepted);

    ReportPreview single(pages(1));
    single.show();
    EXPECT_TRUE(enabled(single).isEmpty());
}

TEST(ReportPreviewTest, PrintExportAndZoomHaveTheirOwnPictures)
{
    ReportPreview preview(pages(1));
    QList<QImage> all;
    for (const char* name : {"actImprimir", "actExportar", "actAmpliar", "actReducir", "actAnchoPagina"}) {
        all << action(preview, name)->icon().pixmap(24, 24).toImage();
        EXPECT_FALSE(all.last().isNull()) << name;
    }
    for (qsizetype a = 0; a < all.size(); ++a)
        for (qsizetype b = a + 1; b < all.size(); ++b)
            EXPECT_NE(all[a], all[b]) << a << " " << b;
    // Printing does not show the style's "save" picture.
    EXPECT_NE(all[0], preview.style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(24, 24).toImage());
}

} // namespace
