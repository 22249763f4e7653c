#include "window/SolicitudListado.h"

#include "platform/format/DateTexts.h"

#include <algorithm>
#include <stdexcept>

namespace lumetra {

namespace {

const char* const kTodasLasTiendas = "[Todas las Tiendas Seleccionadas]";
const char* const kSinTienda = "[Debe Seleccionar al menos una Tienda]";

struct PrefijosFecha {
    const char* igual;
    const char* mayor;
    const char* menor;
    const char* distinto;
    const char* entre;
};

// The comparison prefixes by column (note the doubled spaces of the CA column and the space
// after the quote of the MV.FECHA range: the database has always received them so).
const PrefijosFecha& prefijos(qint16 columna)
{
    static const PrefijosFecha caja{"CAST(CA.FECHA AS DATE) = '", "CAST(CA.FECHA AS DATE)  > '", "CAST(CA.FECHA AS DATE)  < '",
                                    "CAST(CA.FECHA AS DATE)  != '", "CAST(CA.FECHA AS DATE)  BETWEEN '"};
    static const PrefijosFecha cobro{"CAST(CO.FECHA AS DATE) = '", "CAST(CO.FECHA AS DATE) > '", "CAST(CO.FECHA AS DATE) < '",
                                     "CAST(CO.FECHA AS DATE) != '", "CAST(CO.FECHA AS DATE) BETWEEN '"};
    static const PrefijosFecha venta{"CAST(MV.FECHA AS DATE) = '", "CAST(MV.FECHA AS DATE) > '", "CAST(MV.FECHA AS DATE) < '",
                                     "CAST(MV.FECHA AS DATE) != '", "CAST(MV.FECHA AS DATE) BETWEEN ' "};
    static const PrefijosFecha pagado{"CAST(MV.FECHA_PAGADO AS DATE) = '", "CAST(MV.FECHA_PAGADO AS DATE) > '",
                                      "CAST(MV.FECHA_PAGADO AS DATE) < '", "CAST(MV.FECHA_PAGADO AS DATE) != '",
                                      "CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '"};
    switch (columna) {
    case SolicitudListado::FechaCaja: return caja;
    case SolicitudListado::FechaCobro: return cobro;
    case SolicitudListado::FechaVenta: return venta;
    case SolicitudListado::FechaPagado: return pagado;
    default: throw std::invalid_argument("tipo de columna de fecha desconocido");
    }
}

QString columnaTienda(qint16 columna)
{
    switch (columna) {
    case SolicitudListado::TiendaCaja: return QStringLiteral("CA.ID_TIENDA = ");
    case SolicitudListado::TiendaCobro: return QStringLiteral("CO.ID_TIENDA = ");
    default: return QStringLiteral("MV.ID_TIENDA = ");
    }
}

// [X + c]: X and c only when c is not empty.
QString siHay(const QString& prefijo, const QString& condicion)
{
    return condicion.isEmpty() ? QString() : prefijo + condicion;
}

QString textoFecha(const DateTime& fecha)
{
    return fecha.isZero() ? QString() : DateToStr(fecha);
}

// The paid date of an order not finished yet: it has not been collected.
const QString kSinTerminar = QStringLiteral("2079-05-30");

// The pieces that tell the journal by order date from the journal by collection date.
struct PiezasDiario {
    QString resumen, lineas, fecha, filtro, ordenPorDias, orden;
    qint16 columna;
};

PiezasDiario piezasDiario(int calculo)
{
    if (calculo == SolicitudListado::IvaEncargo)
        return {QStringLiteral("Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA from MVENTA MV ")
                    + QStringLiteral("INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA "),
                QStringLiteral("Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, ")
                    + QStringLiteral("MV.FS_ENCARGO FAC_SIMPLE, MV.FS_SERIE "),
                QStringLiteral(", CAST(MV.FECHA AS DATE) FECHA "),
                QStringLiteral(") Where MV.TIPO_OPERACION != 3"),
                QStringLiteral(" ORDER BY CAST(MV.FECHA AS DATE), DV.IVA"),
                QStringLiteral(" ORDER BY MV.FECHA, MV.FS_ENCARGO, MV.ID_MVENTA "),
                SolicitudListado::FechaVenta};
    if (calculo == SolicitudListado::IvaCobro)
        return {QStringLiteral("Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA ")
                    + QStringLiteral("from MVENTA MV ") + QStringLiteral("INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA "),
                QStringLiteral("Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, ")
                    + QStringLiteral("DV.IVA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE "),
                QStringLiteral(", CAST(MV.FECHA_PAGADO AS DATE) FECHA "),
                QStringLiteral(") Where MV.TIPO_OPERACION IN (0, 1, 2) AND MV.FECHA_PAGADO < '") + kSinTerminar + QStringLiteral("' "),
                QStringLiteral(" ORDER BY CAST(MV.FECHA_PAGADO AS DATE), DV.IVA"),
                QStringLiteral(" ORDER BY MV.FECHA_PAGADO, MV.FS_COBRO, MV.ID_MVENTA"),
                SolicitudListado::FechaPagado};
    throw std::invalid_argument("el diario por fecha de caja no se consulta con una sola sentencia");
}

} // namespace

TiendasListado TiendasListado::Todas(const QStringList& ids, const QStringList& descripciones)
{
    TiendasListado lista;
    lista.textoVacio = QString::fromUtf8(kSinTienda);
    lista.textos << QString::fromUtf8(kTodasLasTiendas);
    lista.ids << 0;
    for (qsizetype i = 0; i < descripciones.size(); ++i) {
        lista.textos << descripciones.at(i);
        lista.ids << ids.value(i).toInt();
    }
    return lista;
}

TiendasListado TiendasListado::Propia(int id, const QString& descripcion)
{
    TiendasListado lista;
    lista.soloPropia = true;
    lista.textos << descripcion;
    lista.ids << id;
    return lista;
}

void SolicitudListado::MarcarTiendas(const TiendasListado& lista, const QList<int>& posiciones)
{
    QList<int> marcadas;
    for (int p : posiciones)
        if (p >= 0 && p < lista.textos.size() && !marcadas.contains(p))
            marcadas << p;
    std::sort(marcadas.begin(), marcadas.end());

    QStringList textos;
    for (int p : marcadas)
        textos << lista.textos.at(p);
    filtro = textos.isEmpty() ? lista.textoVacio : textos.join(QLatin1Char(';'));

    tiendas.clear();
    todasLasTiendas = !lista.soloPropia && marcadas.contains(0);
    if (todasLasTiendas)
        return;
    // Item i stands for the store at its position in the loaded list, so two stores with the
    // same description never select each other.
    for (int p : marcadas)
        if (lista.soloPropia || p > 0)
            tiendas << lista.ids.value(p);
}

QString SolicitudListado::ErrorFechas() const
{
    // A text that is not a date is refused as typed, never read as another date or as none.
    const bool usaDesde = operador >= TCondiciones::Igual && operador <= TCondiciones::Entre;
    if (usaDesde && !errorDesde.isEmpty())
        return errorDesde;
    if (operador == TCondiciones::Entre && !errorHasta.isEmpty())
        return errorHasta;
    // An empty date would make the query compare with no date at all.
    if (operador >= TCondiciones::Igual && operador <= TCondiciones::Menor && desde.isZero())
        return QStringLiteral("La Fecha No Puede ser Vacia");
    if (operador == TCondiciones::Entre) {
        if (desde.isZero() || hasta.isZero())
            return QStringLiteral("La Fecha No Puede ser Vacia");
        if (hasta < desde)
            return QStringLiteral("La Fecha Final no puede ser menor que la Inicial");
    }
    return {};
}

QString SolicitudListado::ErrorTiendas() const
{
    if (todasLasTiendas || !tiendas.isEmpty())
        return {};
    return QStringLiteral("Debe seleccionar al menos una Tienda");
}

QString SolicitudListado::ErrorIva() const
{
    if (calculoIva >= 0)
        return {};
    return QStringLiteral("Debe seleccionar una forma de calcular el Tipo de I.V.A");
}

bool SolicitudListado::ConFechas() const
{
    return operador >= TCondiciones::Igual && operador <= TCondiciones::Entre;
}

QString SolicitudListado::CondicionFecha(qint16 columna) const
{
    const PrefijosFecha& p = prefijos(columna);
    const QString inicio = SqlDateLiteral(desde);
    switch (operador) {
    case TCondiciones::Igual: return QString::fromLatin1(p.igual) + inicio + QStringLiteral("' ");
    case TCondiciones::Distinto: return QString::fromLatin1(p.distinto) + inicio + QStringLiteral("' ");
    case TCondiciones::Mayor: return QString::fromLatin1(p.mayor) + inicio + QStringLiteral("' ");
    case TCondiciones::Menor: return QString::fromLatin1(p.menor) + inicio + QStringLiteral("' ");
    case TCondiciones::Entre:
        return QString::fromLatin1(p.entre) + inicio + QStringLiteral("'  AND '") + SqlDateLiteral(hasta) + QStringLiteral("'");
    default: return {};
    }
}

QString SolicitudListado::CondicionTienda(qint16 columna) const
{
    if (todasLasTiendas)
        return {};
    QStringList partes;
    for (int id : tiendas)
        partes << columnaTienda(columna) + QString::number(id);
    return QStringLiteral(" (") + partes.join(QStringLiteral(" Or ")) + QStringLiteral(") ");
}

QStringList SolicitudListado::TiendasSeleccionadas() const
{
    QStringList ids;
    if (!todasLasTiendas)
        for (int id : tiendas)
            ids << QString::number(id);
    return ids;
}

QString SolicitudListado::TextoFechas() const
{
    switch (operador) {
    case TCondiciones::Igual: return QStringLiteral(" Igual a ") + TextoFechaInicio();
    case TCondiciones::Distinto: return QStringLiteral(" Distinto a ") + TextoFechaInicio();
    case TCondiciones::Mayor: return QStringLiteral(" Mayor ") + TextoFechaInicio();
    case TCondiciones::Menor: return QStringLiteral(" Menor que ") + TextoFechaInicio();
    case TCondiciones::Entre: return QStringLiteral(" Entre ") + TextoFechaInicio() + QStringLiteral(" y ") + TextoFechaFin();
    default: return {};
    }
}

QString SolicitudListado::TextoFechaPie() const
{
    switch (operador) {
    case TCondiciones::Igual:
    case TCondiciones::Menor: return TextoFechaInicio();
    case TCondiciones::Entre: return TextoFechaFin();
    default: return {};
    }
}

QString SolicitudListado::TextoFechaInicio() const
{
    return textoFecha(desde);
}

QString SolicitudListado::TextoFechaFin() const
{
    return textoFecha(hasta);
}

QString SolicitudListado::SQLCaja() const
{
    const QString tiendas = CondicionTienda(TiendaCaja);
    QString where = siHay(QStringLiteral(" where "), CondicionFecha(FechaCaja));
    if (!tiendas.isEmpty())
        where += (where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" And ")) + tiendas;
    return QStringLiteral("Select CA.ID_CAJA, CAST(CA.FECHA AS DATE) FECHA, CA.TIPO, CA.DESCRIPCION, CA.IMPORTE_M1, FP.CODIGO, "
                          "FP.TIPO FP_TIPO, FP.TIPO_PAGO from CAJA CA ")
        + QStringLiteral("LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CA.ID_FORMA_PAGO ") + where + QStringLiteral(" Order By CA.FECHA ");
}

