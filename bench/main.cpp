// lumetra-bench NAME [options]: runs one benchmark and prints its figures.
#include "Benchmarks.h"

#include <QApplication>
#include <QTextStream>
#include <functional>
#include <map>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::map<QString, std::function<int(const QStringList&)>> benchmarks{
        {QStringLiteral("motor"), lumetra::bench::motor},
        {QStringLiteral("hoja-datos"), lumetra::bench::hojaDatos},
        {QStringLiteral("listados"), lumetra::bench::listados},
    };
    const QStringList args = app.arguments().mid(1);
    const auto it = args.isEmpty() ? benchmarks.end() : benchmarks.find(args.first());
    if (it == benchmarks.end()) {
        QTextStream err(stderr);
        err << "Uso: lumetra-bench NOMBRE [opciones]\nBancos de pruebas:\n";
        for (const auto& [name, run] : benchmarks)
            err << "  " << name << "\n";
        return 2;
    }
    return it->second(args.mid(1));
}
