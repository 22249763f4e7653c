// lumetra-listados: prints any listing of the module without a display, into a file.
// SIGTERM or Ctrl-C stops the listing: nothing is written, a file already at the output path is
// left as it was, and the status is 143 or 130, as for a program the signal ended.
#include "ListadosOptions.h"
#include "ListadosRunner.h"
#include "TerminationSignals.h"

#include "platform/ui/SpanishTranslation.h"

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
    SpanishTranslation spanish;
    SpanishTranslation::useSpanishLocale();
    // Qt's texts never reach a listing: without the catalogue the program prints the same.
    spanish.install();
    // Ours before the first database connection; the runner installs them again after it.
    TerminationSignals terminationSignals;

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
    return ListadosRunner(std::move(options), &terminationSignals).run();
}
