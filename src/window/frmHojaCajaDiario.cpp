// The VAT journal's builders and its print dispatch.
#include "window/frmHojaCaja.h"

#include "common/Guarded.h"
#include "common/frmError.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "platform/report/ReportPrinter.h"
#include "platform/ui/Interaction.h"
#include "vatjournal/dmDiarioIva.h"
#include "vatjournal/frmDiarioDetallado.h"
#include "vatjournal/frmReportDiarioResumido.h"
#include "vatjournal/frmReportDiarioResumidoLineas.h"

#include <memory>

namespace lumetra {

int TfrmHojaCaja::GenerarSQLDiarioEncargo(const SolicitudListado& solicitud)
{
    return generarSQLDiario(solicitud, SolicitudListado::IvaEncargo);
}

int TfrmHojaCaja::GenerarSQLDiarioCobro(const SolicitudListado& solicitud)
{
    return generarSQLDiario(solicitud, SolicitudListado::IvaCobro);
}

// The journal by order date or by collection date: one query the reports print from.
int TfrmHojaCaja::generarSQLDiario(const SolicitudListado& solicitud, int calculo)
{
    const int r = Guarded(*this, QStringLiteral("GenerarSQLDiarioEncargo"), [&] {
        dmDiarioIva_->MostrarPorcentaje();
        CondicionTienda(SolicitudListado::TiendaVenta, solicitud);
        CondicionFecha(calculo == SolicitudListado::IvaCobro ? SolicitudListado::FechaPagado : SolicitudListado::FechaVenta,
                       solicitud);
        SQLResumen = solicitud.SQLResumenDiario(calculo);
        SQLPrincipal = solicitud.SQLDiario(calculo);
        if (dmDiarioIva_->AbrirQuery(TdmDiarioIva::ConsultaMVenta, SQLPrincipal, QString()) != 0) {
            dmDiarioIva_->CerrarConsultas();
            dmDiarioIva_->LiberarPorcentaje();
            return -1;
        }
        dmDiarioIva_->LiberarPorcentaje();
        if (dmDiarioIva_->dstMVenta.isEmpty())
            return SinOperaciones();
        return resultado_;
    }, -1);
    if (r == -1 && dmDiarioIva_)
        dmDiarioIva_->LiberarPorcentaje();
    return resultado_ = r;
}

// The journal by cash-sheet date, worked out by the data module in memDiario.
int TfrmHojaCaja::GenerarSQLDiarioCaja(const SolicitudListado& solicitud)
{
    const int r = Guarded(*this, QStringLiteral("GenerarSQLDiarioCaja"), [&] {
        TdmDiarioIva& dm = *dmDiarioIva_;
        dm.MostrarPorcentaje();
        CondicionTienda(SolicitudListado::TiendaVenta, solicitud);
        CondicionFecha(SolicitudListado::FechaPagado, solicitud);
        SQLPrincipal = solicitud.SQLVentasDiarioCaja();
        SQLDetalle = SolicitudListado::SQLLineasDiarioCaja();
        SQLCobros = SolicitudListado::SQLCobrosVentaDiarioCaja();
        dm.Tiendas() = tiendasSeleccionadas_;
        const auto fallo = [&dm] {
            dm.CerrarConsultas();
            dm.LiberarPorcentaje();
            return -1;
        };
        if (dm.AbrirQueryMDD(SQLPrincipal, SQLDetalle, SQLCobros) != 0 || dm.TablaDiarioVentas() != 0)
            return fallo();
        dm.CerrarConsultas();

        CondicionFecha(SolicitudListado::FechaCobro, solicitud);
        CondicionTienda(SolicitudListado::TiendaCobro, solicitud);
        SQLPrincipal = solicitud.SQLCobrosDiarioCaja();
        SQLDetalle = SolicitudListado::SQLVentaCobroDiarioCaja();
        dm.Tiendas() = tiendasSeleccionadas_;
        if (dm.AbrirQuery(TdmDiarioIva::ConsultaMaestro, SQLPrincipal, SQLDetalle) != 0 || dm.TablaDiarioCobros() != 0)
            return fallo();
        dm.LiberarPorcentaje();
        if (dm.memDiario.isEmpty())
            return SinOperaciones();
        return resultado_;
    }, -1);
    if (r == -1 && dmDiarioIva_)
        dmDiarioIva_->LiberarPorcentaje();
    return resultado_ = r;
}

int TfrmHojaCaja::ImprimirDiario(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ImprimirDiario"), [&] {
        if (IntegridadDatos(solicitud) != 0)
            return resultado_;
        dmDiarioIva_->SetTipoListado(qint16(solicitud.tipoDiario));
        switch (solicitud.calculoIva) {
        case SolicitudListado::IvaCobro: resultado_ = GenerarSQLDiarioCobro(solicitud); break;
        case SolicitudListado::IvaEncargo: resultado_ = GenerarSQLDiarioEncargo(solicitud); break;
        case SolicitudListado::IvaCaja: resultado_ = GenerarSQLDiarioCaja(solicitud); break;
        default: break;
        }
        if (resultado_ == -5)
            return resultado_ = 0;
        if (resultado_ != 0)
            return resultado_;
        int r = 0;
        if (solicitud.tipoDiario == TdmDiarioIva::ListadoResumido)
            r = ReportDiarioResumido(solicitud);
        else if (solicitud.tipoDiario == TdmDiarioIva::ListadoResumidoDias)
            r = ReportDiarioResumidoLineas(solicitud);
        else
            r = ReportDiarioDetallado(solicitud);
        if (r != 0)
            resultado_ = -1;
        return resultado_;
    }, -1);
}

