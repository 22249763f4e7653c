// The date and store conditions of a listing request, its readable date texts and its
// validation: pure functions of the request, no window and no database.
#include "platform/format/PrintQString.h"
#include "conditions/Requests.h"
#include "platform/format/FormatSettings.h"
#include "window/SolicitudListado.h"

#include <gtest/gtest.h>
#include <tuple>

namespace lumetra {
namespace {

using S = SolicitudListado;

// Start 15/06/2013, end 20/07/2013.
SolicitudListado fechas(int operador, const DateTime& desde = DateTime::fromYmd(2013, 6, 15),
                        const DateTime& hasta = DateTime::fromYmd(2013, 7, 20))
{
    SolicitudListado s;
    s.listado = S::ListadoHojaCaja;
    s.operador = operador;
    s.desde = desde;
    s.hasta = hasta;
    return s;
}

// The = comparison, the ranges of MV.FECHA and MV.FECHA_PAGADO and "Todos/as" stand inside the
// exact query texts (QueryTextTest). The cash box's column is followed by two spaces.
TEST(ConditionText, DateConditionForEveryOperatorAndColumn)
{
    const std::pair<qint16, const char*> columnas[] = {{S::FechaCaja, "CA.FECHA AS DATE) "}, {S::FechaCobro, "CO.FECHA AS DATE)"},
                                                       {S::FechaVenta, "MV.FECHA AS DATE)"}, {S::FechaPagado, "MV.FECHA_PAGADO AS DATE)"}};
    const std::pair<int, const char*> operadores[] = {{TCondiciones::Distinto, "!="}, {TCondiciones::Mayor, ">"}, {TCondiciones::Menor, "<"}};
    for (const auto& [columna, cast] : columnas) {
        for (const auto& [op, signo] : operadores)
            EXPECT_EQ(fechas(op).CondicionFecha(columna), QStringLiteral("CAST(%1 %2 '06/15/2013' ").arg(QLatin1String(cast), QLatin1String(signo)));
    }
    EXPECT_EQ(fechas(TCondiciones::Entre).CondicionFecha(S::FechaCaja), "CAST(CA.FECHA AS DATE)  BETWEEN '06/15/2013'  AND '07/20/2013'");
    EXPECT_EQ(fechas(TCondiciones::Entre).CondicionFecha(S::FechaCobro), "CAST(CO.FECHA AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'");
    EXPECT_EQ(fechas(TCondiciones::Contiene).CondicionFecha(S::FechaCobro), "") << "an operator the window does not offer";
    EXPECT_THROW(fechas(TCondiciones::Igual).CondicionFecha(3), std::invalid_argument);
    EXPECT_THROW(fechas(TCondiciones::Todos).CondicionFecha(5), std::invalid_argument);
}

TEST(ConditionText, ReadableDateTextsFollowTheOperator)
{
    const std::tuple<const char*, int, bool, const char*, const char*> rows[] = {
        {"igual", TCondiciones::Igual, true, " Igual a 15/06/2013", "15/06/2013"},
        {"distinto_sin_pie", TCondiciones::Distinto, true, " Distinto a 15/06/2013", ""},
        {"mayor_sin_pie", TCondiciones::Mayor, true, " Mayor 15/06/2013", ""},
        {"menor", TCondiciones::Menor, true, " Menor que 15/06/2013", "15/06/2013"},
        {"entre_pie_con_la_final", TCondiciones::Entre, true, " Entre 15/06/2013 y 20/07/2013", "20/07/2013"},
        {"todos_sin_textos", TCondiciones::Todos, false, "", ""},
        {"vacio_sin_textos", TCondiciones::Vacio, false, "", ""},
    };
    for (const auto& [name, op, conFechas, textoFechas, textoPie] : rows) {
        SCOPED_TRACE(name);
        const SolicitudListado s = fechas(op);
        EXPECT_EQ(s.ConFechas(), conFechas);
        EXPECT_EQ(s.TextoFechas(), QString::fromUtf8(textoFechas));
        EXPECT_EQ(s.TextoFechaPie(), QString::fromUtf8(textoPie));
    }
    // An empty date field shows nothing.
    EXPECT_EQ(fechas(TCondiciones::Igual, DateTime::zero()).TextoFechas(), QStringLiteral(" Igual a "));
}

// The literal in the SQL is month first whatever the display; the readable texts follow the display.
TEST(ConditionText, SqlLiteralIgnoresTheDisplayedDateFormat)
{
    const FormatSettings saved = FormatSettings::current();
    FormatSettings iso = saved;
    iso.shortDateFormat = QStringLiteral("yyyy-mm-dd");
    FormatSettings::setCurrent(iso);
    const SolicitudListado entre = fechas(TCondiciones::Entre);
    const QString condicion = entre.CondicionFecha(S::FechaCobro);
    const QString texto = entre.TextoFechas();
    const QString caja = fechas(TCondiciones::Igual).SQLCaja();
    FormatSettings::setCurrent(saved);

    EXPECT_EQ(condicion, QStringLiteral("CAST(CO.FECHA AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"));
    EXPECT_EQ(texto, QStringLiteral(" Entre 2013-06-15 y 2013-07-20"));
    EXPECT_TRUE(caja.contains(QLatin1String("CAST(CA.FECHA AS DATE) = '06/15/2013' "))) << caja.toStdString();
}

// What a request's dates must be; the reversed range and the empty end date are checked through
// the print (PrintDispatchTest).
TEST(ConditionText, DateValidation)
{
    const DateTime dia = DateTime::fromYmd(2013, 6, 15);
    const std::tuple<const char*, int, DateTime, DateTime, const char*> rows[] = {
        {"igual_sin_fecha", TCondiciones::Igual, DateTime::zero(), dia, "La Fecha No Puede ser Vacia"},
        {"menor_sin_fecha", TCondiciones::Menor, DateTime::zero(), dia, "La Fecha No Puede ser Vacia"},
        {"entre_mismo_dia", TCondiciones::Entre, dia, dia, ""},
        {"todos_acepta_cualquier_fecha", TCondiciones::Todos, DateTime::zero(), DateTime::fromYmd(2013, 6, 14), ""},
    };
    for (const auto& [name, op, desde, hasta, error] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fechas(op, desde, hasta).ErrorFechas(), QString::fromUtf8(error));
    }
}

TEST(ConditionText, StoreConditionFollowsTheTickedItems)
{
    // One store, stores in the list's order and "all stores" alone are pinned by the query texts
    // and by the command line's request (ListingRequestTest).
    const std::tuple<const char*, qint16, QList<int>, const char*, QStringList, const char*> rows[] = {
        {"todas_aunque_haya_otras_marcadas", S::TiendaVenta, {0, 2}, "", {},
         "[Todas las Tiendas Seleccionadas];Lumetra Sabadell"},
        {"misma_descripcion_ambas", S::TiendaCobro, {5, 4}, " (CO.ID_TIENDA = 4 Or CO.ID_TIENDA = 5) ", {"4", "5"},
         "Lumetra Duplicada;Lumetra Duplicada"},
        {"ninguna_muestra_el_texto_vacio", S::TiendaCobro, {}, " () ", {}, "[Debe Seleccionar al menos una Tienda]"},
    };
    for (const auto& [name, column, items, condition, ids, filtro] : rows) {
        SCOPED_TRACE(name);
        SolicitudListado s;
        s.MarcarTiendas(test::tiendasDePrueba(), items);
        EXPECT_EQ(s.CondicionTienda(column), QString::fromUtf8(condition));
        EXPECT_EQ(s.TiendasSeleccionadas(), ids);
        EXPECT_EQ(s.filtro, QString::fromUtf8(filtro));
        EXPECT_EQ(s.todasLasTiendas, items.contains(0));
    }
}

} // namespace
} // namespace lumetra
