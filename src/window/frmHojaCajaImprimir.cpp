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
    if (documento.cancelled)
        r = TdmHojaCaja::EstadoCancelado;
    else if (documento.failed() || TfrmError::ImpresionFallida())
        r = -1;
    else if (vistaPrevia) {
        cerrarProgreso();
        Interaction::current().preview(documento, impresora, parametros_->Propietario, nombre);
    } else
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
        // Without a printer the reports that follow the cash sheet are shown once it is closed.
        bool gruposEnPantalla = false;
        bool tarjetasEnPantalla = false;
        informe->SetInformesPosteriores([&, filtro](bool grupos, bool tarjetas) {
            // The card report prints whenever the card query found a payment.
            tarjetas = tarjetas && !dmHojaCaja_->dstTarjetas.isEmpty();
            if (!Interaction::current().canPrint()) {
                gruposEnPantalla = grupos;
                tarjetasEnPantalla = tarjetas;
                return;
            }
            if (grupos)
                imprimirInforme<TfrmReportGrupos>(filtro, QStringLiteral("grupos"), false);
            if (tarjetas)
                imprimirInforme<TfrmReportTarjetas>(filtro, QStringLiteral("tarjetas"), false);
        });
        const int impresora = ReportPrinter::printerIndex(parametros_->Puesto->Impresora);
        const ReportDocument documento = informe->Documento();
        // A cash sheet cut short by a failure (already reported) is not shown: its totals would be wrong.
        if (documento.cancelled)
            resultado_ = TdmHojaCaja::EstadoCancelado;
        else if (documento.failed() || TfrmError::ImpresionFallida())
            resultado_ = -1;
        else {
            cerrarProgreso();
            Interaction::current().preview(documento, impresora, parametros_->Propietario, QStringLiteral("hoja"));
            if (gruposEnPantalla || tarjetasEnPantalla) {
                Interaction::current().message(parametros_->Propietario, QStringLiteral("Hoja de Caja"),
                                               QStringLiteral("No hay ninguna impresora instalada: ") +
                                                   (gruposEnPantalla && tarjetasEnPantalla
                                                        ? QStringLiteral("los informes por grupos y por tarjetas se muestran en pantalla.")
                                                        : gruposEnPantalla ? QStringLiteral("el informe por grupos se muestra en pantalla.")
                                                                           : QStringLiteral("el informe por tarjetas se muestra en pantalla.")),
                                               Interaction::Icon::Information);
                if (gruposEnPantalla)
                    imprimirInforme<TfrmReportGrupos>(filtro, QStringLiteral("grupos"), true);
                if (tarjetasEnPantalla)
                    imprimirInforme<TfrmReportTarjetas>(filtro, QStringLiteral("tarjetas"), true);
            }
        }
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
