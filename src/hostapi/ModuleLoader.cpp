#include "hostapi/ModuleLoader.h"

#include <QCoreApplication>
#include <QDir>

namespace lumetra {

ModuleLoader::ModuleLoader(const QString& path)
    : library_(path.isEmpty() ? defaultPath() : path)
{
}

ModuleLoader::~ModuleLoader() = default;   // the module stays loaded while the process lives

QString ModuleLoader::defaultPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("liblistadohojacaja.so"));
}

bool ModuleLoader::load()
{
    if (!library_.load()) {
        error_ = QStringLiteral("No se puede cargar el módulo de listados «%1»: %2").arg(library_.fileName(), library_.errorString());
        return false;
    }
    cargar_ = reinterpret_cast<Cargar>(library_.resolve("_Cargar_Dll"));
    liberar_ = reinterpret_cast<Liberar>(library_.resolve("_Liberar_Dll"));
    if (!cargar_ || !liberar_) {
        error_ = QStringLiteral("El módulo «%1» no exporta _Cargar_Dll y _Liberar_Dll").arg(library_.fileName());
        return false;
    }
    return true;
}

void* ModuleLoader::variable(const char* simbolo)
{
    return library_.isLoaded() ? reinterpret_cast<void*>(library_.resolve(simbolo)) : nullptr;
}

} // namespace lumetra
