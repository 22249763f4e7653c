// TfrmReportDiarioResumido: the "Resumido" VAT journal, one line per VAT percentage for the whole
// period (taxable base, percentage, VAT), with no day grouping and no totals band. It prints the
// grouped query in dstMVenta of the data module (collection- and order-date bases) or, for the
// cash-sheet basis, memIvas, which Inicializar rebuilds from memDiario.
//
// Driven by the print dispatch: construct, SetDmDiarioIva, SetTipoCalculo, SetFiltro,
// SetTextoFechas, SetTextoFechaPie, Inicializar, Documento (lays the report out), delete. The
// data module and the host block are not owned and must outlive the form. The title and footer
// show exactly the date texts given: an empty text prints no date.
#pragma once

#include "common/BloqueEmpresa.h"
#include "common/frmInforme.h"

#include <QString>

namespace lumetra {

class TdmDiarioIva;

class TfrmReportDiarioResumido : public TfrmInformeDe<TdmDiarioIva> {
    Q_OBJECT

public:
    explicit TfrmReportDiarioResumido(QObject* propietario);

    void SetDmDiarioIva(TdmDiarioIva* dm) { SetDataModule(dm); }
    // 0 collection date, 1 order date, 2 cash-sheet date.
    void SetTipoCalculo(qint16 tipo);
    // Appended to the title "Diario de I.V.A ".
    void SetTextoFechas(const QString& texto);
    // Printed in the page footer.
    void SetTextoFechaPie(const QString& texto);

    // Keeps the block, creates the text formatter and, for the cash-sheet basis, totals memDiario
    // by rate into memIvas. 0, or -1 after reporting the failure.
    int Inicializar(HostParams* parametros);
    // memIvas := one row per Porcentaje of memDiario with its base and VAT summed (rows whose
    // sums are 0 stay, and do not print). 0, or -1 after reporting the failure.
    int TotalizarIvas();

private:
    void construir();
    void qrpReportResumidoBeforePrint();
    void bndCabeceraBeforePrint(bool& imprimir);
    void bndDetalleBeforePrint(bool& imprimir);
    void bndPiePaginaBeforePrint(bool& imprimir);

    qint16 tipoCalculo_ = 0;
    QString textoFechas_;
    QString textoFechaPie_;

    ReportBand* bndCabecera_ = nullptr;
    ReportBand* bndDetalle_ = nullptr;
    ReportBand* bndPiePagina_ = nullptr;
    TBloqueEmpresa bloque_;   // qxtTitulo, qxtFiltro, qxtEmpresa, qxtDireccion, qxtNif, qxtLocalidad
    ReportLabel* qxtFechaPie = nullptr;
    ReportDataText *qxtBaseImponible = nullptr, *qxtIva = nullptr, *qxtImporteIva = nullptr;
};

} // namespace lumetra
