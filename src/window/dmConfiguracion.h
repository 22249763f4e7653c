// TdmConfiguracion: the module-wide configuration module: general images, the edit style of
// the date and store controls, and the three button images (0 exit, 1 print, 2 listing link).
//
// One instance serves every open listing window: each window takes a reference when it opens
// and gives it back when it closes, and the last one frees it.
#pragma once

#include <QFont>
#include <QIcon>
#include <QList>
#include <QObject>

namespace lumetra {

struct HostParams;

class TdmConfiguracion : public QObject {
    Q_OBJECT
public:
    TdmConfiguracion(QObject* propietario, HostParams* parametros);

    // The one instance, created by the first window that asks and freed when the last one
    // gives its reference back; null while no window holds one.
    static TdmConfiguracion* Adquirir(QObject* propietario, HostParams* parametros);
    static void Liberar();
    static TdmConfiguracion* Instancia();
    static int Usuarios();

    QList<QIcon> imlImagen;
    QList<QIcon> imlBotones;   // 16 x 16
    QFont scrEstilo;           // Tahoma 9
    HostParams* Parametros;
};

} // namespace lumetra
