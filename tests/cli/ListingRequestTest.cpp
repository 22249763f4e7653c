// The request the command line builds from the window's own request: options put in, left-out
// options kept, stores by position, and what the user may not change refused. No window and no
// database: the user, the shop and the store list are values.
#include "ListingRequest.h"

#include "hostapi/Condiciones.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "hostapi/Puesto.h"
#include "hostapi/Usuario.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

using S = SolicitudListado;

// A shop with sales groups; user 1 has every right. The stores by code: Gràcia (2), Centro (1),
// and two with the same description (4, 5).
class ListingRequestTest : public ::testing::Test {
protected:
    ListingRequestTest()
    {
        everyRight();
        puesto.IdTienda = 2;
        host.Usuario = &usuario;
        host.Configuracion = &configuracion;
        host.Puesto = &puesto;
        host.Condiciones = &condiciones;
    }

    void everyRight()
    {
        usuario = TUsuario{};
        usuario.PermiteTotalesDia = usuario.PermiteTotalesMes = 1;
        usuario.PermiteInformeGrupos = usuario.PermiteInformeTarjetas = 1;
        configuracion.UsaGrupos = 1;
    }

    // The window's request for a listing: its own store ticked, the working date, the rights'
    // defaults.
    SolicitudListado window(int listado) const
    {
        SolicitudListado s;
        s.listado = listado;
        s.operador = TCondiciones::Igual;
        s.desde = s.hasta = DateTime::fromYmd(2013, 5, 8);
        s.MarcarTiendas(stores(), {1});
        s.calculoIva = S::IvaCobro;
        s.totalesDia = usuario.PermiteTotalesDia != 0;
        s.totalesMes = usuario.PermiteTotalesMes != 0;
        return s;
    }

    const TiendasListado& stores() const { return usuario.SoloTiendaPropia != 0 ? propia : todas; }

    SolicitudListado build(const char* listado, const QStringList& more) const
    {
        const ListadosOptions o =
            ListadosOptions::parse(QStringList{"--db", "-", "--listado", listado, "--salida", "x.pdf"} + more);
        return ListingRequest::build(o, window(ListingRequest::listingCode(o.listado)), stores(), host);
    }

    TUsuario usuario;
    TConfiguracion configuracion;
    TPuesto puesto;
    TCondiciones condiciones;
    HostParams host;
    TiendasListado todas = TiendasListado::Todas({"2", "1", "4", "5"}, {"Gràcia", "Centro", "Duplicada", "Duplicada"});
    TiendasListado propia = TiendasListado::Propia(2, QStringLiteral("Gràcia"));
};

TEST_F(ListingRequestTest, OptionsGoIntoTheJournalRequest)
{
    const ListadosOptions o = ListadosOptions::parse(
        {"--db=srv/3051:tienda", "--usuario", "3", "--tienda=2", "--fecha-trabajo", "7/5/2013", "--listado", "diario",
         "--fecha", "entre", "--desde", "02/05/2013", "--hasta", "06/05/2013", "--tiendas", "1, 5,1", "--iva", "caja",
         "--tipo", "detallado", "--familia", "si", "--salida", "out/diario.xlsx"});
    // What the program takes for itself; the rest goes into the window's request.
    EXPECT_EQ(o.baseDatos, "srv/3051:tienda");
    EXPECT_EQ(o.usuario, 3);
    EXPECT_EQ(o.tienda, 2);
    EXPECT_EQ(o.fechaTrabajo, DateTime::fromYmd(2013, 5, 7));
    EXPECT_EQ(o.salida, "out/diario.xlsx");
    const SolicitudListado s = ListingRequest::build(o, window(S::ListadoDiario), stores(), host);
    EXPECT_EQ(s.listado, S::ListadoDiario);
    EXPECT_EQ(s.operador, TCondiciones::Entre);
    EXPECT_EQ(s.desde, DateTime::fromYmd(2013, 5, 2));
    EXPECT_EQ(s.hasta, DateTime::fromYmd(2013, 5, 6));
    // Store 1 does not come first by code: an identifier taken for a position would pick another.
    EXPECT_EQ(s.tiendas, (QList<int>{1, 5}));
    EXPECT_EQ(s.filtro, QStringLiteral("Centro;Duplicada"));
    EXPECT_EQ(s.calculoIva, S::IvaCaja);
    EXPECT_EQ(s.tipoDiario, 1);
    EXPECT_TRUE(s.familia);
    EXPECT_EQ(build("diario", {"--tipo", "dias-hoja"}).tipoDiario, 2);
}

