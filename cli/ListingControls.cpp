#include "ListingControls.h"

#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "hostapi/Usuario.h"
#include "platform/db/Dataset.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QStackedWidget>
#include <QToolButton>
#include <stdexcept>
#include <utility>

namespace lumetra {

namespace {

using Listado = ListadosOptions::Listado;

// Hidden on purpose by the window (not merely not shown yet: the owner stays hidden).
bool usable(const QWidget* w)
{
    const bool hidden = w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
    return !hidden && w->isEnabled();
}

const char* const kTodasLasTiendas = "[Todas las Tiendas Seleccionadas]";

} // namespace

ListingControls::ListingControls(QWidget* window, QList<StoreEntry> stores, const HostParams& host)
    : window_(window)
    , stores_(std::move(stores))
    , host_(host)
{
}

template <class T> T* ListingControls::control(const QString& name) const
{
    T* found = window_->findChild<T*>(name);
    if (!found)
        throw std::runtime_error(QStringLiteral("la ventana de listados no tiene el control «%1»").arg(name).toStdString());
    return found;
}

QString ListingControls::pageSuffix(Listado listado)
{
    switch (listado) {
    case Listado::Hoja: return QStringLiteral("Caja");
    case Listado::Diario: return QStringLiteral("Diario");
    case Listado::Grupos: return QStringLiteral("Grupos");
    case Listado::Tarjetas: return QStringLiteral("Tarjetas");
    }
    return {};
}

QList<StoreEntry> ListingControls::loadStores(Database& database)
{
    // The window's own statement, so that stores with equal codes come in the same order.
    Dataset tiendas(QStringLiteral("dstTiendas"));
    tiendas.setDatabase(&database);
    tiendas.setSql(QStringLiteral("Select * from TIENDA where ID_TIENDA != 0 Order By CODIGO"));
    tiendas.open();
    QList<StoreEntry> stores;
    for (bool hay = !tiendas.isEmpty(); hay; hay = tiendas.next())
        stores.append({tiendas.fieldAsInteger(QStringLiteral("ID_TIENDA")), tiendas.fieldAsText(QStringLiteral("DESCRIPCION"))});
    return stores;
}

void ListingControls::apply(const ListadosOptions& o)
{
    selectListing(o.listado);
    const QString suffix = pageSuffix(o.listado);
    setDates(o, suffix);
    if (o.tiendas)
        setStores(*o.tiendas, suffix);
    if (o.iva)
        setIndex(o.listado == Listado::Diario ? QStringLiteral("cbxIvaDiario") : QStringLiteral("cbxCajaIva"), *o.iva);
    if (o.tipo)
        setIndex(QStringLiteral("cbxListadoDiario"), *o.tipo);
    if (o.familia)
        setCheck(QStringLiteral("chxFamiliaDiario"), "familia", *o.familia);
    // The day totals tick the monthly ones; an explicit --totales-mes comes after and wins.
    if (o.totalesDia)
        setCheck(QStringLiteral("chxTotalesDia"), "totales-dia", *o.totalesDia);
    if (o.totalesMes)
        setCheck(QStringLiteral("chxTotalesMes"), "totales-mes", *o.totalesMes);
    if (o.informeGrupos)
        setCheck(QStringLiteral("chxInformeGrupos"), "informe-grupos", *o.informeGrupos);
    if (o.informeTarjetas)
        setCheck(QStringLiteral("chxInformeTarjetas"), "informe-tarjetas", *o.informeTarjetas);
    if (o.detalleEncargos)
        setCheck(QStringLiteral("chxDetalleCaja"), "detalle-encargos", *o.detalleEncargos, true);
}

void ListingControls::print()
{
    control<QToolButton>(QStringLiteral("nbiImprimir"))->click();
}

void ListingControls::selectListing(Listado listado)
{
    static const char* const links[] = {"nbiHojaCaja", "nbiDiario", "nbiGrupos", "nbiTarjetas"};
    static const char* const pages[] = {"tstHoja", "tstDiario", "tstGrupos", "tstTarjetas"};
    const int i = int(listado);
    auto* link = window_->findChild<QToolButton*>(QString::fromLatin1(links[i]));
    if (!link && listado == Listado::Grupos)
        throw OptionError(QStringLiteral("la empresa no usa grupos de venta: el informe por grupos no está disponible"));
    if (!link)
        throw std::runtime_error(QStringLiteral("la ventana de listados no tiene el enlace «%1»").arg(QLatin1String(links[i])).toStdString());
    // The active listing's link is disabled: its page is already shown.
    if (link->isEnabled())
        link->click();
    QCoreApplication::processEvents();
    QWidget* page = control<QStackedWidget>(QStringLiteral("pclListado"))->currentWidget();
    if (!page || page->objectName() != QLatin1String(pages[i]))
        throw std::runtime_error(QStringLiteral("la ventana no muestra la página del listado «%1»")
                                     .arg(ListadosOptions::listadoWord(listado)).toStdString());
}

void ListingControls::setDates(const ListadosOptions& o, const QString& suffix)
{
    const QString bloqueadas = QStringLiteral("el usuario no puede cambiar las fechas de los listados (--%1)");
    if (!o.operador.isEmpty()) {
        auto* operador = control<QComboBox>(QStringLiteral("cbxFecha") + suffix);
        if (!usable(operador))
            throw OptionError(bloqueadas.arg(QStringLiteral("fecha")));
        operador->setCurrentText(o.operador);
        if (operador->currentText() != o.operador)
            throw std::runtime_error(QStringLiteral("la lista de operadores no ofrece «%1»").arg(o.operador).toStdString());
    }
    if (o.desde) {
        auto* inicio = control<DateEdit>(QStringLiteral("edtFechaInicio") + suffix);
        if (!usable(inicio))
            throw OptionError(bloqueadas.arg(QStringLiteral("desde")));
        inicio->setValue(*o.desde);
    }
    if (o.hasta) {
        auto* fin = control<DateEdit>(QStringLiteral("edtFechaFin") + suffix);
        if (!usable(fin))
            throw OptionError(bloqueadas.arg(QStringLiteral("hasta")));
        fin->setValue(*o.hasta);
    }
}

void ListingControls::setStores(const QList<int>& ids, const QString& suffix)
{
    auto* lista = control<CheckComboBox>(QStringLiteral("cbxTienda") + suffix);
    const int propia = host_.Puesto->IdTienda;
    if (host_.Usuario->SoloTiendaPropia != 0) {
        // The list holds the user's own store only.
        if (ids.isEmpty() || ids != QList<int>{propia})
            throw OptionError(QStringLiteral("el usuario solo puede listar su tienda (%1)").arg(propia));
        lista->setChecked(0, true);
        return;
    }
    if (lista->count() != stores_.size() + 1 || lista->itemText(0) != QString::fromUtf8(kTodasLasTiendas))
        throw std::runtime_error("la lista de tiendas de la ventana no es la de la base de datos");
    QList<int> items;
    if (ids.isEmpty())
        items << 0;
    for (int id : ids) {
        int position = -1;
        for (int p = 0; p < stores_.size() && position < 0; ++p)
            if (stores_.at(p).id == id)
                position = p;
        if (position < 0)
            throw OptionError(QStringLiteral("la tienda %1 no existe").arg(id));
        // Item i is the store at position i - 1, whatever the descriptions say.
        if (lista->itemText(position + 1) != stores_.at(position).descripcion)
            throw std::runtime_error("la lista de tiendas de la ventana no es la de la base de datos");
        items << position + 1;
    }
    for (int i = 0; i < lista->count(); ++i)
        lista->setChecked(i, items.contains(i));
}

void ListingControls::setIndex(const QString& name, int index)
{
    auto* lista = control<QComboBox>(name);
    lista->setCurrentIndex(index);
    if (lista->currentIndex() != index)
        throw std::runtime_error(QStringLiteral("la lista «%1» no tiene la entrada %2").arg(name).arg(index).toStdString());
}

void ListingControls::setCheck(const QString& name, const char* option, bool checked, bool hiddenForAll)
{
    auto* box = control<QCheckBox>(name);
    // A check box the user's rights hide or disable is not his to change.
    if (!hiddenForAll && !usable(box))
        throw OptionError(QStringLiteral("el usuario no tiene permiso para --%1 («%2»)").arg(QLatin1String(option), box->text()));
    box->setChecked(checked);
}

} // namespace lumetra
