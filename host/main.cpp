// lumetra-host: opens the shop database, builds the host parameter block and opens the listing
// window of the module at start. SIGTERM or Ctrl-C closes the listing windows, as closing them by
// hand does, and ends the program with status 0.
#include "HostWindow.h"
#include "TerminationSignals.h"

#include "hostapi/HostSession.h"
#include "hostapi/ModuleLoader.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/DatabaseLogin.h"
#include "platform/format/DateTexts.h"
#include "platform/format/FormatFloat.h"
#include "platform/ui/SpanishTranslation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMdiArea>
#include <QMessageBox>
#include <cstdio>
#include <memory>
#include <optional>

using namespace lumetra;

namespace {

// A start that cannot go on: said on the terminal and in a box, then the status.
int refuse(const QString& text, int status)
{
    std::fputs(QStringLiteral("lumetra-host: %1\n").arg(text).toUtf8().constData(), stderr);
    QMessageBox::critical(nullptr, QStringLiteral("Lumetra"), text);
    return status;
}

} // namespace

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
    const QCommandLineOption usuarioBD(QStringLiteral("usuario-bd"),
                                       QStringLiteral("Usuario de la base de datos (por defecto ISC_USER, o SYSDBA)."), QStringLiteral("NOMBRE"));
    const QCommandLineOption claveBD(QStringLiteral("clave-bd"),
                                     QStringLiteral("Clave de ese usuario (por defecto ISC_PASSWORD, o la de Firebird por "
                                                    "defecto); mejor en ISC_PASSWORD, que otros usuarios del equipo no ven."),
                                     QStringLiteral("CLAVE"));
    const QCommandLineOption tienda(QStringLiteral("tienda"), QStringLiteral("Tienda actual (por defecto la del usuario)."), QStringLiteral("ID"));
    const QCommandLineOption fecha(QStringLiteral("fecha-trabajo"), QStringLiteral("Fecha de trabajo dd/mm/aaaa (hoy por defecto)."), QStringLiteral("FECHA"));
    const QCommandLineOption impresora(QStringLiteral("impresora"), QStringLiteral("Impresora de los listados."), QStringLiteral("NOMBRE"));
    const QCommandLineOption modulo(QStringLiteral("modulo"), QStringLiteral("Fichero del módulo de listados."), QStringLiteral("RUTA"));
    parser.addOptions({db, usuario, usuarioBD, claveBD, tienda, fecha, impresora, modulo});
    parser.process(app);

    HostOptions options;
    options.baseDatos = parser.value(db);
    const DatabaseLogin login = DatabaseLogin::resolve(
        parser.isSet(usuarioBD) ? std::optional<QString>(parser.value(usuarioBD)) : std::nullopt,
        parser.isSet(claveBD) ? std::optional<QString>(parser.value(claveBD)) : std::nullopt);
    options.usuarioBD = login.user;
    options.claveBD = login.password;
    bool ok = true;
    options.idUsuario = parser.value(usuario).toInt(&ok);
    if (!ok)
        return refuse(QStringLiteral("--usuario necesita un número"), 2);
    if (parser.isSet(tienda)) {
        options.idTienda = parser.value(tienda).toInt(&ok);
        if (!ok)
            return refuse(QStringLiteral("--tienda necesita un número"), 2);
    }
    try {
        if (parser.isSet(fecha))
            options.fechaTrabajo = StrToDate(parser.value(fecha));
    } catch (const FormatError& e) {
        return refuse(e.message(), 2);
    }
    // The day before is the empty date, and earlier ones no date the shop data can hold.
    if (parser.isSet(fecha) && options.fechaTrabajo < DateTime::earliest())
        return refuse(QStringLiteral("--fecha-trabajo necesita una fecha a partir del 31/12/1899, no «%1»").arg(parser.value(fecha)), 2);
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
        return refuse(QString::fromUtf8(e.what()), 1);
    }
    if (!session->knownStore())
        return refuse(QStringLiteral("La tienda %1 no existe en la base de datos: indique en --tienda una tienda "
                                     "dada de alta, o ninguna para usar la del usuario")
                          .arg(options.idTienda),
                      2);
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
