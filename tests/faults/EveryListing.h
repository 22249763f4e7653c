// Every listing the window prints, as lumetra-listados options: the cash sheet with every option
// and its reports on each VAT basis, each journal layout on each basis, groups and cards. And the
// listing window as the module opens it, printing from such options.
#pragma once

#include "ListadosOptions.h"
#include "ListingRequest.h"
#include "hostapi/HostSession.h"
#include "window/frmHojaCaja.h"

#include <QCoreApplication>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <memory>

namespace lumetra::test {

inline QList<QStringList> everyListing()
{
    QList<QStringList> all;
    for (const char* iva : {"cobro", "encargo", "caja"}) {
        all << QStringList{"--listado", "hoja", "--iva", iva, "--totales-dia", "si", "--totales-mes", "si",
                           "--detalle-encargos", "si", "--informe-grupos", "si", "--informe-tarjetas", "si"};
        for (const char* tipo : {"resumido", "detallado", "dias-hoja", "dias"})
            all << QStringList{"--listado", "diario", "--iva", iva, "--tipo", tipo};
    }
    all << QStringList{"--listado", "grupos"} << QStringList{"--listado", "tarjetas"};
    return all;
}

// The listing window on the database at `path` (working on `workingDate`, today when empty),
// kept for every print a test makes.
struct OpenWindow {
    explicit OpenWindow(const QString& path, const QString& workingDate = {})
    {
        HostOptions host;
        host.baseDatos = path;
        if (!workingDate.isEmpty())
            host.fechaTrabajo = ListadosOptions::parse({"--db", path, "--fecha-trabajo", workingDate, "--listado", "hoja", "--salida", "x.csv"})
                                    .fechaTrabajo;
        session = std::make_unique<HostSession>(host, &owner);
        window = new TfrmHojaCaja(&owner);
        window->SetParametros(session->params());
        window->Preparar();
    }
    ~OpenWindow()
    {
        if (window)
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete window.data();
    }

    // The print dispatch's status for the listing these lumetra-listados options ask for.
    int print(const QStringList& args)
    {
        const ListadosOptions parsed = ListadosOptions::parse(args);
        const SolicitudListado request = ListingRequest::build(parsed, window->Solicitud(ListingRequest::listingCode(parsed.listado)),
                                                               window->ListaTiendas(), *session->params());
        return window->Imprimir(request);
    }

    bool progressShown() const
    {
        for (QWidget* w : owner.findChildren<QWidget*>(QStringLiteral("frmPorcentajeListado")))
            if (w->isVisible())
                return true;
        return false;
    }

    QMainWindow owner;
    std::unique_ptr<HostSession> session;
    QPointer<TfrmHojaCaja> window;
};

} // namespace lumetra::test
