#include "ListadosRunner.h"

#include "HeadlessInteraction.h"
#include "ListingRequest.h"
#include "TerminationSignals.h"

#include "hostapi/HostParams.h"
#include "hostapi/HostSession.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/DatabaseLogin.h"
#include "window/frmHojaCaja.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <csignal>
#include <cstdio>
#include <memory>
#include <utility>

namespace lumetra {

namespace {

// The interaction is process-wide: put the Qt one back whichever way run() ends.
class Installed {
public:
    explicit Installed(Interaction& interaction) { Interaction::install(&interaction); }
    ~Installed() { Interaction::install(nullptr); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;
};

void complain(const QString& text)
{
    std::fputs(QStringLiteral("lumetra-listados: %1\n").arg(text).toUtf8().constData(), stderr);
}

QString signalName(int signal)
{
    switch (signal) {
    case SIGTERM: return QStringLiteral("SIGTERM");
    case SIGINT: return QStringLiteral("SIGINT (Ctrl-C)");
    default: return QString::number(signal);
    }
}

} // namespace

ListadosRunner::ListadosRunner(ListadosOptions options, TerminationSignals* terminationSignals)
    : options_(std::move(options))
    , signals_(terminationSignals)
{
}

int ListadosRunner::run()
{
    HeadlessInteraction interaction(options_.salida);
    const Installed installed(interaction);
    if (signals_)
        interaction.stopWhen(&TerminationSignals::first);
    const auto stopped = [&] {
        const int signal = interaction.stopSignal();
        if (signal)
            complain(QStringLiteral("listado interrumpido por la señal %1: no se ha escrito ningún fichero").arg(signalName(signal)));
        return signal ? TerminationSignals::exitStatus(signal) : 0;
    };

    // Better now than after building the whole listing.
    const QDir carpeta = QFileInfo(options_.salida).absoluteDir();
    if (!carpeta.exists()) {
        interaction.fail(QStringLiteral("la carpeta de salida «%1» no existe").arg(carpeta.path()));
        return HeadlessInteraction::Failure;
    }

    // Declared in teardown order: the window goes first (closed below), then the session, then
    // its owner.
    QMainWindow owner;
    std::unique_ptr<HostSession> session;
    const DatabaseLogin login = DatabaseLogin::resolve(options_.usuarioBD, options_.claveBD);
    try {
        HostOptions host;
        host.baseDatos = options_.baseDatos;
        host.usuarioBD = login.user;
        host.claveBD = login.password;
        host.idUsuario = options_.usuario;
        host.idTienda = options_.tienda;
        host.fechaTrabajo = options_.fechaTrabajo;
        session = std::make_unique<HostSession>(host, &owner);
    } catch (const DatabaseError& e) {
        if (const int status = stopped())
            return status;
        interaction.fail(QStringLiteral("no se puede abrir la base de datos «%1»: %2").arg(options_.baseDatos, e.message()));
        return HeadlessInteraction::Failure;
    }
    // The Firebird client has just put its handlers in place of ours.
    if (signals_)
        signals_->install();
    if (!session->knownUser()) {
        complain(QStringLiteral("el usuario %1 no existe").arg(options_.usuario));
        return HeadlessInteraction::InvalidConditions;
    }
    if (!session->knownStore()) {
        complain(QStringLiteral("la tienda actual %1 (--tienda) no existe en la base de datos").arg(options_.tienda));
        return HeadlessInteraction::InvalidConditions;
    }

    // The window as the module opens it for the host.
    const QPointer<TfrmHojaCaja> ventana = new TfrmHojaCaja(&owner);
    ventana->SetParametros(session->params());
    ventana->Preparar();

    bool refused = false;
    if (!interaction.hasFailed() && !interaction.stopSignal()) {
        try {
            const int listado = ListingRequest::listingCode(options_.listado);
            const SolicitudListado solicitud =
                ListingRequest::build(options_, ventana->Solicitud(listado), ventana->ListaTiendas(), *session->params());
            ventana->Imprimir(solicitud);
        } catch (const OptionError& e) {
            complain(e.message());
            refused = true;
        } catch (const std::exception& e) {
            interaction.fail(QString::fromUtf8(e.what()));
        }
    }

    // Closing the window writes the access audit; the window frees itself.
    ventana->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete ventana.data();
    session.reset();

    // Refused once a stop was asked for: `interaction` then discards what it holds.
    if (!interaction.publish() && interaction.stopSignal())
        return stopped();
    for (const QString& path : interaction.written())
        std::fputs(QStringLiteral("Listado escrito en %1\n").arg(path).toUtf8().constData(), stdout);
    if (refused && !interaction.hasFailed())
        return HeadlessInteraction::InvalidConditions;
    return interaction.exitStatus();
}

} // namespace lumetra
