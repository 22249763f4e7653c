// TfrmReportHojaCaja: the daily cash sheet. It prints memHojaCaja of the cash-sheet data module
// day by day, each day from a new page: the day header, one line per printed row with its amount
// under the column of its payment type, and the day footer with the totals by payment type, the
// money in the till, the cash balance, the day and month totals and the day's VAT table.
// Pages: the first carries the page header over the first day's header; a later day's first
// page carries its day header alone; every other page of a day (one holding only its footer
// too) carries the page header. Each page footer shows the day printed on that page.
//
// Driven by the print dispatch: construct, SetDmHojaCaja, Inicializar, the option setters,
// Tiendas, Documento (lays the report out), Finalizar, delete. Operations with a status report
// their failures through MostrarError ("Hoja de Caja") and return -1.
#pragma once

#include "common/BloqueEmpresa.h"
#include "common/CalculoIva.h"
#include "common/TablaIvas.h"
#include "common/frmInforme.h"
#include "platform/format/DateTime.h"

#include <QStringList>
#include <array>
#include <functional>
#include <memory>

namespace lumetra {

class TdmHojaCaja;

class TfrmReportHojaCaja : public TfrmInformeDe<TdmHojaCaja> {
    Q_OBJECT

public:
    explicit TfrmReportHojaCaja(QObject* propietario);

    void SetDmHojaCaja(TdmHojaCaja* dm) { SetDataModule(dm); }
    int Inicializar(HostParams* parametros);
    // Also removes the run-time VAT labels and forgets the stores.
    int Finalizar() override;

    void SetCondicionVentas(const QString& condicion);
    void SetCondicionCobros(const QString& condicion);
    void SetTipoCalculo(qint16 tipo);
    void SetTotalesMes(bool valor);
    void SetTotalesDia(bool valor);
    void SetDetalleCaja(bool valor);
    void SetInformeGrupos(bool valor);
    void SetInformeTarjetas(bool valor);
    QStringList& Tiendas() { return tiendas_; }
    // Told which reports follow the cash sheet (sales groups, card payments) once it has been
    // laid out; given by the print dispatch, which knows those reports.
    using InformesPosteriores = std::function<void(bool grupos, bool tarjetas)>;
    void SetInformesPosteriores(InformesPosteriores imprimir) { posteriores_ = std::move(imprimir); }

    // Day VAT and month totals.
    QString VentasMes();
    QString CobrosMes();
    int CalcularIvas();
    int CrearEtiquetasIva();
    int EliminarEtiquetas();
    int ImprimirEtiquetasIvas(const TDesgloseIva& importe);
    int EditarTablaIvas(const TDesgloseIva& importe);
    int AnadirTablaIva(const TDesgloseIva& importe);
    int IvaFechaCobro();
    int IvaFechaEncargo();
    int IvaFechaCaja();
    int IvaCajaCobrosEncargos();
    int IvaCajaEncargosTerminados();
    bool TiendaSeleccionada(double idTienda) const;

    // Column filling of a printed row.
    int Imprimir(int operacion);
    int ImprimirImporteCaja();

private:
    struct Acumuladores {
        double SumaEfectivo = 0, SumaTalon = 0, SumaTarjetas = 0, SumaAlbaran = 0;
        std::array<double, 6> SumaCaja{};   // index 1..5 by movement type
        double SumaCaja1Efectivo = 0, SumaCaja2Efectivo = 0;
        double NumVentas = 0, SumaVentas = 0, NumEncargos = 0, SumaEncargos = 0;
    };

    void construir();
    void cabeceraColumnas(ReportBand& band, qreal top, const QString& primera, const QString& sufijo);
    void qrpReportBeforePrint();
    void qrpReportAfterPrint();
    void bndCabeceraPaginaBeforePrint(bool& imprimir);
    void bndGrupoCabeceraBeforePrint(bool& imprimir);
    void bndDetalleBeforePrint(bool& imprimir);
    void bndGrupoPieBeforePrint(bool& imprimir);
    void bndGrupoPieAfterPrint(bool impreso);
    void bndPiePaginaBeforePrint(bool& imprimir);
    void fijarFuente(bool negrita, bool cursiva);
    DateTime diaActual() const;
    int anadirIvasConsulta(const QString& sql, const QString& columnaPorcentaje);

