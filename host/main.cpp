// lumetra-host: opens the shop database, builds the host parameter block and opens the listing
// window of the module at start. SIGTERM or Ctrl-C closes the listing windows, as closing them by
// hand does, and ends the program with status 0.
#include "HostWindow.h"
#include "TerminationSignals.h"

#include "hostapi/HostSession.h"
#include "hostapi/ModuleLoader.h"
#include "platform/db/DatabaseError.h"
#include "platform/format/DateTexts.h"
#include "platform/format/FormatFloat.h"
#include "platform/ui/SpanishTranslation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMdiArea>
#include <QMessageBox>
#include <cstdio>
#include <memory>

using namespace lumetra;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetra"));
    SpanishTranslation spanish;
    SpanishTranslation::useSpanishLocale();
    if (!spanish.install())
        std::fputs(QStringLiteral("lumetra-host: %1\n").arg(spanish.errorString()).toUtf8().constData(), stderr);
    // Ours before the first database connection; installed again once it is made.
    TerminationSignals terminationSignals;
    // The loops of any open dialog end too; the windows are closed below, once out of them.
    QObject::connect(&terminationSignals, &TerminationSignals::received, &app, [] { QApplication::exit(0); });

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lumetra: aplicación anfitriona del módulo de listados"));
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Base de datos (ruta, o servidor[/puerto]:ruta)."), QStringLiteral("RUTA"),
                                QStringLiteral("out/demo.fdb"));
    const QCommandLineOption usuario(QStringLiteral("usuario"), QStringLiteral("Identificador del usuario (1 por defecto)."), QStringLiteral("ID"), QStringLiteral("1"));
    const QCommandLineOption tienda(QStringLiteral("tienda"), QStringLiteral("Tienda actual (por defecto la del usuario)."), QStringLiteral("ID"));
    const QCommandLineOption fecha(QStringLiteral("fecha-trabajo"), QStringLiteral("Fecha de trabajo dd/mm/aaaa (hoy por defecto)."), QStringLiteral("FECHA"));
    const QCommandLineOption impresora(QStringLiteral("impresora"), QStringLiteral("Impresora de los listados."), QStringLiteral("NOMBRE"));
    const QCommandLineOption modulo(QStringLiteral("modulo"), QStringLiteral("Fichero del módulo de listados."), QStringLiteral("RUTA"));
    parser.addOptions({db, usuario, tienda, fecha, impresora, modulo});
    parser.process(app);

    HostOptions options;
    options.baseDatos = parser.value(db);
    bool ok = true;
    options.idUsuario = parser.value(usuario).toInt(&ok);
    if (!ok) {
        QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), QStringLiteral("--usuario necesita un número"));
        return 2;
    }
    if (parser.isSet(tienda)) {
        options.idTienda = parser.value(tienda).toInt(&ok);
        if (!ok) {
            QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), QStringLiteral("--tienda necesita un número"));
            return 2;
        }
    }
    try {
        if (parser.isSet(fecha))
            options.fechaTrabajo = StrToDate(parser.value(fecha));
    } catch (const FormatError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), e.message());
        return 2;
    }
    options.impresora = parser.value(impresora);

    ModuleLoader loader(parser.value(modulo));
    std::unique_ptr<HostSession> session;
    HostWindow window([&] {
        if (session && loader.cargar(session->params()) != 0)
            QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), QStringLiteral("No se ha podido abrir el listado de hoja de caja"));
    });
    try {
        session = std::make_unique<HostSession>(options, &window);
    } catch (const DatabaseError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), QString::fromUtf8(e.what()));
        return 1;
    }
    // The Firebird client has just put its handlers in place of ours.
    terminationSignals.install();
    if (!loader.load()) {
        QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), loader.errorString());
        return 1;
    }
    window.show();
    if (loader.cargar(session->params()) != 0)
        QMessageBox::critical(&window, QStringLiteral("Lumetra"), QStringLiteral("No se ha podido abrir el listado de hoja de caja"));
    // A signal during start-up: straight to closing the windows.
    const int status = TerminationSignals::first() ? 0 : app.exec();
    // The windows of the module go before the connections they read from.
    window.mdi()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    session.reset();
    return status;
}