// Each journal report stops when its form could not be prepared (Inicializar has reported why):
// laying it out without its lookups would read through them.
int TfrmHojaCaja::ReportDiarioDetallado(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ReportDiarioDetallado"), [&] {
        auto informe = std::make_unique<TfrmDiarioDetallado>(parametros_->Propietario);
        informe->SetDmDiarioIva(dmDiarioIva_);
        informe->SetTipoListado(qint16(solicitud.tipoDiario));
        informe->SetTipoCalculo(qint16(solicitud.calculoIva));
        informe->SetSustituirFamilia(solicitud.familia);
        if (informe->Inicializar(parametros_) != 0)
            return -1;
        informe->SetFiltro(solicitud.filtro);
        return previsualizar(informe->Documento(), QStringLiteral("diario"));
    }, -1);
}

int TfrmHojaCaja::ReportDiarioResumido(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ReportDiarioResumido"), [&] {
        auto informe = std::make_unique<TfrmReportDiarioResumido>(parametros_->Propietario);
        informe->SetDmDiarioIva(dmDiarioIva_);
        informe->SetTipoCalculo(qint16(solicitud.calculoIva));
        informe->SetFiltro(solicitud.filtro);
        // "Todos/as" leaves the date texts of an earlier print in the buffers: none is printed.
        informe->SetTextoFechas(solicitud.ConFechas() ? TextoFechas : QString());
        informe->SetTextoFechaPie(solicitud.ConFechas() ? TextoFechaPie : QString());
        if (informe->Inicializar(parametros_) != 0)
            return -1;
        return previsualizar(informe->Documento(), QStringLiteral("diario"));
    }, -1);
}

int TfrmHojaCaja::ReportDiarioResumidoLineas(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("ReportDiarioResumidoLineas"), [&] {
        auto informe = std::make_unique<TfrmReportDiarioResumidoLineas>(parametros_->Propietario);
        informe->SetDmDiarioIva(dmDiarioIva_);
        informe->SetTipoCalculo(qint16(solicitud.calculoIva));
        if (informe->Inicializar(parametros_) != 0)
            return -1;
        informe->SetFiltro(solicitud.filtro);
        informe->SetTextoFechaInicio(solicitud.TextoFechaInicio());
        informe->SetTextoFechaFin(solicitud.TextoFechaFin());
        informe->SetOperador(qint16(solicitud.operador));
        return previsualizar(informe->Documento(), QStringLiteral("diario"));
    }, -1);
}

int TfrmHojaCaja::previsualizar(const ReportDocument& documento, const QString& nombre)
{
    // A report cut short by a failure (already reported) or stopped by the person is not shown.
    if (documento.cancelled)
        return TdmDiarioIva::EstadoCancelado;
    if (documento.failed() || TfrmError::ImpresionFallida())
        return -1;
    cerrarProgreso();
    Interaction::current().preview(documento, ReportPrinter::printerIndex(parametros_->Puesto->Impresora),
                                   parametros_->Propietario, nombre);
    return 0;
}

} // namespace lumetra
