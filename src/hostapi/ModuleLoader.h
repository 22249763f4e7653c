// ModuleLoader: loads the listing module the way the host application does (QLibrary) and
// resolves its C entry points.
#pragma once

#include "hostapi/HostApi.h"

#include <QLibrary>
#include <QString>

namespace lumetra {

struct HostParams;

class LUMETRA_HOSTAPI_EXPORT ModuleLoader {
public:
    using Cargar = int (*)(HostParams*);
    using Liberar = int (*)();

    // The module file beside the running program unless `path` names one.
    explicit ModuleLoader(const QString& path = {});
    ~ModuleLoader();

    // False with errorString() when the library or an entry point is missing.
    bool load();
    QString errorString() const { return error_; }
    int cargar(HostParams* parametros) const { return cargar_ ? cargar_(parametros) : -1; }
    int liberar() const { return liberar_ ? liberar_() : -1; }
    // The address of an exported variable by its symbol name; null when absent or not loaded.
    void* variable(const char* simbolo);
    static QString defaultPath();

private:
    QLibrary library_;
    Cargar cargar_ = nullptr;
    Liberar liberar_ = nullptr;
    QString error_;
};

} // namespace lumetra
