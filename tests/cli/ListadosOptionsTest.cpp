// Reading the command line into the values the window's controls take.
#include "ListadosOptions.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

QStringList required(const QStringList& more = {})
{
    return QStringList{"--db", "demo.fdb", "--listado", "hoja", "--salida", "hoja.pdf"} + more;
}

TEST(ListadosOptions, ReadsEveryValueTheWindowTakes)
{
    const ListadosOptions o = ListadosOptions::parse(
        {"--db=srv/3051:tienda", "--usuario", "3", "--tienda=2", "--fecha-trabajo", "7/5/2013", "--listado", "diario",
         "--fecha", "entre", "--desde", "01/05/2013", "--hasta", "31/05/2013", "--tiendas", "2, 1,2", "--iva", "encargo",
         "--tipo", "dias-hoja", "--familia", "si", "--salida", "out/diario.xlsx"});
    EXPECT_EQ(o.baseDatos, "srv/3051:tienda");
    EXPECT_EQ(o.usuario, 3);
    EXPECT_EQ(o.tienda, 2);
    EXPECT_EQ(o.fechaTrabajo, DateTime::fromYmd(2013, 5, 7));
    EXPECT_EQ(o.listado, ListadosOptions::Listado::Diario);
    EXPECT_EQ(o.operador, "...Entre...");
    EXPECT_EQ(o.desde, DateTime::fromYmd(2013, 5, 1));
    EXPECT_EQ(o.hasta, DateTime::fromYmd(2013, 5, 31));
    EXPECT_EQ(o.tiendas, (QList<int>{2, 1}));
    EXPECT_EQ(o.iva, 1);
    EXPECT_EQ(o.tipo, 2);
    EXPECT_EQ(o.familia, true);
    EXPECT_EQ(o.salida, "out/diario.xlsx");
}

struct Refused {
    const char* name;
    QStringList arguments;
    const char* says;
};

TEST(ListadosOptions, RefusesWithTheReason)
{
    // The rules the fuzz test holds every line to (no option outside its listing, no end date
    // without «entre», positive numbers, a known output format) are its own.
    const Refused rows[] = {
        {"missing_db", {"--listado", "hoja", "--salida", "h.pdf"}, "--db"},
        {"value_missing_at_end", required({"--desde"}), "--desde necesita un valor"},
        {"value_is_another_option", required({"--desde", "--iva", "caja"}), "--desde necesita un valor"},
        {"repeated", required({"--iva", "caja", "--iva=cobro"}), "--iva aparece más de una vez"},
        {"stray_word", required({"hoja"}), "«hoja»"},
        {"unknown_option", required({"--color", "si"}), "--color"},
        {"impossible_date", required({"--fecha-trabajo", "31/02/2013"}), "31/02/2013"},
        // The day before is the empty date: never taken as a date, nor as none.
        {"empty_date_written_out", required({"--desde", "30/12/1899"}),
         "--desde necesita una fecha a partir del 31/12/1899, no «30/12/1899»"},
        {"store_list_with_word", required({"--tiendas", "1,centro"}), "1,centro"},
        {"unknown_word", required({"--totales-dia", "yes"}), "si|no"},
        {"malformed_server_location", {"--db", "localhost/abc:/datos/tienda.fdb", "--listado", "hoja", "--salida", "h.pdf"},
         "el puerto «abc» no es un número entre 1 y 65535"},
    };
    for (const Refused& row : rows) {
        try {
            ListadosOptions::parse(row.arguments);
            ADD_FAILURE() << row.name << " was accepted";
        } catch (const OptionError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(row.says))) << row.name << ": " << e.what();
        }
    }
}

} // namespace
