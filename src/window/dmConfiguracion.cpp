#include "window/dmConfiguracion.h"

#include <QPainter>
#include <functional>
#include <QPixmap>

namespace lumetra {

namespace {

int referencias = 0;
TdmConfiguracion* instancia = nullptr;

QIcon drawIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

} // namespace

TdmConfiguracion::TdmConfiguracion(QObject* propietario, HostParams* parametros)
    : QObject(propietario)
    , scrEstilo(QStringLiteral("Tahoma"), 9)
    , Parametros(parametros)
{
    setObjectName(QStringLiteral("dmConfiguracion"));
    imlBotones << drawIcon([](QPainter& p) {   // exit: a door with an arrow
        p.setPen(QPen(QColor(90, 60, 30), 1.5));
        p.drawRect(3, 2, 8, 12);
        p.setPen(QPen(QColor(180, 30, 30), 2));
        p.drawLine(8, 8, 15, 8);
        p.drawLine(12, 5, 15, 8);
        p.drawLine(12, 11, 15, 8);
    });
    imlBotones << drawIcon([](QPainter& p) {   // print: a printer
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 5);
        p.setBrush(QColor(120, 120, 130));
        p.drawRoundedRect(1, 6, 14, 6, 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 8, 5);
    });
    imlBotones << drawIcon([](QPainter& p) {   // listing: a sheet with lines
        p.setPen(QPen(QColor(40, 70, 140), 1));
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 14);
        for (int y = 4; y <= 12; y += 3)
            p.drawLine(5, y, 11, y);
    });
    imlImagen = imlBotones;
}

TdmConfiguracion* TdmConfiguracion::Adquirir(QObject* propietario, HostParams* parametros)
{
    if (!instancia)
        instancia = new TdmConfiguracion(propietario, parametros);
    ++referencias;
    return instancia;
}

void TdmConfiguracion::Liberar()
{
    if (referencias > 0)
        --referencias;
    if (referencias == 0 && instancia) {
        delete instancia;
        instancia = nullptr;
    }
}

TdmConfiguracion* TdmConfiguracion::Instancia()
{
    return instancia;
}

int TdmConfiguracion::Usuarios()
{
    return referencias;
}

} // namespace lumetra
