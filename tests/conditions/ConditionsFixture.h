// ConditionsFixture: a listing window created in this process, as the module creates it, on a
// fresh real database holding five stores (two of them with the same description) and a few
// sales, collections and cash-box movements. Tests set the window's controls and call its
// condition and query builders directly; messages and error windows are recorded.
//
// Store list of the window, ordered by code: 0 "[Todas las Tiendas Seleccionadas]",
// 1 Gràcia (id 2), 2 Sabadell (id 3), 3 Centro (id 1), 4 Duplicada (id 4), 5 Duplicada (id 5).
#pragma once

#include "hostapi/HostSession.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "window/frmHojaCaja.h"

#include <QList>
#include <QWidget>
#include <memory>
#include <ostream>

// Readable failure output for Qt texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

namespace lumetra::test {

class ConditionsFixture : public FirebirdFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the window for the user on the store (after any change the test made to the database).
    TfrmHojaCaja* open(int idUsuario = 1, int idTienda = 2);
    // Ticks exactly the given items of a store list.
    static void tick(CheckComboBox* stores, const QList<int>& items);
    // Sets the cash-sheet page: operator, dates (d/m/y of 2013) and ticked stores.
    void hoja(const QString& op, const QList<int>& stores, int fromDay = 15, int fromMonth = 6, int toDay = 20,
              int toMonth = 7);
    // Opens a built text on the fixture's own connection (details with :ID_MVENTA = 1); the
    // number of rows, or the database's error.
    int run(const QString& sql);

    std::unique_ptr<RecordingInteraction> interaction;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<HostSession> session;
    TfrmHojaCaja* w = nullptr;
};

} // namespace lumetra::test
