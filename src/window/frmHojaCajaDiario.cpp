// The VAT journal's query texts and its print dispatch.
#include "window/frmHojaCaja.h"

#include "common/Guarded.h"
#include "hostapi/Condiciones.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "platform/report/ReportPrinter.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"
#include "platform/ui/Interaction.h"
#include "vatjournal/dmDiarioIva.h"
#include "vatjournal/frmDiarioDetallado.h"
#include "vatjournal/frmReportDiarioResumido.h"
#include "vatjournal/frmReportDiarioResumidoLineas.h"

#include <QCheckBox>
#include <QComboBox>
#include <memory>

namespace lumetra {

namespace {

QString siHay(const QString& prefijo, const QString& condicion)
{
    return condicion.isEmpty() ? QString() : prefijo + condicion;
}

struct PiezasDiario {
    QString resumen, lineas, fecha, filtro, ordenPorDias, orden;
    qint16 columna;
};

PiezasDiario piezas(bool cobro)
{
    if (!cobro)
        return {QStringLiteral("Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA from MVENTA MV ")
                    + QStringLiteral("INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA "),
                QStringLiteral("Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, ")
                    + QStringLiteral("MV.FS_ENCARGO FAC_SIMPLE, MV.FS_SERIE "),
                QStringLiteral(", CAST(MV.FECHA AS DATE) FECHA "),
                QStringLiteral(") Where MV.TIPO_OPERACION != 3"),
                QStringLiteral(" ORDER BY MV.FECHA, DV.IVA"),
                QStringLiteral(" ORDER BY MV.FECHA, MV.FS_ENCARGO, MV.ID_MVENTA "),
                2};
    return {QStringLiteral("Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA ")
                + QStringLiteral("from MVENTA MV ") + QStringLiteral("INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA "),
            QStringLiteral("Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, ")
                + QStringLiteral("DV.IVA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE "),
            QStringLiteral(", CAST(MV.FECHA_PAGADO AS DATE) FECHA "),
            QStringLiteral(") Where (MV.TIPO_OPERACION = 1 Or MV.TIPO_OPERACION = 0) "),
            QStringLiteral(" ORDER BY MV.FECHA_PAGADO, DV.IVA"),
            QStringLiteral(" ORDER BY MV.FECHA_PAGADO, MV.FS_COBRO, MV.ID_MVENTA"),
            6};
}

} // namespace

int TfrmHojaCaja::GenerarSQLDiarioEncargo()
{
    return generarSQLDiario(false);
}

int TfrmHojaCaja::GenerarSQLDiarioCobro()
{
    return generarSQLDiario(true);
}

// The journal by order date or by collection date: one query the reports print from.
int TfrmHojaCaja::generarSQLDiario(bool cobro)
{
    const int r = Guarded(*this, QStringLiteral("GenerarSQLDiarioEncargo"), [&] {
        dmDiarioIva_->MostrarPorcentaje();
        const PiezasDiario p = piezas(cobro);
        const QString tiendas = CondicionTienda(2, cbxTiendaDiario);
        const QString fecha = CondicionFecha(p.columna, cbxFechaDiario, edtFechaInicioDiario, edtFechaFinDiario);
        const QString condiciones = siHay(QStringLiteral(" AND "), tiendas) + siHay(QStringLiteral(" AND "), fecha);
        SQLResumen = p.resumen + p.filtro + condiciones;
        const int tipo = cbxListadoDiario->currentIndex();
        SQLPrincipal = p.lineas + p.fecha + QStringLiteral("From MVENTA MV INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ")
            + p.filtro + condiciones + (tipo == 3 ? p.ordenPorDias : p.orden);
        if (tipo == 0)
            SQLPrincipal = SQLResumen + QStringLiteral(" GROUP BY DV.IVA Order BY IVA");
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
int TfrmHojaCaja::GenerarSQLDiarioCaja()
{
    const int r = Guarded(*this, QStringLiteral("GenerarSQLDiarioCaja"), [&] {
        TdmDiarioIva& dm = *dmDiarioIva_;
        dm.MostrarPorcentaje();
        CondicionTienda(2, cbxTiendaDiario);
        QString fecha = CondicionFecha(6, cbxFechaDiario, edtFechaInicioDiario, edtFechaFinDiario);
        // Without a date condition ("Todos/as") every sale of the chosen stores: no dangling AND.
        SQLPrincipal = QStringLiteral("Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_FORMA_PAGO, MV.TIPO_OPERACION, ")
            + QStringLiteral("MV.ID_TIENDA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE, MV.ID_FORMA_PAGO ")
            + QStringLiteral("From MVENTA MV where ") + QStringLiteral("(MV.TIPO_OPERACION = 1 OR MV.TIPO_OPERACION = 0 )")
            + siHay(QStringLiteral(" AND "), fecha);
        SQLDetalle = QStringLiteral("Select DV.ID_MVENTA, DV.BI_BASE_M1, DV.BI_IVA_M1, IVA, DV.REFERENCIA, DV.DESCRIPCION ")
            + QStringLiteral("from DVENTA DV ") + QStringLiteral(" Where DV.ID_MVENTA = :ID_MVENTA ");
        SQLCobros = QStringLiteral("Select CO.IMPORTE_M1, CO.TICKET, CO.ID_TIENDA, CAST(CO.FECHA AS DATE) FECHA from COBRO CO ")
            + QStringLiteral("where CO.ID_MVENTA = :ID_MVENTA ORDER BY CO.FECHA ");
        dm.Tiendas() = tiendasSeleccionadas_;
        const auto fallo = [&dm] {
            dm.CerrarConsultas();
            dm.LiberarPorcentaje();
            return -1;
        };
        if (dm.AbrirQueryMDD(SQLPrincipal, SQLDetalle, SQLCobros) != 0 || dm.TablaDiarioVentas() != 0)
            return fallo();
        dm.CerrarConsultas();

        fecha = CondicionFecha(1, cbxFechaDiario, edtFechaInicioDiario, edtFechaFinDiario);
        const QString tiendas = CondicionTienda(1, cbxTiendaDiario);
        // Without a date condition every collection of the chosen stores.
        QString donde = fecha + siHay(QStringLiteral(" AND "), tiendas);
        if (fecha.isEmpty())
            donde = tiendas;
        SQLPrincipal = QStringLiteral("Select CO.ID_MVENTA, CO.IMPORTE_M1, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO, CO.TICKET from COBRO CO")
            + siHay(QStringLiteral(" where "), donde);
        SQLDetalle = QStringLiteral("Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.ID_TIENDA, MV.N_TALON from MVENTA MV ")
            + QStringLiteral("Where MV.ID_MVENTA = :ID_MVENTA AND MV.TIPO_OPERACION IN (1, 2, 3) ");
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

int TfrmHojaCaja::ImprimirDiario()
{
    return Guarded(*this, QStringLiteral("ImprimirDiario"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        const int tipo = cbxListadoDiario->currentIndex();
        dmDiarioIva_->SetTipoListado(qint16(tipo));
        switch (cbxIvaDiario->currentIndex()) {
        case 0: resultado_ = GenerarSQLDiarioCobro(); break;
        case 1: resultado_ = GenerarSQLDiarioEncargo(); break;
        case 2: resultado_ = GenerarSQLDiarioCaja(); break;
        default: break;
        }
        if (resultado_ == -5)
            return resultado_ = 0;
        if (resultado_ != 0)
            return resultado_;
        const QString filtro = cbxTiendaDiario->displayText();
        if (tipo == TdmDiarioIva::ListadoResumido)
            ReportDiarioResumido(filtro);
        else if (tipo == TdmDiarioIva::ListadoResumidoDias)
            ReportDiarioResumidoLineas(filtro);
        else
            ReportDiarioDetallado(filtro);
        return resultado_;
    }, -1);
}

void TfrmHojaCaja::ReportDiarioDetallado(const QString& filtro)
{
    GuardedVoid(*this, QStringLiteral("ReportDiarioDetallado"), [&] {
        auto informe = std::make_unique<TfrmDiarioDetallado>(parametros_->Propietario);
        informe->SetDmDiarioIva(dmDiarioIva_);
        informe->SetTipoListado(qint16(cbxListadoDiario->currentIndex()));
        informe->SetTipoCalculo(qint16(cbxIvaDiario->currentIndex()));
        informe->SetSustituirFamilia(chxFamiliaDiario->isChecked());
        informe->Inicializar(parametros_);
        informe->SetFiltro(filtro);
        previsualizar(informe->Documento(), QStringLiteral("diario"));
    });
}

void TfrmHojaCaja::ReportDiarioResumido(const QString& filtro)
{
    GuardedVoid(*this, QStringLiteral("ReportDiarioResumido"), [&] {
        auto informe = std::make_unique<TfrmReportDiarioResumido>(parametros_->Propietario);
        informe->SetDmDiarioIva(dmDiarioIva_);
        informe->SetTipoCalculo(qint16(cbxIvaDiario->currentIndex()));
        informe->SetFiltro(filtro);
        // "Todos/as" leaves the date texts of an earlier print in the buffers: none is printed.
        const bool sinFecha = parametros_->Condiciones->CodigoOperador(cbxFechaDiario->currentText()) > TCondiciones::Entre;
        informe->SetTextoFechas(sinFecha ? QString() : TextoFechas);
        informe->SetTextoFechaPie(sinFecha ? QString() : TextoFechaPie);
        informe->Inicializar(parametros_);
        previsualizar(informe->Documento(), QStringLiteral("diario"));
    });
}

void TfrmHojaCaja::ReportDiarioResumidoLineas(const QString& filtro)
{
    GuardedVoid(*this, QStringLiteral("ReportDiarioResumidoLineas"), [&] {
        auto informe = std::make_unique<TfrmReportDiarioResumidoLineas>(parametros_->Propietario);
        informe->SetDmDiarioIva(dmDiarioIva_);
        informe->SetTipoCalculo(qint16(cbxIvaDiario->currentIndex()));
        informe->Inicializar(parametros_);
        informe->SetFiltro(filtro);
        informe->SetTextoFechaInicio(edtFechaInicioDiario->displayedText());
        informe->SetTextoFechaFin(edtFechaFinDiario->displayedText());
        informe->SetOperador(qint16(parametros_->Condiciones->CodigoOperador(cbxFechaDiario->currentText())));
        previsualizar(informe->Documento(), QStringLiteral("diario"));
    });
}

void TfrmHojaCaja::previsualizar(const ReportDocument& documento, const QString& nombre)
{
    if (documento.failed()) {
        resultado_ = -1;
        return;
    }
    Interaction::current().preview(documento, ReportPrinter::printerIndex(parametros_->Puesto->Impresora),
                                   parametros_->Propietario, nombre);
}

} // namespace lumetra
