#include "HostWindow.h"

#include <QAction>
#include <QMdiArea>
#include <QMenuBar>

namespace lumetra {

HostWindow::HostWindow(std::function<void()> abrirListado)
    : mdi_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Lumetra"));
    setCentralWidget(mdi_);
    QMenu* listados = menuBar()->addMenu(QStringLiteral("&Listados"));
    QAction* hoja = listados->addAction(QStringLiteral("&Hoja de caja diaria"), this, std::move(abrirListado));
    hoja->setObjectName(QStringLiteral("actHojaCaja"));
    listados->addSeparator();
    listados->addAction(QStringLiteral("&Salir"), this, &QWidget::close);
    resize(1100, 720);
}

} // namespace lumetra
