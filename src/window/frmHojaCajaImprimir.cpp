// The print dispatch of the listing window: validate the active page, load its data, print.
#include "window/frmHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "cashsheet/frmReportHojaCaja.h"
#include "common/Guarded.h"
#include "entry/HostParams.h"
#include "entry/Puesto.h"
#include "platform/report/ReportPrinter.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/Interaction.h"

#include <QCheckBox>
#include <QComboBox>
#include <memory>

namespace lumetra {

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

int TfrmHojaCaja::ImprimirDiario()
{
    return Guarded(*this, QStringLiteral("ImprimirDiario"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Diario de I.V.A"));
    }, -1);
}

int TfrmHojaCaja::ImprimirGrupos()
{
    return Guarded(*this, QStringLiteral("ImprimirGrupos"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Informe Por Grupos"));
    }, -1);
}

int TfrmHojaCaja::ImprimirTarjetas()
{
    return Guarded(*this, QStringLiteral("ImprimirTarjetas"), [&] {
        if (IntegridadDatos() != 0)
            return resultado_;
        return sinListado(QStringLiteral("Informe Por Tarjetas"));
    }, -1);
}

} // namespace lumetra
