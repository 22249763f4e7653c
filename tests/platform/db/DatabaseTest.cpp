#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"

#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumetra;
using ::testing::HasSubstr;

namespace {

// A location as written and what it is read as, or the part of the message refusing it.
struct LocationCase {
    const char* name;
    const char* location;
    const char* refused;
    const char* host = "";
    int port = -1;
    const char* path = "";
};

class Location : public ::testing::TestWithParam<LocationCase> {};

TEST_P(Location, SplitsHostPortAndPathOrSaysWhatIsWrong)
{
    const LocationCase& c = GetParam();
    const QString location = QString::fromUtf8(c.location);
    try {
        const DatabaseLocation where = DatabaseLocation::parse(location);
        EXPECT_TRUE(c.refused == nullptr) << c.location << " was taken as a location";
        EXPECT_EQ(where.host, QString::fromUtf8(c.host));
        EXPECT_EQ(where.port, c.port);
        EXPECT_EQ(where.path, QString::fromUtf8(c.path));
        EXPECT_EQ(where.embedded(), where.host.isEmpty());
    } catch (const DatabaseError& e) {
        ASSERT_NE(c.refused, nullptr) << e.what();
        EXPECT_THAT(e.message().toStdString(), HasSubstr(c.location));
        EXPECT_THAT(e.message().toStdString(), HasSubstr(c.refused));
        EXPECT_THAT(e.message().toStdString(), HasSubstr("no es válida"));
    }
}

const LocationCase kLocations[] = {
    {"local_path", "/var/lib/lumetra/tienda.fdb", nullptr, "", -1, "/var/lib/lumetra/tienda.fdb"},
    {"server", "servidor:/datos/tienda.fdb", nullptr, "servidor", -1, "/datos/tienda.fdb"},
    {"server_with_port", "10.0.0.5/3051:/datos/tienda.fdb", nullptr, "10.0.0.5", 3051, "/datos/tienda.fdb"},
    {"windows_drive", "C:\\Lumetra\\tienda.fdb", nullptr, "", -1, "C:\\Lumetra\\tienda.fdb"},
    {"local_path_with_colon", "/datos/a:b.fdb", nullptr, "", -1, "/datos/a:b.fdb"},
    {"local_path_with_spaces_and_colon", "mis datos/tienda:2013.fdb", nullptr, "", -1, "mis datos/tienda:2013.fdb"},
    {"server_with_windows_path", "servidor:C:\\Lumetra\\tienda.fdb", nullptr, "servidor", -1, "C:\\Lumetra\\tienda.fdb"},
    {"qualified_host_name", "bd-1.tienda.example:/datos/tienda.fdb", nullptr, "bd-1.tienda.example", -1, "/datos/tienda.fdb"},
    {"highest_port", "localhost/65535:/datos/tienda.fdb", nullptr, "localhost", 65535, "/datos/tienda.fdb"},
    {"ipv6", "[::1]:/datos/tienda.fdb", nullptr, "::1", -1, "/datos/tienda.fdb"},
    {"ipv6_with_port_and_alias", "[fe80::1:2]/3051:tienda", nullptr, "fe80::1:2", 3051, "tienda"},
    {"port_not_a_number", "servidor/abc:/datos/tienda.fdb", "el puerto «abc»"},
    {"port_zero", "servidor/0:/datos/tienda.fdb", "el puerto «0»"},
    {"port_too_high", "10.0.0.5/65536:/datos/tienda.fdb", "el puerto «65536»"},
    {"port_empty", "servidor/:/datos/tienda.fdb", "el puerto «»"},
    {"port_with_sign", "servidor/+3050:/datos/tienda.fdb", "el puerto «+3050»"},
    {"ipv4_out_of_range", "10.0.0.256:/datos/tienda.fdb", "«10.0.0.256» no es una dirección IPv4"},
    {"ipv4_too_short", "10.0.5:/datos/tienda.fdb", "«10.0.5» no es una dirección IPv4"},
    {"server_without_path", "servidor:", "falta la ruta"},
    {"ipv6_unclosed", "[::1:/datos/tienda.fdb", "falta el «]»"},
    {"ipv6_not_an_address", "[servidor]:/datos/tienda.fdb", "no es una dirección IPv6"},
};

INSTANTIATE_TEST_SUITE_P(Locations, Location, ::testing::ValuesIn(kLocations),
                         [](const auto& info) { return std::string(info.param.name); });

std::string errorOpening(const QString& location)
{
    Database db;
    try {
        db.open(location);
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(db.isOpen());
        return e.what();
    }
    ADD_FAILURE() << "opening " << location.toStdString() << " did not fail";
    return {};
}

void writeJunk(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
}

TEST(DatabaseOpen, EachFailureNamesTheDatabaseAndLeavesItClosed)
{
    QTemporaryDir dir;
    const std::string missing = dir.filePath("no-existe.fdb").toStdString(), bogus = dir.filePath("texto.fdb").toStdString(),
                      colon = dir.filePath("a:b.fdb").toStdString(), server = "127.0.0.1/1:/datos/tienda.fdb";
    writeJunk(QString::fromStdString(bogus));
    EXPECT_THAT(errorOpening(QString::fromStdString(missing)), HasSubstr(missing));
    EXPECT_THAT(errorOpening(QString::fromStdString(bogus)), HasSubstr(bogus));
    EXPECT_THAT(errorOpening(QString::fromStdString(server)), HasSubstr(server));
    EXPECT_FALSE(errorOpening(QString()).empty());
    // A local file with a colon is named, not looked for on a server called like its folder.
    EXPECT_THAT(errorOpening(QString::fromStdString(colon)), HasSubstr("No existe el fichero de base de datos «" + colon + "»"));
    writeJunk(QString::fromStdString(colon));
    EXPECT_THAT(errorOpening(QString::fromStdString(colon)), HasSubstr("su ruta contiene «:»"));
}

TEST(DatabaseOpen, DatasetOnAClosedDatabaseFailsCleanly)
{
    Database db;
    Dataset query(QStringLiteral("dstPrueba"));
    query.setDatabase(&db);
    query.setSql(QStringLiteral("select 1 from RDB$DATABASE"));
    EXPECT_THROW(query.open(), DatabaseError);
    EXPECT_FALSE(query.isOpen());
}

} // namespace
