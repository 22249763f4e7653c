#include "entry/ModuleEntry.h"

#include "entry/ModuleVariables.h"
#include "hostapi/HostParams.h"
#include "platform/ui/SpanishTranslation.h"
#include "window/dmConfiguracion.h"
#include "window/frmHojaCaja.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QApplication>
#include <QMdiSubWindow>
#include <memory>

using namespace lumetra;

namespace {

// Qt's own dialogs (file, print, calendar) in Spanish for a host that installed no Spanish
// translation: put in on the first load, taken out by _Liberar_Dll, before the host unloads us.
std::unique_ptr<SpanishTranslation> traduccion;

void traducirQt()
{
    if (traduccion || SpanishTranslation::qtSpeaksSpanish())
        return;
    auto propia = std::make_unique<SpanishTranslation>();
    if (propia->install())
        traduccion = std::move(propia);
}

// Spanish month and day names in the window whatever the host's locale (the date fields'
// calendars set their own).
void localizar(TfrmHojaCaja* ventana)
{
    ventana->setLocale(SpanishTranslation::locale());
}

// An MDI child when the host's main window has an MDI area, else a tool window over it. It opens
// at its designed size, centred; a second one opens offset from the first, never on top of it.
void mostrar(TfrmHojaCaja* ventana, QWidget* propietario)
{
    constexpr int kDesplazamiento = 24;
    const QSize disenio(774, 427);
    auto* principal = qobject_cast<QMainWindow*>(propietario);
    auto* mdi = principal ? qobject_cast<QMdiArea*>(principal->centralWidget()) : nullptr;
    if (!mdi) {
        int otras = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != ventana && qobject_cast<TfrmHojaCaja*>(w) && w->isVisible())
                ++otras;
        ventana->resize(disenio);
        if (propietario) {
            const QRect zona = propietario->frameGeometry();
            ventana->move(zona.center() - QPoint(disenio.width() / 2, disenio.height() / 2)
                          + QPoint(otras * kDesplazamiento, otras * kDesplazamiento));
        }
        ventana->show();
        return;
    }
    int otras = 0;
    for (QMdiSubWindow* s : mdi->subWindowList())
        if (s->widget() != ventana && qobject_cast<TfrmHojaCaja*>(s->widget()))
            ++otras;
    ventana->setWindowFlags(Qt::Widget);
    QMdiSubWindow* sub = mdi->addSubWindow(ventana, Qt::Tool);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(ventana->windowTitle());
    sub->setWindowIcon(QIcon());
    ventana->show();
    sub->show();
    // The frame around the window, then the window at its designed size inside it.
    const QSize marco = sub->size() - ventana->size();
    sub->resize(marco + disenio);
    const QPoint centro(std::max(0, (mdi->viewport()->width() - sub->width()) / 2),
                        std::max(0, (mdi->viewport()->height() - sub->height()) / 2));
    sub->move(centro + QPoint(otras * kDesplazamiento, otras * kDesplazamiento));
}

// The exported variables follow what they point to: each is cleared when its object goes.
void seguir(TfrmHojaCaja* ventana)
{
    frmHojaCaja = ventana;
    QObject::connect(ventana, &QObject::destroyed, [ventana] {
        if (frmHojaCaja == ventana)
            frmHojaCaja = nullptr;
    });
}

void seguirConfiguracion()
{
    TdmConfiguracion* actual = TdmConfiguracion::Instancia();
    if (actual == dmConfiguracion)
        return;
    dmConfiguracion = actual;
    if (actual)
        QObject::connect(actual, &QObject::destroyed, [actual] {
            if (dmConfiguracion == actual)
                dmConfiguracion = nullptr;
        });
}

} // namespace

int _Cargar_Dll(HostParams* parametros)
{
    try {
        if (!parametros)
            return -1;
        traducirQt();
        auto* ventana = new TfrmHojaCaja(parametros->Propietario);
        seguir(ventana);
        ventana->SetParametros(parametros);
        ventana->Preparar();
        seguirConfiguracion();
        localizar(ventana);
        mostrar(ventana, parametros->Propietario);
        return 0;
    } catch (...) {
        return -1;
    }
}

int _Liberar_Dll()
{
    try {
        traduccion.reset();
    } catch (...) {
    }
    return 0;
}
