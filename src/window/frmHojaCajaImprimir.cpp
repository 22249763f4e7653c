// The print dispatch of the listing window: validate the active page, load its data, print.
#include "window/frmHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "cashsheet/frmReportHojaCaja.h"
#include "common/Guarded.h"
#include "common/frmError.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "platform/report/ReportPrinter.h"
#include "reports/frmReportGrupos.h"
#include "reports/frmReportTarjetas.h"
#include "platform/ui/Interaction.h"

#include <QCheckBox>
#include <memory>

namespace lumetra {

// One card or group report laid out: create, initialise, filter, lay out. 0 with the document,
// EstadoCancelado, or -1 after the failure was reported.
template <class Informe>
int TfrmHojaCaja::documentoInforme(const QString& filtro, ReportDocument& documento)
{
    auto informe = std::make_unique<Informe>(parametros_->Propietario);
    informe->SetDmHojaCaja(dmHojaCaja_);
    if (informe->Inicializar(parametros_) != 0)
        return -1;
    informe->SetFiltro(filtro);
    documento = informe->Documento();
    informe->Finalizar();
    if (documento.cancelled)
        return TdmHojaCaja::EstadoCancelado;
    if (documento.failed() || TfrmError::ImpresionFallida())
        return -1;
    return 0;
}

// One card or group report printed alone: laid out, then previewed.
template <class Informe>
int TfrmHojaCaja::imprimirInforme(const QString& filtro, const QString& nombre)
{
    ReportDocument documento;
    const int r = documentoInforme<Informe>(filtro, documento);
    if (r != 0)
        return r;
    cerrarProgreso();
    Interaction::current().preview(documento, ReportPrinter::printerIndex(parametros_->Puesto->Impresora), parametros_->Propietario,
                                   nombre);
    return 0;
}

int TfrmHojaCaja::ImprimirHojaCaja(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ImprimirHojaCaja"), [&] {
        if (IntegridadDatos(solicitud) != 0)
            return resultado_;
        if (GenerarSQLHojaCaja(solicitud) != 0)
            return resultado_;
        auto informe = std::make_unique<TfrmReportHojaCaja>(parametros_->Propietario);
        informe->SetDmHojaCaja(dmHojaCaja_);
        if (informe->Inicializar(parametros_) != 0)
            return resultado_ = -1;
        informe->SetFiltro(solicitud.filtro);
        informe->SetCondicionVentas(CondicionTienda(SolicitudListado::TiendaVenta, solicitud));
        informe->SetCondicionCobros(CondicionTienda(SolicitudListado::TiendaCobro, solicitud));
        informe->SetTipoCalculo(qint16(solicitud.calculoIva));
        informe->SetTotalesMes(solicitud.totalesMes);
        informe->SetTotalesDia(solicitud.totalesDia);
        informe->SetDetalleCaja(solicitud.detalleCaja);
        informe->SetInformeGrupos(solicitud.informeGrupos);
        informe->SetInformeTarjetas(solicitud.informeTarjetas);
        informe->Tiendas() = tiendasSeleccionadas_;
        const QString filtro = solicitud.filtro;
        // The reports that follow the cash sheet are laid out once it is, and nothing is handed
        // over until every one of them is: a failure in any gives no listing at all.
        bool conGrupos = false;
        bool conTarjetas = false;
        informe->SetInformesPosteriores([&](bool grupos, bool tarjetas) {
            conGrupos = grupos;
            // The card report prints whenever the card query found a payment.
            conTarjetas = tarjetas && !dmHojaCaja_->dstTarjetas.isEmpty();
        });
        const ReportDocument documento = informe->Documento();
        informe->Finalizar();
        // A cash sheet cut short by a failure (already reported) is not shown: its totals would be wrong.
        if (documento.cancelled)
            return resultado_ = TdmHojaCaja::EstadoCancelado;
        if (documento.failed() || TfrmError::ImpresionFallida())
            return resultado_ = -1;
        ReportDocument grupos;
        ReportDocument tarjetas;
        if (conGrupos)
            if (const int r = documentoInforme<TfrmReportGrupos>(filtro, grupos); r != 0)
                return resultado_ = r;
        if (conTarjetas)
            if (const int r = documentoInforme<TfrmReportTarjetas>(filtro, tarjetas); r != 0)
                return resultado_ = r;

        const int impresora = ReportPrinter::printerIndex(parametros_->Puesto->Impresora);
        Interaction& interaccion = Interaction::current();
        const bool enImpresora = interaccion.canPrint();
        if (enImpresora) {
            if (conGrupos)
                interaccion.print(grupos, impresora, QStringLiteral("grupos"));
            if (conTarjetas)
                interaccion.print(tarjetas, impresora, QStringLiteral("tarjetas"));
        }
        cerrarProgreso();
        interaccion.preview(documento, impresora, parametros_->Propietario, QStringLiteral("hoja"));
        // Without a printer the reports that follow the cash sheet are shown once it is closed.
        if (!enImpresora && (conGrupos || conTarjetas)) {
            interaccion.message(parametros_->Propietario, QStringLiteral("Hoja de Caja"),
                                QStringLiteral("No hay ninguna impresora instalada: ") +
                                    (conGrupos && conTarjetas ? QStringLiteral("los informes por grupos y por tarjetas se muestran en pantalla.")
                                     : conGrupos              ? QStringLiteral("el informe por grupos se muestra en pantalla.")
                                                              : QStringLiteral("el informe por tarjetas se muestra en pantalla.")),
                                Interaction::Icon::Information);
            if (conGrupos)
                interaccion.preview(grupos, impresora, parametros_->Propietario, QStringLiteral("grupos"));
            if (conTarjetas)
                interaccion.preview(tarjetas, impresora, parametros_->Propietario, QStringLiteral("tarjetas"));
        }
        return resultado_;
    }, -1);
}

int TfrmHojaCaja::ImprimirGrupos(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ImprimirGrupos"), [&] {
        if (IntegridadDatos(solicitud) != 0)
            return resultado_;
        // Printed alone: the builder shows its own progress window and its own "nothing found",
        // and the cash sheet's box for the report stays unticked.
        chxInformeGrupos->setChecked(false);
        if (GenerarSQLGrupos(solicitud) != 0)
            return resultado_;
        if (imprimirInforme<TfrmReportGrupos>(solicitud.filtro, QStringLiteral("grupos")) != 0)
            resultado_ = -1;
        return resultado_;
    }, -1);
}

int TfrmHojaCaja::ImprimirTarjetas(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ImprimirTarjetas"), [&] {
        if (IntegridadDatos(solicitud) != 0)
            return resultado_;
        chxInformeTarjetas->setChecked(false);
        if (GenerarSQLTarjetas(solicitud) != 0)
            return resultado_;
        if (imprimirInforme<TfrmReportTarjetas>(solicitud.filtro, QStringLiteral("tarjetas")) != 0)
            resultado_ = -1;
        return resultado_;
    }, -1);
}

} // namespace lumetra
