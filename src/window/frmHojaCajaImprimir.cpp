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
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/Interaction.h"

#include <QCheckBox>
#include <QComboBox>
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

int TfrmHojaCaja::ImprimirHojaCaja()
{
    return Guarded(*this, QStringLiteral("ImprimirHojaCaja"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        if (GenerarSQLHojaCaja() != 0)
            return resultado_;
        auto informe = std::make_unique<TfrmReportHojaCaja>(parametros_->Propietario);
        informe->SetDmHojaCaja(dmHojaCaja_);
        if (informe->Inicializar(parametros_) != 0)
            return resultado_ = -1;
        informe->SetFiltro(cbxTiendaCaja->displayText());
        informe->SetCondicionVentas(CondicionTienda(2, cbxTiendaCaja));
        informe->SetCondicionCobros(CondicionTienda(1, cbxTiendaCaja));
        informe->SetTipoCalculo(qint16(cbxCajaIva->currentIndex()));
        informe->SetTotalesMes(chxTotalesMes->isChecked());
        informe->SetTotalesDia(chxTotalesDia->isChecked());
        informe->SetDetalleCaja(chxDetalleCaja->isChecked());
        informe->SetInformeGrupos(chxInformeGrupos->isChecked());
        informe->SetInformeTarjetas(chxInformeTarjetas->isChecked());
        informe->Tiendas() = tiendasSeleccionadas_;
        const QString filtro = cbxTiendaCaja->displayText();
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

int TfrmHojaCaja::ImprimirGrupos()
{
    return Guarded(*this, QStringLiteral("ImprimirGrupos"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        // Printed alone: the builder shows its own progress window and its own "nothing found".
        chxInformeGrupos->setChecked(false);
        if (GenerarSQLGrupos(cbxFechaGrupos, edtFechaInicioGrupos, edtFechaFinGrupos, cbxTiendaGrupos) != 0)
            return resultado_;
        if (imprimirInforme<TfrmReportGrupos>(cbxTiendaGrupos->displayText(), QStringLiteral("grupos"), true) != 0)
            resultado_ = -1;
        return resultado_;
    }, -1);
}

int TfrmHojaCaja::ImprimirTarjetas()
{
    return Guarded(*this, QStringLiteral("ImprimirTarjetas"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        chxInformeTarjetas->setChecked(false);
        if (GenerarSQLTarjetas(cbxFechaTarjetas, edtFechaInicioTarjetas, edtFechaFinTarjetas, cbxTiendaTarjetas) != 0)
            return resultado_;
        if (imprimirInforme<TfrmReportTarjetas>(cbxTiendaTarjetas->displayText(), QStringLiteral("tarjetas"), true) != 0)
            resultado_ = -1;
        return resultado_;
    }, -1);
}

} // namespace lumetra