    QStringList tiendas_;

    QString condicionVentas_;
    QString condicionCobros_;
    qint16 tipoCalculo_ = 0;
    bool totalesMes_ = false;
    bool totalesDia_ = false;
    bool detalleCaja_ = false;
    bool informeGrupos_ = false;
    bool informeTarjetas_ = false;
    InformesPosteriores posteriores_;

    Acumuladores dia_;
    double ventaContada_ = -1;   // the last direct sale counted in the day's sales
    QString fechaPie_;            // the day of the page being laid out, for its footer
    bool pieImpreso_ = false;     // a day footer is on the page: the next page starts a day
    bool mesNuevo_ = true;
    qint16 mes_ = 0;
    double ventasMesAcumuladas_ = 0;
    double cobrosMesAcumulados_ = 0;

    // The sums of each day of one month, in cents, read with one query when a day of that month
    // first needs its month-to-date total.
    struct SumasDiasMes {
        int anio = 0;
        int mes = 0;   // 0: nothing read
        std::array<qint64, 32> centimos{};
        double hasta(int dia) const;
    };
    SumasDiasMes ventasDiasMes_;
    SumasDiasMes cobrosDiasMes_;
    using SqlMes = std::function<QString(const QString& desde, const QString& hasta)>;
    bool sumaMesHasta(SumasDiasMes& sumas, const SqlMes& sqlMes, const DateTime& dia, double& suma);
    // The month-to-date total of the current day, kept in `acumulado` (the last one read when
    // the query fails), as printed text.
    QString totalMes(SumasDiasMes& sumas, double& acumulado, const SqlMes& sqlMes);

    TTablaIvas tabla_;   // the day's VAT table in the day footer

    ReportBand* bndCabeceraPagina_ = nullptr;
    ReportGroup* bndGrupoCabecera_ = nullptr;
    ReportBand* bndDetalle_ = nullptr;
    ReportBand* bndGrupoPie_ = nullptr;
    ReportBand* bndPiePagina_ = nullptr;

    TBloqueEmpresa bloque_;   // qxtTitulo, qxtFiltro, qxtEmpresa, qxtNif, qxtDireccion, qxtLocalidad
    ReportLabel *qxtFacSimple = nullptr, *qxtTalon = nullptr, *qxtReferencia = nullptr, *qxtDescripcion = nullptr,
                *qxtDtoLinea = nullptr, *qxtDtoGlobal = nullptr, *qxtEfectivo = nullptr, *qxtTalones = nullptr,
                *qxtTarjetas = nullptr, *qxtGastos = nullptr;
    ReportDataText *qxtGrupo = nullptr, *qxtAgente = nullptr;
    ReportLabel *qxtSumaEfectivo = nullptr, *qxtSumaTalon = nullptr, *qxtSumaTarjetas = nullptr, *qxtSumaGastos = nullptr,
                *qxtDineroCaja = nullptr, *qxtSaldoCaja = nullptr, *qxtTotalCobros = nullptr, *qxtTotalAlbaran = nullptr,
                *qxtNVentas = nullptr, *qxtTotalVentas = nullptr, *qxtNEncargos = nullptr, *qxtTotalEncargos = nullptr,
                *qxtTotalVentasDia = nullptr, *qxtTotalVentasMes = nullptr, *qxtTotalCobrosMes = nullptr;
    ReportLabel *lblVentasDirectas = nullptr, *lblEncargos = nullptr, *lblTotalVentasDia = nullptr,
                *lblTotalVentasMes = nullptr, *lblTotalCobrosMes = nullptr;
    ReportLabel* qxtFechaPie = nullptr;
};

} // namespace lumetra
