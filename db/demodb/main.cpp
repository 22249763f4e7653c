// lumetra-demodb: creates a shop database with a demo history.
#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <optional>

using namespace lumetra;

namespace {

const char* const kUsage =
    "Uso: lumetra-demodb create RUTA [--tiendas N] [--desde dd/mm/aaaa] [--dias N] [--semilla N] [--vacia]\n"
    "                               [--usuario-bd NOMBRE] [--clave-bd CLAVE]\n"
    "\n"
    "Crea una base de datos Firebird con el esquema, los datos base y, salvo con --vacia, un histórico\n"
    "de tiendas, ventas, encargos, cobros y movimientos de caja. RUTA es un fichero (motor embebido)\n"
    "o servidor[/puerto]:ruta (un servidor de Firebird, que crea el fichero en su equipo).\n"
    "  --tiendas N   tiendas (1-99, por defecto 3)\n"
    "  --desde F     primer día del histórico (por defecto 01/05/2013)\n"
    "  --dias N      días del histórico (por defecto 60)\n"
    "  --semilla N   semilla del generador (por defecto 1): la misma semilla da los mismos datos\n"
    "  --vacia       solo el esquema y los datos base\n"
    "  --usuario-bd NOMBRE  usuario de la base de datos (por defecto ISC_USER, o SYSDBA)\n"
    "  --clave-bd CLAVE     su clave (por defecto ISC_PASSWORD, o la de Firebird por defecto); mejor\n"
    "                       en ISC_PASSWORD, que otros usuarios del equipo no ven\n";

int usage(const QString& error)
{
    QTextStream err(stderr);
    if (!error.isEmpty())
        err << "lumetra-demodb: " << error << "\n\n";
    err << QString::fromUtf8(kUsage);
    return 2;
}

bool positiveNumber(const QString& text, int& out)
{
    bool ok = false;
    out = text.toInt(&ok);
    return ok && out > 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << QString::fromUtf8(kUsage);
        return 0;
    }
    if (args.size() < 2 || args.at(0) != QStringLiteral("create"))
        return usage(args.isEmpty() ? QString() : QStringLiteral("orden desconocida «%1»").arg(args.at(0)));

    const QString path = args.at(1);
    DemoOptions options;
    bool empty = false;
    std::optional<QString> usuarioBD;
    std::optional<QString> claveBD;
    for (int i = 2; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QStringLiteral("--vacia")) {
            empty = true;
        } else if (arg == QStringLiteral("--usuario-bd") && hasValue) {
            usuarioBD = args.at(++i);
        } else if (arg == QStringLiteral("--clave-bd") && hasValue) {
            claveBD = args.at(++i);
        } else if (arg == QStringLiteral("--tiendas") && hasValue) {
            if (!positiveNumber(args.at(++i), options.tiendas) || options.tiendas > 99)
                return usage(QStringLiteral("--tiendas necesita un número entre 1 y 99"));
        } else if (arg == QStringLiteral("--dias") && hasValue) {
            if (!positiveNumber(args.at(++i), options.dias) || options.dias > 20000)
                return usage(QStringLiteral("--dias necesita un número entre 1 y 20000"));
        } else if (arg == QStringLiteral("--semilla") && hasValue) {
            bool ok = false;
            options.semilla = args.at(++i).toUInt(&ok);
            if (!ok)
                return usage(QStringLiteral("--semilla necesita un número entero no negativo"));
        } else if (arg == QStringLiteral("--desde") && hasValue) {
            options.desde = QDate::fromString(args.at(++i), QStringLiteral("dd/MM/yyyy"));
            if (!options.desde.isValid())
                return usage(QStringLiteral("--desde necesita una fecha dd/mm/aaaa válida, no «%1»").arg(args.at(i)));
        } else {
            return usage(QStringLiteral("opción desconocida o sin valor: «%1»").arg(arg));
        }
    }

    QTextStream out(stdout);
    try {
        QElapsedTimer timer;
        timer.start();
        const DatabaseLogin login = DatabaseLogin::resolve(usuarioBD, claveBD);
        ShopDatabase::create(path, true, login);
        Database database;
        database.open(path, login.user, login.password);
        if (!empty) {
            DemoHistory(options).fill(database);
            ShopDatabase::refreshStatistics(database);
            out << QStringLiteral("Histórico: %1 tiendas, %2 días desde el %3\n")
                       .arg(options.tiendas).arg(options.dias).arg(options.desde.toString(QStringLiteral("dd/MM/yyyy")));
        }
        const bool local = DatabaseLocation::parse(path).embedded();
        out << QStringLiteral("Base de datos creada: %1\n").arg(local ? QFileInfo(path).absoluteFilePath() : path);
        for (const auto& [table, rows] : DemoHistory::rowCounts(database))
            out << QStringLiteral("  %1 %2\n").arg(table, -12).arg(rows, 8);
        out << QStringLiteral("Tiempo: %1 s\n").arg(timer.elapsed() / 1000.0, 0, 'f', 1);
        return 0;
    } catch (const DatabaseError& e) {
        QTextStream(stderr) << "lumetra-demodb: " << QString::fromStdString(e.what()) << "\n";
        return 1;
    }
}
