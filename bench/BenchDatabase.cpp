#include "BenchDatabase.h"

#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <stdexcept>

namespace lumetra::bench {

namespace {
// Raised whenever the demo history or the database it is built into changes.
constexpr int kGeneratorVersion = 3;
} // namespace

QString benchDatabasePath()
{
    const QString name = QStringLiteral("bench-10x365-v%1.fdb").arg(kGeneratorVersion);
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty())
        return QStringLiteral("/tmp/lumetra-") + name;
    QDir().mkpath(cache + QStringLiteral("/lumetra"));
    return cache + QStringLiteral("/lumetra/") + name;
}

QString ensureBenchDatabase(QTextStream& out)
{
    const QString path = benchDatabasePath();
    if (QFileInfo::exists(path))
        return path;
    // Built under a temporary name and renamed, so an interrupted build is never reused.
    const QString building = path + QStringLiteral(".creando");
    QFile::remove(building);
    out << "creando la base de datos de pruebas " << path << " (10 tiendas, 365 días)...\n";
    out.flush();
    QElapsedTimer timer;
    timer.start();
    ShopDatabase::create(building);
    {
        Database db;
        db.open(building);
        DemoHistory({10, QDate(2013, 5, 1), 365, 1}).fill(db);
        ShopDatabase::refreshStatistics(db);
        db.close();
    }
    if (!QFile::rename(building, path))
        throw std::runtime_error("no se pudo renombrar la base de datos de pruebas");
    out << QStringLiteral("  creada en %1 s\n").arg(timer.elapsed() / 1000.0, 0, 'f', 1);
    out.flush();
    return path;
}

} // namespace lumetra::bench
