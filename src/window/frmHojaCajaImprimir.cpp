// The print dispatch of the listing window: validate the active page, load its data, print.
#include "window/frmHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "cashsheet/frmReportHojaCaja.h"
#include "common/Guarded.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "platform/report/ReportPrinter.h"
#include "reports/frmReportGrupos.h"
#include "reports/frmReportTarjetas.h"
#include "platform/ui/Interaction.h"

#include <QCheckBox>
#include <memory>

namespace lumetra {

// One card or group report: create, initialise, filter, then preview it or print it directly.
template <class Informe>
int TfrmHojaCaja::imprimirInforme(const QString& filtro, const QString& nombre, bool vistaPrevia)
{
    auto informe = std::make_unique<Informe>(parametros_->Propietario);
    informe->SetDmHojaCaja(dmHojaCaja_);
    if (informe->Inicializar(parametros_) != 0)
        return -1;
    informe->SetFiltro(filtro);
    const int impresora = ReportPrinter::printerIndex(parametros_->Puesto->Impresora);
    const ReportDocument documento = informe->Documento();
    int r = 0;
    if (documento.failed())
        r = -1;
    else if (vistaPrevia)
        Interaction::current().preview(documento, impresora, parametros_->Propietario, nombre);
    else
        Interaction::current().print(documento, impresora, nombre);
    informe->Finalizar();
    return r;
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
        informe->SetInformesPosteriores([this, filtro](bool grupos, bool tarjetas) {
            if (grupos)
                imprimirInforme<TfrmReportGrupos>(filtro, QStringLiteral("grupos"), false);
            // The card report prints whenever the card query found a payment.
            if (tarjetas && !dmHojaCaja_->dstTarjetas.isEmpty())
                imprimirInforme<TfrmReportTarjetas>(filtro, QStringLiteral("tarjetas"), false);
        });
        const int impresora = ReportPrinter::printerIndex(parametros_->Puesto->Impresora);
        const ReportDocument documento = informe->Documento();
        // A cash sheet cut short by a failure (already reported) is not shown: its totals would be wrong.
        if (documento.failed())
            resultado_ = -1;
        else
            Interaction::current().preview(documento, impresora, parametros_->Propietario, QStringLiteral("hoja"));
        informe->Finalizar();
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
        if (imprimirInforme<TfrmReportGrupos>(solicitud.filtro, QStringLiteral("grupos"), true) != 0)
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
        if (imprimirInforme<TfrmReportTarjetas>(solicitud.filtro, QStringLiteral("tarjetas"), true) != 0)
            resultado_ = -1;
        return resultado_;
    }, -1);
}

} // namespace lumetra
