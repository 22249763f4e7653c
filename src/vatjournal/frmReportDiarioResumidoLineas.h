// TfrmReportDiarioResumidoLineas: the "Resumido Por Días" VAT journal. For every day of the period
// it prints one line per VAT percentage (date on the day's first line only, base, percentage,
// VAT), and at the end the period totals and a table of totals per rate. No journal line prints.
// It reads dstMVenta of the data module (collection- and order-date bases) or memDiario
// (cash-sheet basis), both already ordered by day and rate, and totals the period by rate in
// memIvas, which the summary band leaves zeroed.
//
// Driven by the print dispatch: construct, SetDmDiarioIva, SetTipoCalculo, Inicializar,
// SetFiltro, SetTextoFechaInicio, SetTextoFechaFin, SetOperador, Documento (lays the report out),
// delete. The data module and the host block are not owned and must outlive the form.
// - The totals table has a row per rate of the period whose base is not 0 in cents, however
//   many VAT types the shop defines; the summary band grows with it.
// - Title and page footer follow the window's date operator (0 equal, 1 different, 2 greater,
//   3 less, 4 between); "Todos/as" (no date condition) prints the title "Diario de I.V.A" and
//   other codes none, both leaving the footer as it was.
#pragma once

#include "common/BloqueEmpresa.h"
#include "common/CalculoIva.h"
#include "common/TablaIvas.h"
#include "common/frmInforme.h"

#include <QString>
#include <array>

namespace lumetra {

class TdmDiarioIva;

class TfrmReportDiarioResumidoLineas : public TfrmInformeDe<TdmDiarioIva> {
    Q_OBJECT

public:
    explicit TfrmReportDiarioResumidoLineas(QObject* propietario);

    void SetDmDiarioIva(TdmDiarioIva* dm) { SetDataModule(dm); }
    // 0 collection date, 1 order date, 2 cash-sheet date.
    void SetTipoCalculo(qint16 tipo);
    void SetTextoFechaInicio(const QString& texto);
    void SetTextoFechaFin(const QString& texto);
    // Code of the window's date operator.
    void SetOperador(qint16 operador);

    // Keeps the block, creates the text formatter and the VAT-type list, empties memIvas and
    // creates the totals-table labels. 0, or -1 after reporting the failure.
    int Inicializar(HostParams* parametros);
    // One row of three labels per VAT type on the summary band. 0, or -1 after reporting.
    int CrearEtiquetasIva();
    // Adds base and VAT to the memIvas row of the percentage, appending it when missing.
    void AcumularIva(const TDesgloseIva& importe);

private:
    void construir();
    void qrpReportBeforePrint();
    void bndCabeceraBeforePrint(bool& imprimir);
    void bndCabGrupoFechaBeforePrint(bool& imprimir);
    void bdCabGrupoTipoIvaBeforePrint(bool& imprimir);
    void bndDetalleBeforePrint(bool& imprimir);
    void bndPieGrupoTipoIvaBeforePrint(bool& imprimir);
    void bndPieGrupoTipoIvaAfterPrint(bool impreso);
    void bndSumarioBeforePrint(bool& imprimir);
    void bndPiePaginaBeforePrint(bool& imprimir);
    bool cajaDiario() const { return tipoCalculo_ == 2; }
    QString texto(const char* campoVenta, const char* campoDiario) const;
    double numero(const char* campoVenta, const char* campoDiario) const;

    qint16 tipoCalculo_ = 0;
    qint16 operador_ = 0;
    QString textoFechaInicio_;
    QString textoFechaFin_;

    double baseGrupo_ = 0;
    double ivaGrupo_ = 0;
    double porcentajeGrupo_ = 0;
    QString fechaGrupo_;
    double baseTotal_ = 0;
    double ivaTotal_ = 0;
    TTablaIvas tabla_;   // the period's VAT table in the summary band

    ReportBand* bndCabecera_ = nullptr;
    ReportGroup* bndCabGrupoFecha_ = nullptr;
    ReportGroup* bdCabGrupoTipoIva_ = nullptr;
    ReportBand* bndDetalle_ = nullptr;
    ReportBand* bndPieGrupoTipoIva_ = nullptr;
    ReportBand* bndSumario_ = nullptr;
    ReportBand* bndPiePagina_ = nullptr;
    TBloqueEmpresa bloque_;   // qxtTituloPagina ... qxtLocalidadPagina (page header)
    ReportLabel *qxtFecha = nullptr, *qxtBImponible = nullptr, *qxtPorcentaje = nullptr, *qxtIva = nullptr;
    ReportLabel *qxtTotalBase = nullptr, *qxtTotalIva = nullptr;
    ReportShape *qxtLinea = nullptr, *qxtLineaIva = nullptr;
    ReportLabel* qxtFechaPie = nullptr;
};

} // namespace lumetra
