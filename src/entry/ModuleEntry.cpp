#include "entry/ModuleEntry.h"

#include "entry/ModuleVariables.h"
#include "hostapi/HostParams.h"
#include "platform/ui/SpanishTranslation.h"
#include "window/dmConfiguracion.h"
#include "window/frmHojaCaja.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QMainWindow>
#include <QMdiArea>
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

// Spanish month and day names in the window's calendars whatever the host's locale. The
// calendar of a date edit is a window of its own, which does not take the edit's locale.
void localizar(TfrmHojaCaja* ventana)
{
    const QLocale espanol = SpanishTranslation::locale();
    ventana->setLocale(espanol);
    for (QDateTimeEdit* fecha : ventana->findChildren<QDateTimeEdit*>())
        if (QCalendarWidget* calendario = fecha->calendarPopup() ? fecha->calendarWidget() : nullptr)
            calendario->setLocale(espanol);
}

// An MDI child when the host's main window has an MDI area, else a tool window over it.
void mostrar(TfrmHojaCaja* ventana, QWidget* propietario)
{
    auto* principal = qobject_cast<QMainWindow*>(propietario);
    auto* mdi = principal ? qobject_cast<QMdiArea*>(principal->centralWidget()) : nullptr;
    if (!mdi) {
        ventana->show();
        return;
    }
    ventana->setWindowFlags(Qt::Widget);
    QMdiSubWindow* sub = mdi->addSubWindow(ventana, Qt::Tool);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(ventana->windowTitle());
    sub->setWindowIcon(QIcon());
    ventana->show();
    sub->adjustSize();
    sub->move(std::max(0, (mdi->viewport()->width() - sub->width()) / 2),
              std::max(0, (mdi->viewport()->height() - sub->height()) / 2));
    sub->show();
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
