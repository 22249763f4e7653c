// TdmDiarioIva: the VAT-journal data module. It opens the journal queries the listing window
// builds and, for the cash-sheet date basis, turns sales and collections into `memDiario`, one
// row per printable journal line (taxable base, VAT percentage, VAT), kept in print order by the
// text key `Orden`. `memIvas` holds per-rate totals for the report forms, which fill and empty it.
//
// Contract:
// - Inicializar binds every dataset to the host's listing connection; call it once, before any
//   other operation. The block and what it points to must outlive this module.
// - Every operation with a status reports its own failures once, through the error window with
//   its own name, and returns -1 (FormasPagoAlbaran -1.0; PorcentajeIvaFecha falls back to 8 and
//   TiendaSeleccionada to the answer found so far, both silently). Nothing throws out of it.
// - The cash-sheet journal is built in two passes over datasets opened beforehand:
//   AbrirQueryMDD (sales, their lines, their collections) then TablaDiarioVentas, which empties
//   memDiario; AbrirQuery(ConsultaMaestro, collections, sale of a collection) then
//   TablaDiarioCobros, which appends. Each pass checks for a cancel once, before its loop: a
//   cancel closes every dataset and gives EstadoCancelado. A failed pass keeps the rows so far.
// - Tiendas() is the list of selected store identifiers as whole-number texts; empty = all.
#pragma once

#include "common/CalculoIva.h"
#include "common/frmPorcentajeListado.h"
#include "platform/db/Dataset.h"
#include "platform/format/DateTime.h"
#include "platform/memtable/MemTable.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace lumetra {

struct HostParams;
class TFPago;

class TdmDiarioIva : public QObject {
    Q_OBJECT

public:
    static constexpr int EstadoCorrecto = 0;
    static constexpr int EstadoError = -1;
    static constexpr int EstadoCancelado = -301;

    // Kinds of AbrirQuery.
    static constexpr qint16 ConsultaMVenta = 2;     // dstMVenta: the whole journal query
    static constexpr qint16 ConsultaMaestro = 4;    // dstMaestro with dstDetalle

    // Listing types (the window's listing-type index).
    static constexpr qint16 ListadoResumido = 0;
    static constexpr qint16 ListadoDetallado = 1;
    static constexpr qint16 ListadoDiasPorHoja = 2;
    static constexpr qint16 ListadoResumidoDias = 3;

    explicit TdmDiarioIva(QObject* propietario = nullptr);
    // Closes the datasets and frees a progress window still shown.
    ~TdmDiarioIva() override;

    int Inicializar(HostParams* parametros);
    HostParams* Parametros() const { return parametros_; }

    void SetTipoListado(qint16 tipo);
    qint16 TipoListado() const { return tipoListado_; }
    // The window replaces the contents before each pass.
    QStringList& Tiendas() { return tiendas_; }

    // Kind 2 opens dstMVenta and refreshes Estado from the cancel check; kind 4 opens dstMaestro
    // with dstDetalle. Returns Estado.
    int AbrirQuery(qint16 tipo, const QString& sql, const QString& sqlDetalle);
    // dstMaestro with its two details dstDetalle and dstDetalle2; Estado is reset to 0.
    int AbrirQueryMDD(const QString& sqlMaestro, const QString& sqlDetalle, const QString& sqlDetalle2);

    // The two passes of the cash-sheet basis: 0, EstadoCancelado or -1.
    int TablaDiarioVentas();
    int TablaDiarioCobros();

    // Identifier of the delivery-note payment form (code 3); -1.0 after reporting a failure.
    double FormasPagoAlbaran();
    // Splits an amount that includes VAT at the rate in force on the date; base + VAT always
    // equals the amount. Results in BaseCalculada and IvaCalculado.
    int CalcularBaseImponible(double importe, const DateTime& fecha);
    double BaseCalculada() const { return baseCalculada_; }
    double IvaCalculado() const { return ivaCalculado_; }
    // The VAT percentage in force on the date for the shop's default rate.
    double PorcentajeIvaFecha(const DateTime& fecha);
    // The shop's VAT rules (a fixed rate of 8 when its default rate cannot be read).
    TCalculoIva CalculoIva() const;
    bool TiendaSeleccionada(double idTienda) const;

    // For the journal reports: adds base and VAT to the memIvas row of the percentage (created
    // when absent), and reads a field of the row they print — from memDiario on the cash-sheet
    // basis, from dstMVenta on the others.
    void AcumularIva(const TDesgloseIva& importe);
    QString TextoDiario(bool caja, const char* campoVenta, const char* campoDiario) const;
    double NumeroDiario(bool caja, const char* campoVenta, const char* campoDiario) const;

    // Progress window: 0, or EstadoCancelado once "&Cancelar" was pressed; lets events run.
    qint16 ComprobarCancelacion();
    void MostrarPorcentaje();
    void LiberarPorcentaje();
    // Presses "&Cancelar" of the progress window, when one is up.
    void SolicitarCancelacion();
    TfrmPorcentajeListado* Porcentaje() const { return porcentaje_; }
    // Closes every database dataset.
    void CerrarConsultas();

    int Estado() const { return estado_; }

    void MostrarError(const QString& funcion, const QString& descripcion);

    // Datasets, masters declared first so that details go before them.
    Dataset dstMaestro{QStringLiteral("dstMaestro")};
    Dataset dstMVenta{QStringLiteral("dstMVenta")};
    Dataset dstAux{QStringLiteral("dstAux")};
    Dataset dstDetalle{QStringLiteral("dstDetalle")};     // detail of dstMaestro
    Dataset dstDetalle2{QStringLiteral("dstDetalle2")};   // detail of dstMaestro

    // Talon, Referencia, Descripcion, BaseImponible, Porcentaje, Iva, Fecha, IdMVenta, Orden,
    // IdCobro, IdTienda, FacSimple, FacSimpleSerie; sorted by Orden.
    MemTable memDiario{QStringLiteral("memDiario")};
    MemTable memIvas{QStringLiteral("memIvas")};   // BaseImponible, Iva, PorcentajeIva; sorted by PorcentajeIva

private:
    struct Linea;
    void CrearTablas();
    int Cancelar();
    void CalcularBase(double importe, const DateTime& fecha);
    void AnadirLinea(const Linea& linea);
    // The part of Orden after the day: the rate for "Resumido Por Días", else the number.
    QString claveLinea(double porcentaje, double numero) const;

    HostParams* parametros_ = nullptr;
    QPointer<TFPago> fPago_;   // owned by the host window once created
    QPointer<TfrmPorcentajeListado> porcentaje_;
    int estado_ = EstadoCorrecto;
    QElapsedTimer ultimaComprobacion_;
    // Inside a long pass: looks at "&Cancelar" a few times a second; true once it was pressed.
    bool CanceladoEnCurso();
    qint16 tipoListado_ = 0;
    QStringList tiendas_;
    double baseCalculada_ = 0;
    double ivaCalculado_ = 0;
};

} // namespace lumetra
