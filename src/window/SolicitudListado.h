// SolicitudListado: one listing request as a value: the listing, the date operator and dates,
// the selected stores, the VAT basis, the journal layout and the options of the cash sheet and
// the journal. The listing window fills it from the controls of a condition page; the
// command-line front end builds it from its options. Either hands it to the window's print
// dispatch.
//
// Every text the listings send to the database, and every condition text shown on a report, is
// a pure function of the request: no widget, no database, no host object is read. The texts are
// kept exactly as the listings have always sent them (spaces included).
#pragma once

#include "hostapi/Condiciones.h"
#include "platform/format/DateTime.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace lumetra {

// The stores a condition page offers, item by item as its list shows them. Normally item 0 is
// "[Todas las Tiendas Seleccionadas]" (id 0) and item i is the store at position i - 1 of the
// loaded store list; a user limited to his own store gets that store as the only item.
struct TiendasListado {
    QStringList textos;        // item texts
    QList<int> ids;            // the store of each item; 0 for the all-stores item
    bool soloPropia = false;   // the only item is the user's own store
    QString textoVacio;        // what the list shows with nothing ticked

    // The usual list: the all-stores item, then the loaded stores in their order.
    static TiendasListado Todas(const QStringList& ids, const QStringList& descripciones);
    // The list of a user limited to his own store.
    static TiendasListado Propia(int id, const QString& descripcion);

    friend bool operator==(const TiendasListado&, const TiendasListado&) = default;
};

class SolicitudListado {
public:
    static constexpr int ListadoHojaCaja = 30;
    static constexpr int ListadoDiario = 31;
    static constexpr int ListadoGrupos = 32;
    static constexpr int ListadoTarjetas = 33;

    // Index of the VAT basis ("Cálculo I.V.A").
    static constexpr int IvaCobro = 0;
    static constexpr int IvaEncargo = 1;
    static constexpr int IvaCaja = 2;

    // Date columns of CondicionFecha.
    static constexpr qint16 FechaCaja = 0;     // CA.FECHA
    static constexpr qint16 FechaCobro = 1;    // CO.FECHA
    static constexpr qint16 FechaVenta = 2;    // MV.FECHA
    static constexpr qint16 FechaPagado = 6;   // MV.FECHA_PAGADO
    // Store columns of CondicionTienda.
    static constexpr qint16 TiendaCaja = 0;    // CA.ID_TIENDA
    static constexpr qint16 TiendaCobro = 1;   // CO.ID_TIENDA
    static constexpr qint16 TiendaVenta = 2;   // MV.ID_TIENDA

    int listado = 0;            // 30..33
    int operador = TCondiciones::Todos;   // code of the date operator; Igual..Entre take dates
    DateTime desde;             // the zero date: the field is empty
    DateTime hasta;
    QString errorDesde;         // why the typed start is not a date ("" when it is one or is empty)
    QString errorHasta;

    bool todasLasTiendas = false;   // "[Todas las Tiendas Seleccionadas]" ticked: no store condition
    QList<int> tiendas;             // the ticked stores' ids, in the list's order
    QString filtro;                 // what the store list shows; printed in the reports' headers

    int calculoIva = -1;        // VAT basis index; -1 when none is chosen
    int tipoDiario = 0;         // journal layout: 0 summary, 1 detailed, 2 per day on its own page, 3 per day
    bool totalesDia = false;
    bool totalesMes = false;
    bool detalleCaja = false;   // order detail of the cash sheet
    bool informeGrupos = false; // the group report after the cash sheet
    bool informeTarjetas = false;
    bool familia = false;       // the journal prints the family's description instead of the article's

    // Ticks the items at these positions of the list: the stores, the all-stores flag and the
    // list's text follow from them.
    void MarcarTiendas(const TiendasListado& lista, const QList<int>& posiciones);

    // Validation: the message the window shows, or the empty text when the condition is valid.
    QString ErrorFechas() const;
    QString ErrorTiendas() const;
    QString ErrorIva() const;

    // Whether the operator takes dates (every operator but "Todos/as").
    bool ConFechas() const;
    // The date condition on a date column; empty without dates. Throws std::invalid_argument for
    // an unknown column.
    QString CondicionFecha(qint16 columna) const;
    // The store condition on a store column; empty for all stores.
    QString CondicionTienda(qint16 columna) const;
    // The selected stores' ids as text; empty for all stores.
    QStringList TiendasSeleccionadas() const;
    // The readable date condition and the date of report footers; both empty without dates.
    QString TextoFechas() const;
    QString TextoFechaPie() const;
    // The dates as their fields show them (empty for the zero date).
    QString TextoFechaInicio() const;
    QString TextoFechaFin() const;

    // Cash sheet: the cash-box movements, the collections with their sales and the sale lines of
    // one collection (:ID_MVENTA), the orders taken and their references (:ID_MVENTA).
    QString SQLCaja() const;
    QString SQLCobros() const;
    static QString SQLLineasCobro();
    QString SQLEncargosDia() const;
    static QString SQLReferenciasEncargo();
    // The card payments and the sale lines by sales group.
    QString SQLTarjetas() const;
    QString SQLGrupos() const;
    // VAT journal by collection date (IvaCobro) or by order date (IvaEncargo): the VAT-rate
    // totals, and what the report prints from (the totals grouped by rate for the summary
    // layout, the sale lines otherwise). Throws std::invalid_argument for another basis.
    QString SQLResumenDiario(int calculo) const;
    QString SQLDiario(int calculo) const;
    // VAT journal by cash-sheet date: the sales with their lines and collections (:ID_MVENTA),
    // then the collections with their sale (:ID_MVENTA).
    QString SQLVentasDiarioCaja() const;
    static QString SQLLineasDiarioCaja();
    static QString SQLCobrosVentaDiarioCaja();
    QString SQLCobrosDiarioCaja() const;
    static QString SQLVentaCobroDiarioCaja();

    friend bool operator==(const SolicitudListado&, const SolicitudListado&) = default;
};

} // namespace lumetra
