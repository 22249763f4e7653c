// The query texts of the cash sheet and of the card and group reports: exact, runnable, and the
// result of the cash-sheet build.
#include "conditions/ConditionsFixture.h"

#include "cashsheet/dmHojaCaja.h"
#include "platform/ui/CheckComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

using QueryTextTest = ConditionsFixture;

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
    "Select DISTINCT(CO.ID_COBRO) ID, MV.N_TALON, MV.TIPO_OPERACION, CO.IMPORTE_M1, CO.ID_FORMA_PAGO, CAST(CO.FECHA AS DATE) "
    "FECHA, FP.TIPO_PAGO, FP.DESCRIPCION from COBRO CO INNER JOIN MVENTA MV On (MV.ID_MVENTA = CO.ID_MVENTA AND "
    "MV.TIPO_OPERACION != 3)  INNER JOIN FORMA_PAGO FP On (FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO And FP.TIPO_PAGO = 2)");
const QString kGrupos = QStringLiteral(
    "Select MV.ID_MVENTA, MV.N_TALON, CAST(MV.FECHA AS DATE) FECHA, MV.TIPO_OPERACION, MV.ID_PACIENTE, DV.REFERENCIA, "
    "DV.DESCRIPCION, (DV.BI_BASE_M1 + DV.BI_IVA_M1) IMPORTE, DV.PRECIO_UNITARIO_M1, DV.UNIDADES, GR.CODIGO from MVENTA MV "
    "INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ) INNER JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO "
    "Where MV.TIPO_OPERACION != 3 ");

enum class Builder { Caja, Cobros, Encargos, Tarjetas, Grupos };

int build(TfrmHojaCaja* w, Builder b)
{
    switch (b) {
    case Builder::Caja: return w->GenerarSQLHojaCajaCaja();
    case Builder::Cobros: return w->GenerarSQLHojaCajaVentasEncargos();
    case Builder::Encargos: return w->GenerarSQLHojaCajaEncargosDia();
    case Builder::Tarjetas: return w->GenerarSQLTarjetas(w->cbxFechaCaja, w->edtFechaInicioCaja, w->edtFechaFinCaja, w->cbxTiendaCaja);
    case Builder::Grupos: return w->GenerarSQLGrupos(w->cbxFechaCaja, w->edtFechaInicioCaja, w->edtFechaFinCaja, w->cbxTiendaCaja);
    }
    return -1;
}

struct TextCase {
    const char* name;
    Builder builder;
    const char* op;
    QList<int> stores;
    QString principal;
    QString detalle;   // null: the builder leaves it alone
};

TEST_F(QueryTextTest, TextsAreExactAndRun)
{
    open();
    const QString igual = QStringLiteral("CAST(%1 AS DATE) = '06/15/2013' ");
    const TextCase rows[] = {
        {"caja_dia_y_tienda", Builder::Caja, "Igual a...", {1},
         kCaja + " where " + igual.arg("CA.FECHA") + " And  (CA.ID_TIENDA = 2)  Order By CA.FECHA ", {}},
        {"caja_todos_una_tienda", Builder::Caja, "Todos/as", {1}, kCaja + " where  (CA.ID_TIENDA = 2)  Order By CA.FECHA ", {}},
        {"caja_todos_todas", Builder::Caja, "Todos/as", {0}, kCaja + " Order By CA.FECHA ", {}},
        {"cobros_dia_y_tienda", Builder::Cobros, "Igual a...", {1},
         kCobros + " where " + igual.arg("CO.FECHA") + " And  (CO.ID_TIENDA = 2)  Order BY CO.ID_MVENTA ", kLineas},
        {"cobros_todos_una_tienda", Builder::Cobros, "Todos/as", {1},
         kCobros + " Where  (CO.ID_TIENDA = 2)  Order BY CO.ID_MVENTA ", kLineas},
        {"encargos_dia_y_tienda", Builder::Encargos, "Igual a...", {1},
         kEncargos + " And " + igual.arg("MV.FECHA") + " And  (MV.ID_TIENDA = 2)  Order By MV.FECHA", kReferencias},
        {"encargos_entre_dos_tiendas", Builder::Encargos, "...Entre...", {1, 3},
         kEncargos + " And CAST(MV.FECHA AS DATE) BETWEEN ' 06/15/2013'  AND '07/20/2013' And  (MV.ID_TIENDA = 2 Or "
                     "MV.ID_TIENDA = 1)  Order By MV.FECHA",
         kReferencias},
        {"encargos_todos_todas", Builder::Encargos, "Todos/as", {0}, kEncargos + " Order By MV.FECHA", kReferencias},
        {"tarjetas_todos_una_tienda", Builder::Tarjetas, "Todos/as", {1},
         kTarjetas + " WHERE  (CO.ID_TIENDA = 2)  Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA", {}},
        {"tarjetas_dia_y_tienda", Builder::Tarjetas, "Igual a...", {1},
         kTarjetas + " Where " + igual.arg("CO.FECHA") + " AND ( (CO.ID_TIENDA = 2) ) Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA", {}},
        {"tarjetas_todos_todas", Builder::Tarjetas, "Todos/as", {0}, kTarjetas + " Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA", {}},
        {"grupos_dia_y_tienda", Builder::Grupos, "Igual a...", {1},
         kGrupos + " And " + igual.arg("MV.FECHA") + " And  (MV.ID_TIENDA = 2)  Order By MV.FECHA, N_TALON, 11", {}},
        {"grupos_todos_todas", Builder::Grupos, "Todos/as", {0}, kGrupos + " Order By MV.FECHA, N_TALON, 11", {}},
    };
    for (const TextCase& row : rows) {
        SCOPED_TRACE(row.name);
        hoja(QString::fromUtf8(row.op), row.stores);
        w->SQLDetalle = QStringLiteral("sin detalle");
        EXPECT_EQ(build(w, row.builder), 0);
        EXPECT_EQ(w->SQLPrincipal, row.principal);
        EXPECT_EQ(w->SQLDetalle, row.detalle.isNull() ? QStringLiteral("sin detalle") : row.detalle);
        EXPECT_GT(run(w->SQLPrincipal), 0);
    }
    EXPECT_EQ(interaction->messages, QStringList());
    EXPECT_EQ(interaction->dialogs, QStringList());
}

