// The date and store conditions of the listing window, as texts.
#include "conditions/ConditionsFixture.h"

#include "platform/format/DateTexts.h"
#include "platform/format/FormatSettings.h"
#include "platform/ui/CheckComboBox.h"
#include "platform/ui/DateEdit.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

using ConditionTextTest = ConditionsFixture;

struct FechaCase {
    const char* name;
    qint16 kind;
    const char* op;
    const char* condition;
};

// Start 15/06/2013, end 20/07/2013.
const FechaCase kFechas[] = {
    {"caja_igual", 0, "Igual a...", "CAST(CA.FECHA AS DATE) = '06/15/2013' "},
    {"caja_distinto_dos_espacios", 0, "Distinto de...", "CAST(CA.FECHA AS DATE)  != '06/15/2013' "},
    {"caja_mayor_dos_espacios", 0, "Mayor que...", "CAST(CA.FECHA AS DATE)  > '06/15/2013' "},
    {"caja_menor_dos_espacios", 0, "Menor que...", "CAST(CA.FECHA AS DATE)  < '06/15/2013' "},
    {"caja_entre", 0, "...Entre...", "CAST(CA.FECHA AS DATE)  BETWEEN '06/15/2013'  AND '07/20/2013'"},
    {"caja_todos_sin_condicion", 0, "Todos/as", ""},
    {"cobro_igual", 1, "Igual a...", "CAST(CO.FECHA AS DATE) = '06/15/2013' "},
    {"cobro_distinto", 1, "Distinto de...", "CAST(CO.FECHA AS DATE) != '06/15/2013' "},
    {"cobro_mayor", 1, "Mayor que...", "CAST(CO.FECHA AS DATE) > '06/15/2013' "},
    {"cobro_menor", 1, "Menor que...", "CAST(CO.FECHA AS DATE) < '06/15/2013' "},
    {"cobro_entre", 1, "...Entre...", "CAST(CO.FECHA AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"},
    {"cobro_todos_sin_condicion", 1, "Todos/as", ""},
    {"venta_igual", 2, "Igual a...", "CAST(MV.FECHA AS DATE) = '06/15/2013' "},
    {"venta_distinto", 2, "Distinto de...", "CAST(MV.FECHA AS DATE) != '06/15/2013' "},
    {"venta_mayor", 2, "Mayor que...", "CAST(MV.FECHA AS DATE) > '06/15/2013' "},
    {"venta_menor", 2, "Menor que...", "CAST(MV.FECHA AS DATE) < '06/15/2013' "},
    {"venta_entre_espacio_tras_comilla", 2, "...Entre...", "CAST(MV.FECHA AS DATE) BETWEEN ' 06/15/2013'  AND '07/20/2013'"},
    {"venta_todos_sin_condicion", 2, "Todos/as", ""},
    {"pagado_igual", 6, "Igual a...", "CAST(MV.FECHA_PAGADO AS DATE) = '06/15/2013' "},
    {"pagado_distinto", 6, "Distinto de...", "CAST(MV.FECHA_PAGADO AS DATE) != '06/15/2013' "},
    {"pagado_mayor", 6, "Mayor que...", "CAST(MV.FECHA_PAGADO AS DATE) > '06/15/2013' "},
    {"pagado_menor", 6, "Menor que...", "CAST(MV.FECHA_PAGADO AS DATE) < '06/15/2013' "},
    {"pagado_entre", 6, "...Entre...", "CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"},
    {"pagado_todos_sin_condicion", 6, "Todos/as", ""},
};

struct TextoCase {
    const char* op;
    const char* textoFechas;   // null: left as it was
    const char* textoPie;
};

const TextoCase kTextos[] = {
    {"Igual a...", " Igual a 15/06/2013", "15/06/2013"},
    {"Distinto de...", " Distinto a 15/06/2013", ""},
    {"Mayor que...", " Mayor 15/06/2013", ""},
    {"Menor que...", " Menor que 15/06/2013", "15/06/2013"},
    {"...Entre...", " Entre 15/06/2013 y 20/07/2013", "20/07/2013"},
    {"Todos/as", nullptr, nullptr},
};

TEST_F(ConditionTextTest, DateConditionForEveryOperatorAndColumn)
{
    open();
    for (const FechaCase& row : kFechas) {
        SCOPED_TRACE(row.name);
        hoja(QString::fromUtf8(row.op), {0});
        w->TextoFechas = QStringLiteral("texto anterior");
        w->TextoFechaPie = QStringLiteral("pie anterior");
        const QString condition = w->CondicionFecha(row.kind, w->cbxFechaCaja, w->edtFechaInicioCaja, w->edtFechaFinCaja);
        EXPECT_EQ(condition, QString::fromUtf8(row.condition));
        EXPECT_EQ(w->CondicionFechas, condition);
        for (const TextoCase& texto : kTextos) {
            if (qstrcmp(texto.op, row.op) != 0)
                continue;
            EXPECT_EQ(w->TextoFechas, texto.textoFechas ? QString::fromUtf8(texto.textoFechas) : QStringLiteral("texto anterior"));
            EXPECT_EQ(w->TextoFechaPie, texto.textoPie ? QString::fromUtf8(texto.textoPie) : QStringLiteral("pie anterior"));
        }
    }
    EXPECT_EQ(interaction->dialogs, QStringList());
}