TEST_F(ListingRequestTest, LeftOutOptionsKeepTheWindowsRequestAndMonthTotalsFollowDayTotals)
{
    EXPECT_EQ(build("hoja", {}), window(S::ListadoHojaCaja));
    EXPECT_EQ(build("grupos", {}), window(S::ListadoGrupos));

    EXPECT_FALSE(build("hoja", {"--totales-dia", "no"}).totalesMes);
    EXPECT_TRUE(build("hoja", {"--totales-dia", "no", "--totales-mes", "si"}).totalesMes);
    const SolicitudListado opciones =
        build("hoja", {"--informe-grupos", "si", "--informe-tarjetas", "si", "--detalle-encargos", "si", "--iva", "encargo"});
    EXPECT_TRUE(opciones.informeGrupos);
    EXPECT_TRUE(opciones.informeTarjetas);
    EXPECT_TRUE(opciones.detalleCaja);
    EXPECT_EQ(opciones.calculoIva, S::IvaEncargo);

    // A user without the monthly totals keeps them off whatever the day totals do.
    usuario.PermiteTotalesMes = 0;
    EXPECT_FALSE(build("hoja", {"--totales-dia", "si"}).totalesMes);
}

struct Case {
    const char* name;
    void (*rights)(TUsuario&, TConfiguracion&);
    const char* listado;
    QStringList arguments;
    const char* says = nullptr;   // nullptr: accepted, with these stores
    QList<int> ids = {};
    const char* filtro = "[Todas las Tiendas Seleccionadas]";
};

// Stores are taken by their position in the list, never by their description; what the user
// may not change is refused.
TEST_F(ListingRequestTest, StoresAndWhatTheUserMayNotChange)
{
    const auto clerk = [](TUsuario& u, TConfiguracion&) {
        u.SoloTiendaPropia = 1;
        u.PermiteTotalesMes = 0;
    };
    const auto locked = [](TUsuario& u, TConfiguracion&) { u.FechasBloqueadas = 1; };
    const auto noGroups = [](TUsuario&, TConfiguracion& c) { c.UsaGrupos = 0; };
    const auto all = [](TUsuario&, TConfiguracion&) {};
    const Case rows[] = {
        {"all_stores", all, "tarjetas", {"--tiendas", "todas"}},
        {"stores_in_list_order", all, "tarjetas", {"--tiendas", "1,2"}, nullptr, {2, 1}, "Gràcia;Centro"},
        {"same_description_second", all, "tarjetas", {"--tiendas", "5"}, nullptr, {5}, "Duplicada"},
        {"same_description_both", all, "tarjetas", {"--tiendas", "5,4"}, nullptr, {4, 5}, "Duplicada;Duplicada"},
        {"unknown_store", all, "hoja", {"--tiendas", "1,9"}, "la tienda 9 no existe"},
        {"clerk_month_totals", clerk, "hoja", {"--totales-mes", "si"}, "--totales-mes («Imprimir Totales Mensuales»)"},
        {"clerk_all_stores", clerk, "hoja", {"--tiendas", "todas"}, "el usuario solo puede listar su tienda (2)"},
        {"clerk_own_store_and_order_detail", clerk, "hoja", {"--tiendas", "2", "--detalle-encargos", "si"}, nullptr, {2},
         "Gràcia"},
        {"locked_operator", locked, "hoja", {"--fecha", "todas"}, "(--fecha)"},
        {"locked_date", locked, "diario", {"--desde", "02/05/2013"}, "(--desde)"},
        {"locked_stores_still_free", locked, "hoja", {"--tiendas", "todas"}},
        {"shop_without_groups_report", noGroups, "grupos", {}, "no usa grupos de venta"},
        {"shop_without_groups_box", noGroups, "hoja", {"--informe-grupos", "si"}, "--informe-grupos"},
    };
    for (const Case& row : rows) {
        SCOPED_TRACE(row.name);
        everyRight();
        row.rights(usuario, configuracion);
        try {
            const SolicitudListado s = build(row.listado, row.arguments);
            EXPECT_EQ(row.says, nullptr) << "accepted";
            EXPECT_EQ(s.tiendas, row.ids);
            EXPECT_EQ(s.filtro, QString::fromUtf8(row.filtro));
        } catch (const OptionError& e) {
            ASSERT_NE(row.says, nullptr) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(row.says))) << e.what();
        }
    }
}

} // namespace
