// ListingControls: sets the listing window's controls from the command line, as a person would:
// it clicks the listing's link, picks the date operator, types the dates, ticks the stores and
// sets the VAT basis, the journal type and the check boxes of the listing's page. Controls are
// found by their object names. An option left out leaves the control as the window set it.
//
// An option for a control the user may not use (a check box his rights hide, dates he may not
// change, a store outside his own, a listing the shop does not use) throws OptionError; the
// check box of the order detail is hidden for everybody and is always set.
#pragma once

#include "ListadosOptions.h"

#include <QList>
#include <QString>

class QWidget;

namespace lumetra {

class Database;
struct HostParams;

// A store as the window lists it: the stores other than identifier 0, in the order of their code.
struct StoreEntry {
    int id = 0;
    QString descripcion;
};

class ListingControls {
public:
    // `stores` in the window's order; `host` is the block the window was opened with.
    ListingControls(QWidget* window, QList<StoreEntry> stores, const HostParams& host);

    // Throws OptionError; controls set before the refused option keep their new values.
    void apply(const ListadosOptions& options);
    // Clicks "Imprimir".
    void print();

    // The page suffix of a listing's controls ("Caja", "Diario", ...).
    static QString pageSuffix(ListadosOptions::Listado listado);
    // Throws DatabaseError.
    static QList<StoreEntry> loadStores(Database& database);

private:
    template <class T> T* control(const QString& name) const;
    void selectListing(ListadosOptions::Listado listado);
    void setDates(const ListadosOptions& options, const QString& suffix);
    void setStores(const QList<int>& ids, const QString& suffix);
    void setIndex(const QString& name, int index);
    void setCheck(const QString& name, const char* option, bool checked, bool hiddenForAll = false);

    QWidget* window_;
    QList<StoreEntry> stores_;
    const HostParams& host_;
};

} // namespace lumetra
