// ListingWindowFixture: the real listing module, loaded once through QLibrary as the host does,
// opened on a fresh real database inside a host main window with an MDI area (offscreen).
// Tests reach the window's controls by their names.
#pragma once

#include "hostapi/HostSession.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"

#include <QMainWindow>
#include <memory>

class QMdiArea;

namespace lumetra {
class ModuleLoader;
}

namespace lumetra::test {

// The access-log rows the listing window wrote into the database at `path`.
int accessRows(const QString& path);

class ListingWindowFixture : public FirebirdFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the host block (after any change the test made to the database) and opens the
    // window through the module; returns the window.
    QWidget* open(int idUsuario = 1, int idTienda = 2);
    void closeWindow();
    int audits();
    static ModuleLoader& module();

    template <class T> T* control(const QString& name) const
    {
        T* found = window ? window->findChild<T*>(name) : nullptr;
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    void key(QWidget* target, int key);

    std::unique_ptr<QMainWindow> host;
    QMdiArea* mdi = nullptr;
    std::unique_ptr<HostSession> session;
    std::unique_ptr<RecordingInteraction> interaction;
    QWidget* window = nullptr;
};

} // namespace lumetra::test
