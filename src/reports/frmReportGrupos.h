// TfrmReportGrupos: the report by sales groups, a landscape cross-tab of the sale lines of each
// day. It prints dstMVenta of the cash-sheet data module: one row per sale line under a header
// per sale, the line's amount under the column of its sales group, and per day a footer with
// four figures per group (amount, units, average price per unit, discount).
//
// Contract:
// - The rows must come ordered by FECHA and, within a date, by sale. The columns are the first
//   ColumnasGrupos codes of memGrupos in its row order, the same for every date; lines of any
//   other group print their reference with no amount and count in no total.
// - Each date starts a new page, headed by the date header alone; every page the date
//   continues on is headed by the page header, a copy of it.
// - Driven by the print dispatch and by the cash sheet: construct, SetDmHojaCaja, Inicializar,
//   SetFiltro, Documento (lays the report out), Finalizar, delete. The data module and the host
//   block are not owned and must outlive the form; the report moves memGrupos' cursor only.
// - Inicializar gives -1 without any message when it fails; Finalizar, the page header and
//   the band events report failures through MostrarError ("Hoja De Caja - Report Grupos"). A
//   failure while filling one amount cell prints the zero amount there and the line goes on.
#pragma once

#include "common/BloqueEmpresa.h"
#include "common/frmInforme.h"

#include <QString>
#include <array>

namespace lumetra {

class TdmHojaCaja;

// SetFiltro: the conditions line of the headers, the stores the listing covers.
class TfrmReportGrupos : public TfrmInformeDe<TdmHojaCaja> {
    Q_OBJECT

public:
    static constexpr int ColumnasGrupos = 14;

    explicit TfrmReportGrupos(QObject* propietario);

    void SetDmHojaCaja(TdmHojaCaja* dm) { SetDataModule(dm); }
    // Keeps the block, creates the text formatter and moves memGrupos to its first row; 0, or
    // -1 (nothing shown) on failure.
    int Inicializar(HostParams* parametros);

private:
    using Columnas = std::array<ReportLabel*, ColumnasGrupos>;
    using Acumuladores = std::array<double, ColumnasGrupos>;

    void construir();
    ReportLabel* etiquetaColumna(ReportBand& band, const QString& nombre, int k, qreal top);
    void qrpReportBeforePrint();
    void bndCabeceraBeforePrint(bool& imprimir);
    void bndGrupoFechaBeforePrint(bool& imprimir);
    void bndGrupoFechaAfterPrint(bool impreso);
    void bndGrupoOperacionBeforePrint(bool& imprimir);
    void bndDetalleBeforePrint(bool& imprimir);
    void bndPieGrupoBeforePrint(bool& imprimir);
    void bndPieGrupoAfterPrint(bool impreso);
    void bndPieBeforePrint(bool& imprimir);
    void ImprimirColumna(int k, const QString& codigo);
    void limpiarAcumuladores();
    QString fechaActual() const;

    QString fechaCabecera_;   // the date of the last date header printed
    QString fechaPie_;
    Acumuladores unidadesGrupo_{};
    Acumuladores importeGrupo_{};
    Acumuladores descuentoGrupo_{};

    ReportBand* bndCabecera_ = nullptr;
    ReportGroup* bndGrupoFecha_ = nullptr;
    ReportGroup* bndGrupoOperacion_ = nullptr;
    ReportBand* bndDetalle_ = nullptr;
    ReportBand* bndPieGrupo_ = nullptr;
    ReportBand* bndPie_ = nullptr;

    TBloqueEmpresa bloqueCabecera_;   // qxtTituloCabecera ... qxtLocalidadCabecera (page header)
    TBloqueEmpresa bloque_;           // qxtTitulo ... qxtLocalidad (date header)
    ReportLabel* qxtOperacion = nullptr;
    ReportDataText* qxtReferencia = nullptr;
    ReportLabel* qxtFechaPie = nullptr;
    Columnas qxtCabeceraGrupo{};   // page-header copies of the headings
    Columnas qxtGrupo{};           // headings of the date header
    Columnas qxtImpGrupo{};        // amount cells of the detail
    Columnas qxtTotalGrupo{}, qxtUndGrupo{}, qxtMediaGrupo{}, qxtDtoGrupo{};
};

} // namespace lumetra