QString SolicitudListado::SQLCobros() const
{
    const QString tiendas = CondicionTienda(TiendaCobro);
    QString where = siHay(QStringLiteral(" where "), CondicionFecha(FechaCobro));
    if (!tiendas.isEmpty())
        where += (where.isEmpty() ? QStringLiteral(" Where ") : QStringLiteral(" And ")) + tiendas;
    return QStringLiteral("Select CO.ID_MVENTa, CAST(CO.FECHA AS DATE) FECHA_COBRO, CO.IMPORTE_M1, FP.DESCRIPCION DESC_FPAGO, ")
        + QStringLiteral("FP.CODIGO COD_FPAGO, FP.TIPO_PAGO TIPO_PAGO, ")
        + QStringLiteral("AG.CODIGO COD_AGENTE, CAST(MV.FECHA AS DATE) FECHA_VENTA, MV.TIPO_OPERACION, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, ")
        + QStringLiteral("MV.N_TALON, MV.ID_PACIENTE, MV.LIQUIDO_M1 LIQUIDO_MVENTA, MV.PORCENTAJE_DESCUENTO, MV.FS_ENCARGO, MV.FS_COBRO, MV.FS_SERIE ")
        + QStringLiteral("From COBRO CO LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO ")
        + QStringLiteral("LEFT JOIN AGENTE AG On AG.ID_AGENTE = CO.ID_AGENTE ")
        + QStringLiteral("INNER JOIN MVENTA MV On MV.ID_MVENTA = CO.ID_MVENTA ") + where + QStringLiteral(" Order BY CAST(CO.FECHA AS DATE), CO.ID_MVENTA, CO.FECHA ");
}

