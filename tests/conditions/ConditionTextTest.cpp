// The date and store conditions of a listing request, its readable date texts and its
// validation: pure functions of the request, no window and no database.
#include "conditions/PrintTexts.h"
#include "conditions/Requests.h"
#include "platform/format/FormatSettings.h"
#include "window/SolicitudListado.h"

#include <gtest/gtest.h>

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

struct FechaCase {
    const char* name;
    qint16 column;
    int op;
    const char* condition;
};

const FechaCase kFechas[] = {
    {"caja_igual", S::FechaCaja, TCondiciones::Igual, "CAST(CA.FECHA AS DATE) = '06/15/2013' "},
    {"caja_distinto_dos_espacios", S::FechaCaja, TCondiciones::Distinto, "CAST(CA.FECHA AS DATE)  != '06/15/2013' "},
    {"caja_mayor_dos_espacios", S::FechaCaja, TCondiciones::Mayor, "CAST(CA.FECHA AS DATE)  > '06/15/2013' "},
    {"caja_menor_dos_espacios", S::FechaCaja, TCondiciones::Menor, "CAST(CA.FECHA AS DATE)  < '06/15/2013' "},
    {"caja_entre", S::FechaCaja, TCondiciones::Entre, "CAST(CA.FECHA AS DATE)  BETWEEN '06/15/2013'  AND '07/20/2013'"},
    {"caja_todos_sin_condicion", S::FechaCaja, TCondiciones::Todos, ""},
    {"cobro_igual", S::FechaCobro, TCondiciones::Igual, "CAST(CO.FECHA AS DATE) = '06/15/2013' "},
    {"cobro_distinto", S::FechaCobro, TCondiciones::Distinto, "CAST(CO.FECHA AS DATE) != '06/15/2013' "},
    {"cobro_mayor", S::FechaCobro, TCondiciones::Mayor, "CAST(CO.FECHA AS DATE) > '06/15/2013' "},
    {"cobro_menor", S::FechaCobro, TCondiciones::Menor, "CAST(CO.FECHA AS DATE) < '06/15/2013' "},
    {"cobro_entre", S::FechaCobro, TCondiciones::Entre, "CAST(CO.FECHA AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"},
    {"cobro_todos_sin_condicion", S::FechaCobro, TCondiciones::Todos, ""},
    {"venta_igual", S::FechaVenta, TCondiciones::Igual, "CAST(MV.FECHA AS DATE) = '06/15/2013' "},
    {"venta_distinto", S::FechaVenta, TCondiciones::Distinto, "CAST(MV.FECHA AS DATE) != '06/15/2013' "},
    {"venta_mayor", S::FechaVenta, TCondiciones::Mayor, "CAST(MV.FECHA AS DATE) > '06/15/2013' "},
    {"venta_menor", S::FechaVenta, TCondiciones::Menor, "CAST(MV.FECHA AS DATE) < '06/15/2013' "},
    {"venta_entre_espacio_tras_comilla", S::FechaVenta, TCondiciones::Entre,
     "CAST(MV.FECHA AS DATE) BETWEEN ' 06/15/2013'  AND '07/20/2013'"},
    {"venta_todos_sin_condicion", S::FechaVenta, TCondiciones::Todos, ""},
    {"pagado_igual", S::FechaPagado, TCondiciones::Igual, "CAST(MV.FECHA_PAGADO AS DATE) = '06/15/2013' "},
    {"pagado_distinto", S::FechaPagado, TCondiciones::Distinto, "CAST(MV.FECHA_PAGADO AS DATE) != '06/15/2013' "},
    {"pagado_mayor", S::FechaPagado, TCondiciones::Mayor, "CAST(MV.FECHA_PAGADO AS DATE) > '06/15/2013' "},
    {"pagado_menor", S::FechaPagado, TCondiciones::Menor, "CAST(MV.FECHA_PAGADO AS DATE) < '06/15/2013' "},
    {"pagado_entre", S::FechaPagado, TCondiciones::Entre,
     "CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"},
    {"pagado_todos_sin_condicion", S::FechaPagado, TCondiciones::Todos, ""},
    {"operador_no_ofrecido_sin_condicion", S::FechaCobro, TCondiciones::Contiene, ""},
};