// The literal in the SQL is month first whatever the display; the readable texts follow the display.
TEST_F(ConditionTextTest, SqlLiteralIgnoresTheDisplayedDateFormat)
{
    open();
    const FormatSettings saved = FormatSettings::current();
    FormatSettings iso = saved;
    iso.shortDateFormat = QStringLiteral("yyyy-mm-dd");
    FormatSettings::setCurrent(iso);
    hoja(QStringLiteral("...Entre..."), {0});
    const QString entre = w->CondicionFecha(1, w->cbxFechaCaja, w->edtFechaInicioCaja, w->edtFechaFinCaja);
    const QString textoEntre = w->TextoFechas;
    hoja(QStringLiteral("Igual a..."), {0});
    w->GenerarSQLHojaCajaCaja();
    const QString caja = w->SQLPrincipal;
    w->GenerarSQLHojaCajaVentasEncargos();
    const QString cobros = w->SQLPrincipal;
    w->GenerarSQLHojaCajaEncargosDia();
    const QString encargos = w->SQLPrincipal;
    FormatSettings::setCurrent(saved);

    EXPECT_EQ(entre, QStringLiteral("CAST(CO.FECHA AS DATE) BETWEEN '06/15/2013'  AND '07/20/2013'"));
    EXPECT_EQ(textoEntre, QStringLiteral(" Entre 2013-06-15 y 2013-07-20"));
    EXPECT_EQ(w->TextoFechas, QStringLiteral(" Igual a 2013-06-15"));
    EXPECT_TRUE(caja.contains(QLatin1String("CAST(CA.FECHA AS DATE) = '06/15/2013' "))) << caja.toStdString();
    EXPECT_TRUE(cobros.contains(QLatin1String("CAST(CO.FECHA AS DATE) = '06/15/2013' "))) << cobros.toStdString();
    EXPECT_TRUE(encargos.contains(QLatin1String("CAST(MV.FECHA AS DATE) = '06/15/2013' "))) << encargos.toStdString();
}

struct TiendaCase {
    const char* name;
    qint16 kind;
    QList<int> items;
    const char* condition;
    QStringList ids;
};

TEST_F(ConditionTextTest, StoreConditionFollowsTheTickedItems)
{
    open();
    const TiendaCase rows[] = {
        {"una_tienda", 0, {2}, " (CA.ID_TIENDA = 3) ", {"3"}},
        {"dos_en_orden_de_lista", 1, {1, 3}, " (CO.ID_TIENDA = 2 Or CO.ID_TIENDA = 1) ", {"2", "1"}},
        {"todas_vacia_la_lista", 2, {0}, "", {}},
        {"todas_aunque_haya_otras_marcadas", 2, {0, 2}, "", {}},
        {"misma_descripcion_primera", 2, {4}, " (MV.ID_TIENDA = 4) ", {"4"}},
        {"misma_descripcion_segunda", 2, {5}, " (MV.ID_TIENDA = 5) ", {"5"}},
        {"misma_descripcion_ambas", 1, {4, 5}, " (CO.ID_TIENDA = 4 Or CO.ID_TIENDA = 5) ", {"4", "5"}},
    };
    for (const TiendaCase& row : rows) {
        SCOPED_TRACE(row.name);
        tick(w->cbxTiendaCaja, row.items);
        EXPECT_EQ(w->CondicionTienda(row.kind, w->cbxTiendaCaja), QString::fromUtf8(row.condition));
        EXPECT_EQ(w->CondicionTiendas, QString::fromUtf8(row.condition));
        EXPECT_EQ(w->TiendasSeleccionadas(), row.ids);
    }
}

TEST_F(ConditionTextTest, UserLimitedToHisStoreAlwaysGetsIt)
{
    exec({"insert into USUARIO (ID_USUARIO, NOMBRE_USUARIO, ID_TIENDA, SOLO_TIENDA_PROPIA) values (2, 'Dependiente', 3, 1)"});
    open(2, 3);
    ASSERT_EQ(w->cbxTiendaCaja->count(), 1);
    EXPECT_EQ(w->cbxTiendaCaja->itemText(0), QStringLiteral("Lumetra Sabadell"));
    EXPECT_TRUE(w->cbxTiendaCaja->isChecked(0));
    EXPECT_EQ(w->CondicionTienda(1, w->cbxTiendaCaja), QStringLiteral(" (CO.ID_TIENDA = 3) "));
    EXPECT_EQ(w->TiendasSeleccionadas(), QStringList{QStringLiteral("3")});
}

} // namespace
} // namespace lumetra::test
