// ConditionsFixture: a fresh real database holding five stores (two of them with the same
// description) and a few sales, collections and cash-box movements, and, once a test opens it,
// a listing window created in this process as the module creates it. Tests hand the window's
// builders and print dispatch listing requests (conditions/Requests.h) or set its controls;
// messages and error windows are recorded.
//
// Store list of the window, ordered by code: 0 "[Todas las Tiendas Seleccionadas]",
// 1 Gràcia (id 2), 2 Sabadell (id 3), 3 Centro (id 1), 4 Duplicada (id 4), 5 Duplicada (id 5).
#pragma once

#include "hostapi/HostSession.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "window/frmHojaCaja.h"

#include "platform/format/PrintQString.h"

#include <QList>
#include <QWidget>
#include <memory>

namespace lumetra::test {

class ConditionsFixture : public FirebirdFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the window for the user on the store (after any change the test made to the database).
    TfrmHojaCaja* open(int idUsuario = 1, int idTienda = 2);
    // Ticks exactly the given items of a store list.
    static void tick(CheckComboBox* stores, const QList<int>& items);
    // Opens a built text on the fixture's own connection (details with :ID_MVENTA = 1); the
    // number of rows, or the database's error.
    int run(const QString& sql);

    std::unique_ptr<RecordingInteraction> interaction;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<HostSession> session;
    TfrmHojaCaja* w = nullptr;
};

} // namespace lumetra::test