TEST(ConditionText, DateConditionForEveryOperatorAndColumn)
{
    for (const FechaCase& row : kFechas) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fechas(row.op).CondicionFecha(row.column), QString::fromUtf8(row.condition));
    }
    EXPECT_THROW(fechas(TCondiciones::Igual).CondicionFecha(3), std::invalid_argument);
    EXPECT_THROW(fechas(TCondiciones::Todos).CondicionFecha(5), std::invalid_argument);
}

struct TextoCase {
    const char* name;
    int op;
    bool conFechas;
    const char* textoFechas;
    const char* textoPie;
};

TEST(ConditionText, ReadableDateTextsFollowTheOperator)
{
    const TextoCase rows[] = {
        {"igual", TCondiciones::Igual, true, " Igual a 15/06/2013", "15/06/2013"},
        {"distinto_sin_pie", TCondiciones::Distinto, true, " Distinto a 15/06/2013", ""},
        {"mayor_sin_pie", TCondiciones::Mayor, true, " Mayor 15/06/2013", ""},
        {"menor", TCondiciones::Menor, true, " Menor que 15/06/2013", "15/06/2013"},
        {"entre_pie_con_la_final", TCondiciones::Entre, true, " Entre 15/06/2013 y 20/07/2013", "20/07/2013"},
        {"todos_sin_textos", TCondiciones::Todos, false, "", ""},
        {"vacio_sin_textos", TCondiciones::Vacio, false, "", ""},
    };
    for (const TextoCase& row : rows) {
        SCOPED_TRACE(row.name);
        const SolicitudListado s = fechas(row.op);
        EXPECT_EQ(s.ConFechas(), row.conFechas);
        EXPECT_EQ(s.TextoFechas(), QString::fromUtf8(row.textoFechas));
        EXPECT_EQ(s.TextoFechaPie(), QString::fromUtf8(row.textoPie));
        EXPECT_EQ(s.TextoFechaInicio(), QStringLiteral("15/06/2013"));
        EXPECT_EQ(s.TextoFechaFin(), QStringLiteral("20/07/2013"));
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
    const SolicitudListado igual = fechas(TCondiciones::Igual);
    const QString caja = igual.SQLCaja();
    const QString cobros = igual.SQLCobros();
    const QString encargos = igual.SQLEncargosDia();
    const QString textoIgual = igual.TextoFechas();
    FormatSettings::setCurrent(saved);

    EXPECT_EQ(condicion, QStringLiteral("CAST(CO.FECHA AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"));
    EXPECT_EQ(texto, QStringLiteral(" Entre 2013-06-15 y 2013-07-20"));
    EXPECT_EQ(textoIgual, QStringLiteral(" Igual a 2013-06-15"));
    EXPECT_TRUE(caja.contains(QLatin1String("CAST(CA.FECHA AS DATE) = '06/15/2013' "))) << caja.toStdString();
    EXPECT_TRUE(cobros.contains(QLatin1String("CAST(CO.FECHA AS DATE) = '06/15/2013' "))) << cobros.toStdString();
    EXPECT_TRUE(encargos.contains(QLatin1String("CAST(MV.FECHA AS DATE) = '06/15/2013' "))) << encargos.toStdString();
}

TiendasListado tiendas()
{
    return test::tiendasDePrueba();
}

struct TiendaCase {
    const char* name;
    qint16 column;
    QList<int> items;
    const char* condition;
    QStringList ids;
    const char* filtro;
};

TEST(ConditionText, StoreConditionFollowsTheTickedItems)
{
    const TiendaCase rows[] = {
        {"una_tienda", S::TiendaCaja, {2}, " (CA.ID_TIENDA = 3) ", {"3"}, "Lumetra Sabadell"},
        {"dos_en_orden_de_lista", S::TiendaCobro, {3, 1}, " (CO.ID_TIENDA = 2 Or CO.ID_TIENDA = 1) ", {"2", "1"},
         "Lumetra Gràcia;Lumetra Centro"},
        {"todas_vacia_la_lista", S::TiendaVenta, {0}, "", {}, "[Todas las Tiendas Seleccionadas]"},
        {"todas_aunque_haya_otras_marcadas", S::TiendaVenta, {0, 2}, "", {},
         "[Todas las Tiendas Seleccionadas];Lumetra Sabadell"},
        {"misma_descripcion_primera", S::TiendaVenta, {4}, " (MV.ID_TIENDA = 4) ", {"4"}, "Lumetra Duplicada"},
        {"misma_descripcion_segunda", S::TiendaVenta, {5}, " (MV.ID_TIENDA = 5) ", {"5"}, "Lumetra Duplicada"},
        {"misma_descripcion_ambas", S::TiendaCobro, {4, 5}, " (CO.ID_TIENDA = 4 Or CO.ID_TIENDA = 5) ", {"4", "5"},
         "Lumetra Duplicada;Lumetra Duplicada"},
        {"ninguna_muestra_el_texto_vacio", S::TiendaCobro, {}, " () ", {}, "[Debe Seleccionar al menos una Tienda]"},
    };
    for (const TiendaCase& row : rows) {
        SCOPED_TRACE(row.name);
        SolicitudListado s;
        s.MarcarTiendas(tiendas(), row.items);
        EXPECT_EQ(s.CondicionTienda(row.column), QString::fromUtf8(row.condition));
        EXPECT_EQ(s.TiendasSeleccionadas(), row.ids);
        EXPECT_EQ(s.filtro, QString::fromUtf8(row.filtro));
        EXPECT_EQ(s.todasLasTiendas, row.items.contains(0));
    }
}

TEST(ConditionText, UserLimitedToHisStoreAlwaysGetsIt)
{
    const TiendasListado propia = TiendasListado::Propia(3, QStringLiteral("Lumetra Sabadell"));
    SolicitudListado s;
    s.MarcarTiendas(propia, {0});
    // Item 0 is his store, not "all stores".
    EXPECT_FALSE(s.todasLasTiendas);
    EXPECT_EQ(s.CondicionTienda(S::TiendaCobro), QStringLiteral(" (CO.ID_TIENDA = 3) "));
    EXPECT_EQ(s.TiendasSeleccionadas(), QStringList{QStringLiteral("3")});
    EXPECT_EQ(s.filtro, QStringLiteral("Lumetra Sabadell"));
    EXPECT_EQ(s.ErrorTiendas(), QString());
    s.MarcarTiendas(propia, {});
    EXPECT_EQ(s.filtro, QString());
    EXPECT_EQ(s.ErrorTiendas(), QStringLiteral("Debe seleccionar al menos una Tienda"));
}

struct ValidacionCase {
    const char* name;
    int op;
    DateTime desde;
    DateTime hasta;
    const char* fechas;
};

TEST(ConditionText, ValidationMessages)
{
    const DateTime dia = DateTime::fromYmd(2013, 6, 15);
    const DateTime anterior = DateTime::fromYmd(2013, 6, 14);
    const ValidacionCase rows[] = {
        {"igual_con_fecha", TCondiciones::Igual, dia, DateTime::zero(), ""},
        {"igual_sin_fecha", TCondiciones::Igual, DateTime::zero(), dia, "La Fecha No Puede ser Vacia"},
        {"menor_sin_fecha", TCondiciones::Menor, DateTime::zero(), dia, "La Fecha No Puede ser Vacia"},
        {"entre_mismo_dia", TCondiciones::Entre, dia, dia, ""},
        {"entre_final_anterior", TCondiciones::Entre, dia, anterior, "La Fecha Final no puede ser menor que la Inicial"},
        {"entre_sin_final", TCondiciones::Entre, dia, DateTime::zero(), "La Fecha No Puede ser Vacia"},
        {"todos_acepta_cualquier_fecha", TCondiciones::Todos, DateTime::zero(), anterior, ""},
    };
    for (const ValidacionCase& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fechas(row.op, row.desde, row.hasta).ErrorFechas(), QString::fromUtf8(row.fechas));
    }

    SolicitudListado s;
    EXPECT_EQ(s.ErrorTiendas(), QStringLiteral("Debe seleccionar al menos una Tienda"));
    EXPECT_EQ(s.ErrorIva(), QStringLiteral("Debe seleccionar una forma de calcular el Tipo de I.V.A"));
    s.MarcarTiendas(tiendas(), {0});
    s.calculoIva = S::IvaCobro;
    EXPECT_EQ(s.ErrorTiendas(), QString());
    EXPECT_EQ(s.ErrorIva(), QString());
}

} // namespace
} // namespace lumetra