QString SolicitudListado::SQLLineasCobro()
{
    return QStringLiteral("SELECT DV.ID_MVENTA, DV.REFERENCIA, DV.DESCRIPCION, DV.PORCENTAJE_DESCUENTO, DV.LIQUIDO_M1, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, ")
        + QStringLiteral("GR.CODIGO GR_CODIGO, AG.CODIGO AG_CODIGO1, AG1.CODIGO AG_CODIGO2, AG2.CODIGO AG_CODIGO3 ")
        + QStringLiteral("from DVENTA DV LEFT JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO ")
        + QStringLiteral("LEFT JOIN AGENTE AG On AG.ID_AGENTE = DV.ID_AGENTE_1 ")
        + QStringLiteral("LEFT JOIN AGENTE AG1 On AG1.ID_AGENTE = DV.ID_AGENTE_2 ")
        + QStringLiteral("LEFT JOIN AGENTE AG2 On AG2.ID_AGENTE = DV.ID_AGENTE_3 ")
        + QStringLiteral("where DV.ID_MVENTA = :ID_MVENTA");
}

QString SolicitudListado::SQLEncargosDia() const
{
    return QStringLiteral("Select MV.ID_MVENTA, MV.TIPO_OPERACION, MV.N_TALON, MV.LIQUIDO_M1, CAST(MV.FECHA AS DATE) FECHA from MVENTA MV ")
        + QStringLiteral("Where MV.TIPO_OPERACION != 0 ") + siHay(QStringLiteral(" And "), CondicionFecha(FechaVenta))
        + siHay(QStringLiteral(" And "), CondicionTienda(TiendaVenta)) + QStringLiteral(" Order By MV.FECHA");
}