// Every operator with every kind of store selection, through every builder: each text opens on
// the database and the rows it selects are the ones the conditions ask for.
TEST_F(QueryTextTest, EveryBuiltTextRunsOnTheDatabase)
{
    open();
    const char* const ops[] = {"Igual a...", "Distinto de...", "Mayor que...", "Menor que...", "...Entre...", "Todos/as"};
    const QList<QList<int>> selections = {{0}, {1}, {1, 2}, {2, 3}};
    for (const char* op : ops) {
        for (const QList<int>& stores : selections) {
            for (Builder b : {Builder::Caja, Builder::Cobros, Builder::Encargos, Builder::Tarjetas, Builder::Grupos}) {
                SCOPED_TRACE(QStringLiteral("%1 tiendas %2 constructor %3").arg(op).arg(stores.size()).arg(int(b)).toStdString());
                hoja(QString::fromUtf8(op), stores);
                const int r = build(w, b);
                EXPECT_TRUE(r == 0 || r == -5) << r;
                EXPECT_NO_THROW(run(w->SQLPrincipal)) << w->SQLPrincipal.toStdString();
                if (b == Builder::Cobros || b == Builder::Encargos) {
                    EXPECT_NO_THROW(run(w->SQLDetalle)) << w->SQLDetalle.toStdString();
                }
            }
        }
    }
    EXPECT_EQ(interaction->dialogs, QStringList());
    // The BETWEEN of the order date, with its space after the quote, still selects the range.
    hoja(QStringLiteral("...Entre..."), {0}, 15, 6, 1, 7);
    w->GenerarSQLHojaCajaEncargosDia();
    EXPECT_EQ(run(w->SQLPrincipal), 1);
    hoja(QStringLiteral("...Entre..."), {0}, 16, 6, 1, 7);
    w->GenerarSQLHojaCajaEncargosDia();
    EXPECT_EQ(run(w->SQLPrincipal), 0);
}

const QString kNoExisten = QStringLiteral("ERROR: No existen operaciones en las fechas seleccionadas");

TEST_F(QueryTextTest, EmptyDayShowsNothingToPrint)
{
    open();
    for (bool informes : {false, true}) {
        SCOPED_TRACE(informes ? "con_informes" : "sin_informes");
        interaction->messages.clear();
        hoja(QStringLiteral("Igual a..."), {0}, 2, 1);
        w->chxInformeTarjetas->setChecked(informes);
        w->chxInformeGrupos->setChecked(informes);
        EXPECT_EQ(w->GenerarSQLHojaCaja(), -5);
        EXPECT_EQ(w->Resultado(), -5);
        EXPECT_EQ(interaction->messages, QStringList{kNoExisten});
        EXPECT_EQ(w->DmHojaCaja()->Porcentaje(), nullptr);
    }
    EXPECT_EQ(interaction->dialogs, QStringList());
}

TEST_F(QueryTextTest, LoadedDayWithCardAndGroupReports)
{
    open();
    hoja(QStringLiteral("Igual a..."), {1});
    w->chxInformeTarjetas->setChecked(true);
    w->chxInformeGrupos->setChecked(true);
    EXPECT_EQ(w->GenerarSQLHojaCaja(), 0);
    EXPECT_FALSE(w->DmHojaCaja()->memHojaCaja.isEmpty());
    EXPECT_FALSE(w->DmHojaCaja()->dstTarjetas.isEmpty());
    EXPECT_EQ(w->DmHojaCaja()->memGrupos.recordCount(), 1);
    EXPECT_EQ(interaction->messages, QStringList());
    EXPECT_EQ(interaction->dialogs, QStringList());
}

struct FalloCase {
    const char* name;
    bool cancel;   // else the cash-box query fails on the database
    int dialogs;
};

// The card and group queries would load fine: their status must not replace the failure.
TEST_F(QueryTextTest, FailedCashSheetStaysFailedWithReportsTicked)
{
    const FalloCase rows[] = {{"error_de_base_de_datos", false, 1}, {"cancelado", true, 0}};
    for (const FalloCase& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        if (row.cancel) {
            interaction->onProcessEvents = [this] {
                if (w && w->DmHojaCaja() && w->DmHojaCaja()->Porcentaje())
                    w->DmHojaCaja()->Porcentaje()->btnCancelarClick();
            };
        } else {
            exec({"alter table CAJA drop DESCRIPCION"});
        }
        open();
        hoja(QStringLiteral("Igual a..."), {1});
        w->chxInformeTarjetas->setChecked(true);
        w->chxInformeGrupos->setChecked(true);
        const int r = w->GenerarSQLHojaCaja();
        EXPECT_EQ(r, -1);
        EXPECT_EQ(w->Resultado(), r);
        EXPECT_TRUE(w->SQLPrincipal.startsWith(kCaja)) << w->SQLPrincipal.toStdString();
        EXPECT_EQ(interaction->dialogs.size(), row.dialogs) << interaction->dialogs.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(interaction->messages, QStringList());
        EXPECT_EQ(w->DmHojaCaja()->Porcentaje(), nullptr);
    }
}

} // namespace
} // namespace lumetra::test
