// TfrmReportTarjetas: the report by card payments. It prints dstTarjetas of the cash-sheet data
// module day by day (each day from a new page, its header repeated on every page of the day),
// grouped by payment form, one line per payment, with a total per payment form.
//
// Contract:
// - The rows must come ordered by FECHA and, within a date, by ID_FORMA_PAGO: a group ends
//   each time the value changes, so each payment-form total covers that form's lines of one
//   date only. There is no date total and no grand total.
// - Driven by the print dispatch and by the cash sheet: construct, SetDmHojaCaja, Inicializar,
//   SetFiltro, Documento (lays the report out), Finalizar, delete. The data module and the host
//   block are not owned and must outlive the form.
// - Inicializar gives -1 without any message when it fails; Finalizar and the band events
//   report failures through MostrarError ("Hoja De Caja - Report Tarjetas").
#pragma once

#include "common/BloqueEmpresa.h"
#include "common/frmInforme.h"

#include <QString>

namespace lumetra {

class TdmHojaCaja;

// SetFiltro: second line of every date header, the stores the listing covers.
class TfrmReportTarjetas : public TfrmInformeDe<TdmHojaCaja> {
    Q_OBJECT

public:
    explicit TfrmReportTarjetas(QObject* propietario);

    void SetDmHojaCaja(TdmHojaCaja* dm) { SetDataModule(dm); }
    // Keeps the block and creates the text formatter; 0, or -1 (nothing shown) on failure.
    int Inicializar(HostParams* parametros);

private:
    void construir();
    void qrpReportBeforePrint();
    void bndGrupoFechaBeforePrint(bool& imprimir);
    void bndGrupoTarjetaBeforePrint(bool& imprimir);
    void bndDetalleBeforePrint(bool& imprimir);
    void bndPieTarjetaBeforePrint(bool& imprimir);
    void bndPieTarjetaAfterPrint(bool impreso);
    void PageFooterBand1BeforePrint(bool& imprimir);

    double totalTarjeta_ = 0;
    QString fechaGrupo_;

    ReportGroup* bndGrupoFecha_ = nullptr;
    ReportGroup* bndGrupoTarjeta_ = nullptr;
    ReportBand* bndDetalle_ = nullptr;
    ReportBand* bndPieTarjeta_ = nullptr;
    ReportBand* PageFooterBand1_ = nullptr;

    TBloqueEmpresa bloque_;   // qxtTitulo, qxtFiltro, qxtEmpresa, qxtNif, qxtDireccion, qxtLocalidad
    ReportDataText* qxtTarjeta = nullptr;
    ReportDataText *qxtTicket = nullptr, *qxtTalon = nullptr, *qxtTipoOperacion = nullptr, *qxtImporte = nullptr;
    ReportLabel* qxtTotal = nullptr;
    ReportLabel* qxtFechaPie = nullptr;
};

} // namespace lumetra
