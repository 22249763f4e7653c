// The query texts of every listing: exact as functions of the request, runnable on a real
// database, and loaded by the window's builders.
#include "conditions/ConditionsFixture.h"
#include "conditions/Requests.h"

#include "cashsheet/dmHojaCaja.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace lumetra::test {
namespace {

using S = SolicitudListado;

const QString kCaja = QStringLiteral(
    "Select CA.ID_CAJA, CAST(CA.FECHA AS DATE) FECHA, CA.TIPO, CA.DESCRIPCION, CA.IMPORTE_M1, FP.CODIGO, FP.TIPO FP_TIPO, "
    "FP.TIPO_PAGO from CAJA CA LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CA.ID_FORMA_PAGO ");
const QString kCobros = QStringLiteral(
    "Select CO.ID_MVENTa, CAST(CO.FECHA AS DATE) FECHA_COBRO, CO.IMPORTE_M1, FP.DESCRIPCION DESC_FPAGO, FP.CODIGO COD_FPAGO, "
    "FP.TIPO_PAGO TIPO_PAGO, AG.CODIGO COD_AGENTE, CAST(MV.FECHA AS DATE) FECHA_VENTA, MV.TIPO_OPERACION, "
    "CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_PACIENTE, MV.LIQUIDO_M1 LIQUIDO_MVENTA, "
    "MV.PORCENTAJE_DESCUENTO, MV.FS_ENCARGO, MV.FS_COBRO, MV.FS_SERIE From COBRO CO LEFT JOIN FORMA_PAGO FP On "
    "FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO LEFT JOIN AGENTE AG On AG.ID_AGENTE = CO.ID_AGENTE INNER JOIN MVENTA MV On "
    "MV.ID_MVENTA = CO.ID_MVENTA ");
const QString kLineas = QStringLiteral(
    "SELECT DV.ID_MVENTA, DV.REFERENCIA, DV.DESCRIPCION, DV.PORCENTAJE_DESCUENTO, DV.LIQUIDO_M1, DV.BI_BASE_M1, DV.BI_IVA_M1, "
    "DV.IVA, GR.CODIGO GR_CODIGO, AG.CODIGO AG_CODIGO1, AG1.CODIGO AG_CODIGO2, AG2.CODIGO AG_CODIGO3 from DVENTA DV LEFT JOIN "
    "GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO LEFT JOIN AGENTE AG On AG.ID_AGENTE = DV.ID_AGENTE_1 LEFT JOIN AGENTE AG1 On "
    "AG1.ID_AGENTE = DV.ID_AGENTE_2 LEFT JOIN AGENTE AG2 On AG2.ID_AGENTE = DV.ID_AGENTE_3 where DV.ID_MVENTA = :ID_MVENTA");
const QString kEncargos = QStringLiteral(
    "Select MV.ID_MVENTA, MV.TIPO_OPERACION, MV.N_TALON, MV.LIQUIDO_M1, CAST(MV.FECHA AS DATE) FECHA from MVENTA MV "
    "Where MV.TIPO_OPERACION != 0 ");
const QString kReferencias = QStringLiteral("Select DV.REFERENCIA from DVENTA DV WHERE ID_MVENTA = :ID_MVENTA ");
const QString kTarjetas = QStringLiteral(
    "Select CO.ID_COBRO ID, MV.N_TALON, MV.TIPO_OPERACION, CO.IMPORTE_M1, CO.ID_FORMA_PAGO, CAST(CO.FECHA AS DATE) "
    "FECHA, FP.TIPO_PAGO, FP.DESCRIPCION, CO.TICKET from COBRO CO INNER JOIN MVENTA MV On (MV.ID_MVENTA = CO.ID_MVENTA AND "
    "MV.TIPO_OPERACION != 3)  INNER JOIN FORMA_PAGO FP On (FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO And FP.TIPO_PAGO = 2)");
const QString kOrdenTarjetas = QStringLiteral(" Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA");
const QString kGrupos = QStringLiteral(
    "Select MV.ID_MVENTA, MV.N_TALON, CAST(MV.FECHA AS DATE) FECHA, MV.TIPO_OPERACION, MV.ID_PACIENTE, DV.REFERENCIA, "
    "DV.DESCRIPCION, (COALESCE(DV.BI_BASE_M1, 0) + COALESCE(DV.BI_IVA_M1, 0)) IMPORTE, DV.PRECIO_UNITARIO_M1, DV.UNIDADES, GR.CODIGO from MVENTA MV "
    "INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ) INNER JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO "
    "Where MV.TIPO_OPERACION != 3 AND GR.ID_GRUPO <> 0 ");
const QString kResumen = QStringLiteral(
    "Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA from MVENTA MV INNER JOIN DVENTA DV ON "
    "(DV.ID_MVENTA = MV.ID_MVENTA ");
const QString kFiltroEncargo = QStringLiteral(") Where MV.TIPO_OPERACION != 3");
const QString kFiltroCobro = QStringLiteral(") Where MV.TIPO_OPERACION IN (0, 1, 2) AND MV.FECHA_PAGADO < '2079-05-30' ");
const QString kLineasEncargo = QStringLiteral(
    "Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, MV.FS_ENCARGO FAC_SIMPLE, "
    "MV.FS_SERIE , CAST(MV.FECHA AS DATE) FECHA From MVENTA MV INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ");
const QString kLineasCobro = QStringLiteral(
    "Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, MV.FS_COBRO FAC_SIMPLE, "
    "MV.FS_SERIE , CAST(MV.FECHA_PAGADO AS DATE) FECHA From MVENTA MV INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ");
const QString kVentasCaja = QStringLiteral(
    "Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_FORMA_PAGO, MV.TIPO_OPERACION, "
    "MV.ID_TIENDA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE, MV.ID_FORMA_PAGO From MVENTA MV where MV.TIPO_OPERACION IN (0, 1, 2) "
    "AND MV.FECHA_PAGADO < '2079-05-30'");
const QString kCobrosCaja = QStringLiteral(
    "Select CO.ID_MVENTA, CO.IMPORTE_M1, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO, CO.TICKET from COBRO CO");

// Every text a request gives, by name.
enum class Texto {
    Caja, Cobros, Encargos, Tarjetas, Grupos, ResumenCobro, DiarioCobro, ResumenEncargo, DiarioEncargo, VentasCaja, CobrosCaja
};
const std::function<QString(const S&)> kTextos[] = {
    &S::SQLCaja, &S::SQLCobros, &S::SQLEncargosDia, &S::SQLTarjetas, &S::SQLGrupos,
    [](const S& s) { return s.SQLResumenDiario(S::IvaCobro); }, [](const S& s) { return s.SQLDiario(S::IvaCobro); },
    [](const S& s) { return s.SQLResumenDiario(S::IvaEncargo); }, [](const S& s) { return s.SQLDiario(S::IvaEncargo); },
    &S::SQLVentasDiarioCaja, &S::SQLCobrosDiarioCaja};

QString texto(const SolicitudListado& s, Texto t)
{
    return kTextos[int(t)](s);
}

const QString kIgual = QStringLiteral("CAST(%1 AS DATE) = '06/15/2013' ");

TEST(QueryText, TextsAreExact)
{
    const std::tuple<const char*, Texto, int, QList<int>, int, QString> rows[] = {
        {"caja_dia_y_tienda", Texto::Caja, TCondiciones::Igual, {1}, 0,
         kCaja + " where " + kIgual.arg("CA.FECHA") + " And  (CA.ID_TIENDA = 2)  Order By CA.FECHA "},
        {"caja_todos_una_tienda", Texto::Caja, TCondiciones::Todos, {1}, 0, kCaja + " where  (CA.ID_TIENDA = 2)  Order By CA.FECHA "},
        {"caja_todos_todas", Texto::Caja, TCondiciones::Todos, {0}, 0, kCaja + " Order By CA.FECHA "},
        {"cobros_dia_y_tienda", Texto::Cobros, TCondiciones::Igual, {1}, 0,
         kCobros + " where " + kIgual.arg("CO.FECHA") + " And  (CO.ID_TIENDA = 2)  Order BY CAST(CO.FECHA AS DATE), CO.ID_MVENTA, CO.FECHA "},
        {"cobros_todos_una_tienda", Texto::Cobros, TCondiciones::Todos, {1}, 0,
         kCobros + " Where  (CO.ID_TIENDA = 2)  Order BY CAST(CO.FECHA AS DATE), CO.ID_MVENTA, CO.FECHA "},
        {"encargos_dia_y_tienda", Texto::Encargos, TCondiciones::Igual, {1}, 0,
         kEncargos + " And " + kIgual.arg("MV.FECHA") + " And  (MV.ID_TIENDA = 2)  Order By MV.FECHA"},
        {"encargos_entre_dos_tiendas", Texto::Encargos, TCondiciones::Entre, {1, 3}, 0,
         kEncargos + " And CAST(MV.FECHA AS DATE) BETWEEN ' 06/15/2013'  AND '07/20/2013' And  (MV.ID_TIENDA = 2 Or "
                     "MV.ID_TIENDA = 1)  Order By MV.FECHA"},
        {"encargos_todos_todas", Texto::Encargos, TCondiciones::Todos, {0}, 0, kEncargos + " Order By MV.FECHA"},
        {"tarjetas_todos_una_tienda_sin_parentesis", Texto::Tarjetas, TCondiciones::Todos, {1}, 0,
         kTarjetas + " WHERE  (CO.ID_TIENDA = 2) " + kOrdenTarjetas},
        {"tarjetas_dia_y_tienda", Texto::Tarjetas, TCondiciones::Igual, {1}, 0,
         kTarjetas + " Where " + kIgual.arg("CO.FECHA") + " AND ( (CO.ID_TIENDA = 2) )" + kOrdenTarjetas},
        {"tarjetas_todos_todas", Texto::Tarjetas, TCondiciones::Todos, {0}, 0, kTarjetas + kOrdenTarjetas},
        {"grupos_dia_y_tienda", Texto::Grupos, TCondiciones::Igual, {1}, 0,
         kGrupos + " And " + kIgual.arg("MV.FECHA") + " And  (MV.ID_TIENDA = 2)  Order By MV.FECHA, N_TALON, MV.ID_MVENTA, 11"},
        {"grupos_todos_todas", Texto::Grupos, TCondiciones::Todos, {0}, 0, kGrupos + " Order By MV.FECHA, N_TALON, MV.ID_MVENTA, 11"},
        {"resumen_encargo", Texto::ResumenEncargo, TCondiciones::Igual, {1}, 1,
         kResumen + kFiltroEncargo + " AND  (MV.ID_TIENDA = 2)  AND " + kIgual.arg("MV.FECHA")},
        {"diario_encargo_resumido_agrupa_por_tipo", Texto::DiarioEncargo, TCondiciones::Igual, {1}, 0,
         kResumen + kFiltroEncargo + " AND  (MV.ID_TIENDA = 2)  AND " + kIgual.arg("MV.FECHA") + " GROUP BY DV.IVA Order BY IVA"},
        {"diario_encargo_detallado", Texto::DiarioEncargo, TCondiciones::Igual, {0}, 1,
         kLineasEncargo + kFiltroEncargo + " AND " + kIgual.arg("MV.FECHA") + " ORDER BY MV.FECHA, MV.FS_ENCARGO, MV.ID_MVENTA "},
        {"diario_encargo_dias_en_hoja", Texto::DiarioEncargo, TCondiciones::Todos, {0}, 2,
         kLineasEncargo + kFiltroEncargo + " ORDER BY MV.FECHA, MV.FS_ENCARGO, MV.ID_MVENTA "},
        {"diario_encargo_por_dias_por_fecha_y_tipo", Texto::DiarioEncargo, TCondiciones::Todos, {0}, 3,
         kLineasEncargo + kFiltroEncargo + " ORDER BY CAST(MV.FECHA AS DATE), DV.IVA"},
        {"resumen_cobro_todos_todas", Texto::ResumenCobro, TCondiciones::Todos, {0}, 0, kResumen + kFiltroCobro},
        {"diario_cobro_resumido", Texto::DiarioCobro, TCondiciones::Entre, {0}, 0,
         kResumen + kFiltroCobro + " AND CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"
             + " GROUP BY DV.IVA Order BY IVA"},
        {"diario_cobro_detallado", Texto::DiarioCobro, TCondiciones::Igual, {1}, 1,
         kLineasCobro + kFiltroCobro + " AND  (MV.ID_TIENDA = 2)  AND " + kIgual.arg("MV.FECHA_PAGADO")
             + " ORDER BY MV.FECHA_PAGADO, MV.FS_COBRO, MV.ID_MVENTA"},
        {"diario_cobro_por_dias", Texto::DiarioCobro, TCondiciones::Igual, {0}, 3,
         kLineasCobro + kFiltroCobro + " AND " + kIgual.arg("MV.FECHA_PAGADO") + " ORDER BY CAST(MV.FECHA_PAGADO AS DATE), DV.IVA"},
        {"ventas_caja_dia", Texto::VentasCaja, TCondiciones::Igual, {1}, 0, kVentasCaja + " AND " + kIgual.arg("MV.FECHA_PAGADO")},
        {"ventas_caja_todos_sin_and", Texto::VentasCaja, TCondiciones::Todos, {1}, 0, kVentasCaja},
        {"cobros_caja_dia_y_tienda", Texto::CobrosCaja, TCondiciones::Igual, {1}, 0,
         kCobrosCaja + " where " + kIgual.arg("CO.FECHA") + " AND  (CO.ID_TIENDA = 2) "},
        {"cobros_caja_todos_una_tienda", Texto::CobrosCaja, TCondiciones::Todos, {1}, 0, kCobrosCaja + " where  (CO.ID_TIENDA = 2) "},
        {"cobros_caja_todos_todas_sin_where", Texto::CobrosCaja, TCondiciones::Todos, {0}, 0, kCobrosCaja},
    };
    for (const auto& [name, cual, op, stores, tipo, expected] : rows) {
        SCOPED_TRACE(name);
        SolicitudListado s = solicitud(S::ListadoHojaCaja, op, stores);
        s.tipoDiario = tipo;
        EXPECT_EQ(texto(s, cual), expected);
    }
    EXPECT_EQ(S::SQLLineasCobro(), kLineas);
    EXPECT_EQ(S::SQLReferenciasEncargo(), kReferencias);
    EXPECT_THROW(solicitud(S::ListadoDiario, TCondiciones::Igual, {0}).SQLDiario(S::IvaCaja), std::invalid_argument);
}

using QueryTextTest = ConditionsFixture;

// Every operator with every kind of store selection and every journal layout, through every
// text: each opens on the database. (The journal's rate totals run as the summary layout's
// query, with its GROUP BY.)
TEST_F(QueryTextTest, EveryGeneratedTextRunsOnTheDatabase)
{
    const int ops[] = {TCondiciones::Igual, TCondiciones::Distinto, TCondiciones::Mayor,
                       TCondiciones::Menor, TCondiciones::Entre,    TCondiciones::Todos};
    const QList<QList<int>> selections = {{0}, {1}, {1, 2}, {2, 3}, {4, 5}};
    for (int op : ops) {
        for (const QList<int>& stores : selections) {
            for (int tipo = 0; tipo < 4; ++tipo) {
                SolicitudListado s = solicitud(S::ListadoDiario, op, stores);
                s.tipoDiario = tipo;
                for (int t = 0; t < int(std::size(kTextos)); ++t) {
                    if (Texto(t) == Texto::ResumenCobro || Texto(t) == Texto::ResumenEncargo)
                        continue;
                    const QString sql = texto(s, Texto(t));
                    EXPECT_NO_THROW(run(sql)) << sql.toStdString();
                }
            }
        }
    }
    for (const QString& detalle : {S::SQLLineasCobro(), S::SQLReferenciasEncargo(), S::SQLLineasDiarioCaja(),
                                   S::SQLCobrosVentaDiarioCaja(), S::SQLVentaCobroDiarioCaja()})
        EXPECT_NO_THROW(run(detalle)) << detalle.toStdString();
}

// The rows each text selects are the ones its conditions ask for.
TEST_F(QueryTextTest, TextsSelectWhatTheConditionsAskFor)
{
    const std::tuple<const char*, Texto, int, QList<int>, int, int, int, int, int> rows[] = {
        {"caja_dia_de_sabadell", Texto::Caja, TCondiciones::Igual, {2}, 15, 6, 0, 0, 0},
        // The order-date range with its space after the quote still selects the range.
        {"encargos_desde_el_dia", Texto::Encargos, TCondiciones::Entre, {0}, 15, 6, 1, 7, 1},
        {"encargos_desde_el_dia_siguiente", Texto::Encargos, TCondiciones::Entre, {0}, 16, 6, 1, 7, 0},
        {"grupos_antes_de_julio", Texto::Grupos, TCondiciones::Menor, {0}, 1, 7, 0, 0, 2},
        {"ventas_caja_del_dia_todas_las_tiendas", Texto::VentasCaja, TCondiciones::Igual, {2}, 15, 6, 0, 0, 1},
        // Two stores and a date: the stores' "Or" stays inside the date's "AND".
        {"cobros_caja_del_dia_dos_tiendas", Texto::CobrosCaja, TCondiciones::Igual, {1, 2}, 15, 6, 0, 0, 2},
    };
    for (const auto& [name, cual, op, stores, fromDay, fromMonth, toDay, toMonth, filas] : rows) {
        SCOPED_TRACE(name);
        const SolicitudListado s = solicitud(S::ListadoHojaCaja, op, stores, fromDay, fromMonth,
                                             toDay ? toDay : 20, toMonth ? toMonth : 7);
        EXPECT_EQ(run(texto(s, cual)), filas) << texto(s, cual).toStdString();
    }
}

// A cash sheet that finds nothing or fails stays so with the reports ticked: the card and group
// queries would load fine, and their status must not replace it.
TEST_F(QueryTextTest, EmptyOrFailedCashSheetStaysSoWithReportsTicked)
{
    const QStringList noExisten{QStringLiteral("ERROR: No existen operaciones en las fechas seleccionadas")};
    // 2 January has no operations; on 15 June, unless cancelled, the cash-box query fails on the database.
    const std::tuple<const char*, int, int, bool, bool, int, int, QStringList> rows[] = {
        {"dia_vacio", 2, 1, false, false, -5, 0, noExisten},
        {"dia_vacio_con_informes", 2, 1, true, false, -5, 0, noExisten},
        {"error_de_base_de_datos", 15, 6, true, false, -1, 1, {}},
        {"cancelado", 15, 6, true, true, -1, 0, {}},
    };
    for (const auto& [name, fromDay, fromMonth, informes, cancel, result, dialogs, messages] : rows) {
        SCOPED_TRACE(name);
        TearDown();
        SetUp();
        if (cancel) {
            interaction->onProcessEvents = [this] {
                if (w && w->DmHojaCaja() && w->DmHojaCaja()->Porcentaje())
                    w->DmHojaCaja()->Porcentaje()->btnCancelarClick();
            };
        } else if (result == -1) {
            exec({"alter table CAJA drop DESCRIPCION"});
        }
        open();
        SolicitudListado s = solicitud(S::ListadoHojaCaja, TCondiciones::Igual, {0}, fromDay, fromMonth);
        s.informeTarjetas = s.informeGrupos = informes;
        EXPECT_EQ(w->GenerarSQLHojaCaja(s), result);
        EXPECT_EQ(w->Resultado(), result);
        if (result == -1) {
            EXPECT_TRUE(w->SQLPrincipal.startsWith(kCaja)) << w->SQLPrincipal.toStdString();
        }
        EXPECT_EQ(interaction->dialogs.size(), dialogs) << interaction->dialogs.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(interaction->messages, messages);
        EXPECT_EQ(w->DmHojaCaja()->Porcentaje(), nullptr);
    }
}

} // namespace
} // namespace lumetra::test