QString SolicitudListado::SQLReferenciasEncargo()
{
    return QStringLiteral("Select DV.REFERENCIA from DVENTA DV WHERE ID_MVENTA = :ID_MVENTA ");
}

QString SolicitudListado::SQLTarjetas() const
{
    const QString tiendas = CondicionTienda(TiendaCobro);
    QString where = siHay(QStringLiteral(" Where "), CondicionFecha(FechaCobro));
    if (!tiendas.isEmpty())
        where = where.isEmpty() ? QStringLiteral(" WHERE ") + tiendas : where + QStringLiteral(" AND (") + tiendas + QStringLiteral(")");
    // By the collection's day first, so one card type's collections of a day stay one group.
    // A collection has one sale and one payment form, so its rows are already distinct.
    return QStringLiteral("Select CO.ID_COBRO ID, MV.N_TALON, MV.TIPO_OPERACION, CO.IMPORTE_M1, CO.ID_FORMA_PAGO, ")
        + QStringLiteral("CAST(CO.FECHA AS DATE) FECHA, FP.TIPO_PAGO, FP.DESCRIPCION, CO.TICKET ")
        + QStringLiteral("from COBRO CO INNER JOIN MVENTA MV On (MV.ID_MVENTA = CO.ID_MVENTA AND MV.TIPO_OPERACION != 3) ")
        + QStringLiteral(" INNER JOIN FORMA_PAGO FP On (FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO And FP.TIPO_PAGO = 2)") + where
        + QStringLiteral(" Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA");
}

