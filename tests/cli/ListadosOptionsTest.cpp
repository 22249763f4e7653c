// What the command line refuses, and why. What it reads goes into the window's request
// (ListingRequestTest).
#include "ListadosOptions.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace lumetra;

namespace {

QStringList required(const QStringList& more = {})
{
    return QStringList{"--db", "demo.fdb", "--listado", "hoja", "--salida", "hoja.pdf"} + more;
}

TEST(ListadosOptions, RefusesWithTheReason)
{
    // The rules the fuzz test holds every line to (no option outside its listing, no end date
    // without «entre», positive numbers, a known output format) are its own.
    const std::tuple<const char*, QStringList, const char*> rows[] = {
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
    for (const auto& [name, arguments, says] : rows) {
        try {
            ListadosOptions::parse(arguments);
            ADD_FAILURE() << name << " was accepted";
        } catch (const OptionError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(says))) << name << ": " << e.what();
        }
    }
}

} // namespace
