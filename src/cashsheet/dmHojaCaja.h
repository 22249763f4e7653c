// TdmHojaCaja: the cash-sheet data module. It owns the database datasets the cash-sheet listing
// reads and the in-memory tables its reports print, and turns the rows of the cash-box,
// collections and orders-of-the-day queries into rows of `memHojaCaja`, kept in print order by
// the text key `Orden`.
//
// Contract:
// - Inicializar binds every dataset to the host's listing connection; call it once, before any
//   other operation. The block and what it points to must outlive this module.
// - Every operation reports its own failures once, through the error window with its own name,
//   and returns -1 (PorcentajeIvaFecha falls back to 8). Nothing throws out of this class.
// - Between rows the fill polls the progress window (MostrarPorcentaje). A cancel closes every
//   dataset and gives EstadoCancelado; rows appended before it stay in memHojaCaja. A cancel is
//   not a failure: no error window.
// - A failed TablaHojaCaja frees the progress window before its error window shows.
#pragma once

#include "common/CalculoIva.h"
#include "common/frmPorcentajeListado.h"
#include "platform/db/Dataset.h"
#include "platform/format/DateTime.h"
#include "platform/memtable/MemTable.h"

#include <QObject>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

namespace lumetra {

struct HostParams;

class TdmHojaCaja : public QObject {
    Q_OBJECT

public:
    static constexpr int EstadoCorrecto = 0;
    static constexpr int EstadoError = -1;
    static constexpr int EstadoCancelado = -301;

    // Kinds of AbrirQuery and TablaHojaCaja.
    static constexpr qint16 ConsultaCaja = 0;        // dstCaja
    static constexpr qint16 ConsultaMVenta = 2;      // dstMVenta
    static constexpr qint16 ConsultaMaestro = 4;     // dstMaestro with dstDetalle
    static constexpr qint16 ConsultaAux = 5;         // dstAux
    static constexpr qint16 ConsultaTarjetas = 7;    // dstTarjetas
    static constexpr qint16 TablaCaja = 0;           // cash-box movements from dstCaja
    static constexpr qint16 TablaCobros = 1;         // collections from dstMaestro/dstDetalle
    static constexpr qint16 TablaEncargosDia = 2;    // orders of the day from dstMaestro

    // Values of the memHojaCaja field TipoRegistros.
    static constexpr int RegistroCaja = 0;
    static constexpr int RegistroCobro = 1;
    static constexpr int RegistroEncargos = 2;
    static constexpr int RegistroLinea = 3;

    // The text of the orders-of-the-day row.
    static const QString TextoEncargosDia;

    explicit TdmHojaCaja(QObject* propietario = nullptr);
    // Closes the datasets and frees a progress window still shown.
    ~TdmHojaCaja() override;

    int Inicializar(HostParams* parametros);
    HostParams* Parametros() const { return parametros_; }

    // Replaces a dataset's text and opens it (kinds above; other kinds do nothing). Returns
    // Estado: the result of the cancel check for kinds 0 and 2, otherwise the last one.
    int AbrirQuery(qint16 tipo, const QString& sql, const QString& sqlDetalle);
    // dstMaestro with its two details dstDetalle and dstDetalle2; Estado is reset to 0.
    int AbrirQueryMDD(const QString& sqlMaestro, const QString& sqlDetalle, const QString& sqlDetalle2);

    // Appends the rows of the dataset opened before; mode (kind 1) is the VAT-basis index:
    // 0 and 2 number collections by FS_COBRO, any other by FS_ENCARGO. Ends on the first row.
    int TablaHojaCaja(qint16 tipo, qint16 modo);
    // Refills memGrupos with the distinct CODIGO of dstMVenta other than the empty code of lines
    // without a group; dstMVenta ends on its first row.
    int TablaGrupos();

    // Row operations of TablaHojaCaja, for the current row of dstCaja / dstMaestro.
    int InsertarRegistroCaja();
    int InsertarRegistroCobros(qint16 modo, const QString& fechaAnterior);
    int InsertarRegistroCobros();

    // Splits an amount that includes VAT at the rate in force on the date; the results are kept
    // in BaseCalculada and IvaCalculado, base + VAT always equals the amount.
    int CalcularBaseImponible(const DateTime& fecha, double importe);
    double BaseCalculada() const { return baseCalculada_; }
    double IvaCalculado() const { return ivaCalculado_; }
    // The VAT percentage in force on the date for the shop's default rate.
    double PorcentajeIvaFecha(const DateTime& fecha);
    // The shop's VAT rules (a fixed rate of 8 when its default rate cannot be read).
    TCalculoIva CalculoIva() const;

    // Progress window: 0, or EstadoCancelado once "&Cancelar" was pressed; lets events run.
    qint16 ComprobarCancelacion();
    void MostrarPorcentaje();
    void LiberarPorcentaje();
    // Presses "&Cancelar" of the progress window, when one is up.
    void SolicitarCancelacion();
    // The progress window while a listing is filled, else null.
    TfrmPorcentajeListado* Porcentaje() const { return porcentaje_; }
    // Closes every database dataset.
    void CerrarConsultas();

    int Estado() const { return estado_; }
    double UltimaVenta() const { return ultimaVenta_; }

    void MostrarError(const QString& funcion, const QString& descripcion);

    // Datasets, declared masters first so that details go before them.
    Dataset dstTarjetas{QStringLiteral("dstTarjetas")};
    Dataset dstAux{QStringLiteral("dstAux")};
    Dataset dstMVenta{QStringLiteral("dstMVenta")};
    Dataset dstCaja{QStringLiteral("dstCaja")};
    Dataset dstMaestro{QStringLiteral("dstMaestro")};
    Dataset dstDetalle{QStringLiteral("dstDetalle")};     // detail of dstMaestro
    Dataset dstDetalle2{QStringLiteral("dstDetalle2")};   // detail of dstMaestro

    // IdMVenta, Talon, TipoOperacion, GrupoVenta, Agentes, Referencia, Descripcion, DtoLinea,
    // DtoGlobal, TipoPago, Liquido, TipoRegistros, IdPaciente, Fecha, BaseImponible, Iva,
    // porcentajeIva, Orden, FechaPagado, FacSimple, FacSimpleSerie, CobroParcial (1 on a collection
    // that pays a direct sale in part); sorted by Orden.
    MemTable memHojaCaja{QStringLiteral("memHojaCaja")};
    MemTable memGrupos{QStringLiteral("memGrupos")};   // Grupo; sorted by Grupo
    MemTable memIvas{QStringLiteral("memIvas")};       // BaseImponible, Iva, PorcentajeIva; sorted by PorcentajeIva

private:
    struct ColumnasCaja;
    struct ColumnasCobros;
    struct ColumnasEncargos;

    void CrearTablas();
    int ComprobarYCerrar();
    int AnadirCaja(const ColumnasCaja& c);
    int AnadirCobro(const ColumnasCobros& c, qint16 modo, const QString& fechaAnterior);
    int AnadirEncargos(const ColumnasEncargos& c);
    void CalcularBase(const DateTime& fecha, double importe);

    HostParams* parametros_ = nullptr;
    QPointer<TfrmPorcentajeListado> porcentaje_;
    int estado_ = EstadoCorrecto;
    double baseCalculada_ = 0;
    double ivaCalculado_ = 0;
    double ultimaVenta_ = -1.0;
    QElapsedTimer ultimosEventos_;   // when the last check let events run
};

} // namespace lumetra
