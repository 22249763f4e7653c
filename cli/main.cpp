// lumetra-listados: prints any listing of the module without a display, into a file.
#include "ListadosOptions.h"
#include "ListadosRunner.h"

#include <QApplication>
#include <cstdio>

using namespace lumetra;

int main(int argc, char** argv)
{
    // No display needed unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumetra-listados"));

    ListadosOptions options;
    try {
        options = ListadosOptions::parse(QApplication::arguments().mid(1));
    } catch (const OptionError& e) {
        std::fputs(QStringLiteral("lumetra-listados: %1\nUse «lumetra-listados --help» para ver las opciones.\n")
                       .arg(e.message()).toUtf8().constData(),
                   stderr);
        return 2;
    }
    if (options.ayuda) {
        std::fputs(ListadosOptions::usage().toUtf8().constData(), stdout);
        return 0;
    }
    return ListadosRunner(std::move(options)).run();
}
