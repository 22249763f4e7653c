// TfrmDiarioDetallado: the VAT journal day by day, each day from a new page. "Detallado"
// (listing type 1) prints every journal line with the day's totals and its VAT table per rate;
// "Resumido Por Días (cada día en una hoja)" (type 2) prints no lines, only each day's VAT table
// under its titles. It prints dstMVenta of the data module (collection- and order-date bases) or
// memDiario (cash-sheet basis), and totals each day by rate in memIvas, emptied after every day.
//
// Driven by the print dispatch: construct, SetDmDiarioIva, SetTipoListado, SetTipoCalculo,
// SetSustituirFamilia, Inicializar, SetFiltro, Documento (lays the report out), delete. The
// data module and the host block are not owned and must outlive the form.
// - The VAT table has a row per rate of the day whose base is not 0 in cents, however many
//   VAT types the shop defines; the day footer grows with it.
// - In the cash-sheet basis a row whose reference is one space is counted but not printed.
// - A day's first page carries its day header alone (the first page too); every other page of
//   the day carries the page header with the same block. Each page footer shows the day
//   printed on that page.
#pragma once

#include "common/BloqueEmpresa.h"
#include "common/CalculoIva.h"
#include "common/TablaIvas.h"
#include "common/frmInforme.h"

#include <QString>
#include <array>

namespace lumetra {

class TdmDiarioIva;

class TfrmDiarioDetallado : public TfrmInformeDe<TdmDiarioIva> {
    Q_OBJECT

public:
    explicit TfrmDiarioDetallado(QObject* propietario);

    void SetDmDiarioIva(TdmDiarioIva* dm) { SetDataModule(dm); }
    // 1 "Detallado", 2 "Resumido Por Días (cada día en una hoja)".
    void SetTipoListado(qint16 tipo);
    // 0 collection date, 1 order date, 2 cash-sheet date.
    void SetTipoCalculo(qint16 tipo);
    // Print the article's family instead of the line's description.
    void SetSustituirFamilia(bool valor);

    // Keeps the block, creates the text formatter and the VAT-type list, empties memIvas and
    // creates the VAT-table labels. 0, or -1 after reporting the failure.
    int Inicializar(HostParams* parametros);
    // One row of three labels per VAT type on the day footer. 0, or -1 after reporting.
    int CrearEtiquetasIva();
    // Adds base and VAT to the memIvas row of the percentage, appending it when missing.
    void AcumularIva(const TDesgloseIva& importe);

private:
    void construir();
    void titulosColumnas(ReportBand& band, qreal top, const QString& sufijo);
    void qrpReportDetalladoBeforePrint();
    void bndCabeceraBeforePrint(bool& imprimir);
    void bndCabeceraGrupoBeforePrint(bool& imprimir);
    void bndDetalleBeforePrint(bool& imprimir);
    void bndPieGrupoBeforePrint(bool& imprimir);
    void bndPieGrupoAfterPrint(bool impreso);
    void bndPiePaginaBeforePrint(bool& imprimir);
    bool cajaDiario() const { return tipoCalculo_ == 2; }
    QString texto(const char* campoVenta, const char* campoDiario) const;
    double numero(const char* campoVenta, const char* campoDiario) const;

    qint16 tipoListado_ = 1;
    qint16 tipoCalculo_ = 0;
    bool sustituirFamilia_ = false;

    QString fechaPie_;
    double baseDia_ = 0;
    double ivaDia_ = 0;
    bool pieImpreso_ = false;
    TTablaIvas tabla_;   // the day's VAT table in the group footer

    ReportBand* bndCabecera_ = nullptr;
    ReportGroup* bndCabeceraGrupo_ = nullptr;
    ReportBand* bndDetalle_ = nullptr;
    ReportBand* bndPieGrupo_ = nullptr;
    ReportBand* bndPiePagina_ = nullptr;
    TBloqueEmpresa bloquePagina_;   // qxtTituloPagina ... qxtLocalidadPagina (page header)
    TBloqueEmpresa bloque_;         // qxtTitulo ... qxtLocalidad (day header)
    ReportShape* linCabeceraGrupo_ = nullptr;
    ReportLabel *qxtFacSimple = nullptr, *qxtDescripcion = nullptr;
    ReportDataText *qxtTalon = nullptr, *qxtReferencia = nullptr, *qxtBaseImponible = nullptr, *qxtPorcentaje = nullptr,
                   *qxtIva = nullptr;
    ReportLabel *qxtTotales = nullptr, *qxtTotalBase = nullptr, *qxtTotalIva = nullptr;
    ReportShape *qxtLineaTotal = nullptr, *qxtLineaIva = nullptr;
    ReportLabel *lblTablaBase = nullptr, *lblTablaPorcentaje = nullptr, *lblTablaIva = nullptr;
    ReportLabel* qxtFechaPie = nullptr;
};

} // namespace lumetra
