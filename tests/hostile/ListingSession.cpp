#include "ListingSession.h"

#include "ListadosOptions.h"
#include "ListingRequest.h"
#include "support/RecordingInteraction.h"

#include "hostapi/HostSession.h"
#include "window/frmHojaCaja.h"

#include <QCoreApplication>
#include <QMainWindow>

namespace lumetra::test {

QVector<Listing> everyListing()
{
    QVector<Listing> listings;
    const QStringList todo{"--totales-dia", "si", "--totales-mes", "si", "--detalle-encargos", "si",
                           "--informe-grupos", "si", "--informe-tarjetas", "si"};
    for (const char* iva : {"cobro", "encargo", "caja"}) {
        listings.append({QStringLiteral("hoja-%1").arg(QLatin1String(iva)), QStringList{"--listado", "hoja", "--iva", iva} + todo});
        for (const char* tipo : {"resumido", "detallado", "dias-hoja", "dias"})
            listings.append({QStringLiteral("diario-%1-%2").arg(QLatin1String(iva), QLatin1String(tipo)),
                             {"--listado", "diario", "--iva", iva, "--tipo", tipo, "--familia", "si"}});
    }
    listings.append({QStringLiteral("grupos"), {"--listado", "grupos"}});
    listings.append({QStringLiteral("tarjetas"), {"--listado", "tarjetas"}});
    return listings;
}

ListingSession::ListingSession(const QString& database, const QString& workingDate)
    : database_(database)
    , workingDate_(workingDate)
    , interaction_(std::make_unique<RecordingInteraction>())
    , owner_(std::make_unique<QMainWindow>())
{
    const ListadosOptions options = ListadosOptions::parse({"--db", database, "--fecha-trabajo", workingDate, "--listado", "hoja",
                                                            "--salida", "x.csv"});
    HostOptions host;
    host.baseDatos = options.baseDatos;
    host.idUsuario = options.usuario;
    host.idTienda = options.tienda;
    host.fechaTrabajo = options.fechaTrabajo;
    session_ = std::make_unique<HostSession>(host, owner_.get());
    window_ = new TfrmHojaCaja(owner_.get());
    window_->SetParametros(session_->params());
    window_->Preparar();
}

ListingSession::~ListingSession()
{
    // As lumetra-listados ends: the window closes (and frees itself), then the session goes.
    if (window_) {
        window_->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    session_.reset();
    owner_.reset();
}

ListingSession::Printed ListingSession::print(const Listing& listing, const QStringList& conditions)
{
    const ListadosOptions options = ListadosOptions::parse(QStringList{"--db", database_, "--fecha-trabajo", workingDate_, "--salida", "x.csv"}
                                                           + conditions + listing.options);
    const int code = ListingRequest::listingCode(options.listado);
    const SolicitudListado solicitud = ListingRequest::build(options, window_->Solicitud(code), window_->ListaTiendas(), *session_->params());
    // Several sessions may be open at once: the one printing records.
    Interaction::install(interaction_.get());
    interaction_->outputs.clear();
    interaction_->messages.clear();
    interaction_->dialogs.clear();
    Printed printed;
    printed.status = window_->Imprimir(solicitud);
    // The reports that follow a listing are printed while it is laid out, before its preview.
    for (const bool previewed : {true, false})
        for (const RecordingInteraction::Output& output : interaction_->outputs)
            if (output.previewed == previewed)
                printed.documents.append(output.document);
    printed.problems = interaction_->messages + interaction_->dialogs;
    return printed;
}

} // namespace lumetra::test