QString SolicitudListado::SQLGrupos() const
{
    // A line's amount: a NULL base or VAT adds as 0 (NULL + x would lose the whole line).
    return QStringLiteral("Select MV.ID_MVENTA, MV.N_TALON, CAST(MV.FECHA AS DATE) FECHA, MV.TIPO_OPERACION, MV.ID_PACIENTE, DV.REFERENCIA, DV.DESCRIPCION, ")
        + QStringLiteral("(COALESCE(DV.BI_BASE_M1, 0) + COALESCE(DV.BI_IVA_M1, 0)) IMPORTE, DV.PRECIO_UNITARIO_M1, DV.UNIDADES, GR.CODIGO ")
        + QStringLiteral("from MVENTA MV INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ") + QStringLiteral(")")
        + QStringLiteral(" INNER JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO Where MV.TIPO_OPERACION != 3 AND GR.ID_GRUPO <> 0 ")
        + siHay(QStringLiteral(" And "), CondicionFecha(FechaVenta)) + siHay(QStringLiteral(" And "), CondicionTienda(TiendaVenta))
        + QStringLiteral(" Order By MV.FECHA, N_TALON, MV.ID_MVENTA, 11");
}

QString SolicitudListado::SQLResumenDiario(int calculo) const
{
    const PiezasDiario p = piezasDiario(calculo);
    return p.resumen + p.filtro + siHay(QStringLiteral(" AND "), CondicionTienda(TiendaVenta))
        + siHay(QStringLiteral(" AND "), CondicionFecha(p.columna));
}

QString SolicitudListado::SQLDiario(int calculo) const
{
    if (tipoDiario == 0)
        return SQLResumenDiario(calculo) + QStringLiteral(" GROUP BY DV.IVA Order BY IVA");
    const PiezasDiario p = piezasDiario(calculo);
    return p.lineas + p.fecha + QStringLiteral("From MVENTA MV INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ") + p.filtro
        + siHay(QStringLiteral(" AND "), CondicionTienda(TiendaVenta)) + siHay(QStringLiteral(" AND "), CondicionFecha(p.columna))
        + (tipoDiario == 3 ? p.ordenPorDias : p.orden);
}

QString SolicitudListado::SQLVentasDiarioCaja() const
{
    // Without dates ("Todos/as") every sale: no dangling AND. The stores are filtered by the data
    // module, from TiendasSeleccionadas.
    return QStringLiteral("Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_FORMA_PAGO, MV.TIPO_OPERACION, ")
        + QStringLiteral("MV.ID_TIENDA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE, MV.ID_FORMA_PAGO ")
        + QStringLiteral("From MVENTA MV where ") + QStringLiteral("MV.TIPO_OPERACION IN (0, 1, 2) AND MV.FECHA_PAGADO < '")
        + kSinTerminar + QStringLiteral("'")
        + siHay(QStringLiteral(" AND "), CondicionFecha(FechaPagado));
}

QString SolicitudListado::SQLLineasDiarioCaja()
{
    return QStringLiteral("Select DV.ID_MVENTA, DV.BI_BASE_M1, DV.BI_IVA_M1, IVA, DV.REFERENCIA, DV.DESCRIPCION ")
        + QStringLiteral("from DVENTA DV ") + QStringLiteral(" Where DV.ID_MVENTA = :ID_MVENTA ");
}

QString SolicitudListado::SQLCobrosVentaDiarioCaja()
{
    return QStringLiteral("Select CO.IMPORTE_M1, CO.TICKET, CO.ID_TIENDA, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO from COBRO CO ")
        + QStringLiteral("where CO.ID_MVENTA = :ID_MVENTA ORDER BY CO.FECHA, CO.ID_COBRO ");
}

QString SolicitudListado::SQLCobrosDiarioCaja() const
{
    // Without dates every collection of the chosen stores.
    const QString fecha = CondicionFecha(FechaCobro);
    const QString tiendas = CondicionTienda(TiendaCobro);
    const QString donde = fecha.isEmpty() ? tiendas : fecha + siHay(QStringLiteral(" AND "), tiendas);
    return QStringLiteral("Select CO.ID_MVENTA, CO.IMPORTE_M1, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO, CO.TICKET from COBRO CO")
        + siHay(QStringLiteral(" where "), donde);
}

QString SolicitudListado::SQLVentaCobroDiarioCaja()
{
    return QStringLiteral("Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.ID_TIENDA, MV.N_TALON from MVENTA MV ")
        + QStringLiteral("Where MV.ID_MVENTA = :ID_MVENTA AND MV.TIPO_OPERACION IN (1, 2) ");
}

} // namespace lumetra
