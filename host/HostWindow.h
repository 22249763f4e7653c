// HostWindow: the main window of the demo host, "Lumetra": an MDI area and a menu entry that
// opens the listing window through the module.
#pragma once

#include <QMainWindow>
#include <functional>

class QMdiArea;

namespace lumetra {

class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HostWindow(std::function<void()> abrirListado);
    QMdiArea* mdi() const { return mdi_; }

private:
    QMdiArea* mdi_;
};

} // namespace lumetra
