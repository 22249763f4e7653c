#include "common/frmPorcentajeListado.h"
#include "platform/ui/Interaction.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

// A click as the window system delivers it: queued, seen only when events are processed.
void encolarClic(QWidget* boton)
{
    const QPointF centro = QRectF(boton->rect()).center();
    const QPointF global = boton->mapToGlobal(centro);
    QCoreApplication::postEvent(boton, new QMouseEvent(QEvent::MouseButtonPress, centro, global, Qt::LeftButton,
                                                       Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(boton, new QMouseEvent(QEvent::MouseButtonRelease, centro, global, Qt::LeftButton,
                                                       Qt::NoButton, Qt::NoModifier));
}

TEST(ProgressWindowTest, ARealClickCancelsOnceEventsRunForGoodAndNeverCarriesOverToANewWindow)
{
    QWidget principal;
    principal.resize(800, 600);
    principal.show();
    QPointer<TfrmPorcentajeListado> ventana = new TfrmPorcentajeListado(&principal);
    Interaction::current().showWindow(*ventana);
    ASSERT_TRUE(ventana->isVisible());
    EXPECT_TRUE(ventana->isWindow());
    EXPECT_EQ(ventana->windowTitle(), "Buscando");
    EXPECT_EQ(ventana->findChild<QLabel*>(QStringLiteral("Label1"))->text(), "Buscando Registros...");
    EXPECT_LE((ventana->frameGeometry().center() - principal.frameGeometry().center()).manhattanLength(), 8)
        << "centred on the host's main window";

    auto* cancelar = ventana->findChild<QPushButton*>(QStringLiteral("btnCancelar"));
    encolarClic(cancelar);
    EXPECT_FALSE(ventana->Cancelado()) << "the click waits in the queue";
    Interaction::current().processEvents();
    EXPECT_TRUE(ventana->Cancelado());
    cancelar->click();
    EXPECT_TRUE(ventana->Cancelado()) << "a second press does not undo the first";

    delete ventana.data();
    EXPECT_TRUE(principal.findChildren<TfrmPorcentajeListado*>().isEmpty());
    EXPECT_FALSE(TfrmPorcentajeListado(&principal).Cancelado());
}

} // namespace
