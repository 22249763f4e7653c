#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

struct LocationCase {
    const char* name;
    const char* location;
    const char* host;
    int port;
    const char* path;
};

class LocationParse : public ::testing::TestWithParam<LocationCase> {};

TEST_P(LocationParse, SplitsHostPortAndPath)
{
    const LocationCase& c = GetParam();
    const DatabaseLocation where = DatabaseLocation::parse(QString::fromUtf8(c.location));
    EXPECT_EQ(where.host, QString::fromUtf8(c.host));
    EXPECT_EQ(where.port, c.port);
    EXPECT_EQ(where.path, QString::fromUtf8(c.path));
    EXPECT_EQ(where.embedded(), QString::fromUtf8(c.host).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Locations, LocationParse,
    ::testing::Values(
        LocationCase{"local_path", "/var/lib/lumetra/tienda.fdb", "", -1, "/var/lib/lumetra/tienda.fdb"},
        LocationCase{"server", "servidor:/datos/tienda.fdb", "servidor", -1, "/datos/tienda.fdb"},
        LocationCase{"server_with_port", "10.0.0.5/3051:/datos/tienda.fdb", "10.0.0.5", 3051, "/datos/tienda.fdb"},
        LocationCase{"server_with_alias", "servidor:tienda", "servidor", -1, "tienda"},
        LocationCase{"windows_drive", "C:\\Lumetra\\tienda.fdb", "", -1, "C:\\Lumetra\\tienda.fdb"},
        LocationCase{"windows_drive_forward_slashes", "D:/Lumetra/tienda.fdb", "", -1, "D:/Lumetra/tienda.fdb"},
        LocationCase{"local_path_with_colon", "/datos/a:b.fdb", "", -1, "/datos/a:b.fdb"},
        LocationCase{"relative_path_with_colon", "../datos/a:b.fdb", "", -1, "../datos/a:b.fdb"},
        LocationCase{"local_path_with_spaces_and_colon", "mis datos/tienda:2013.fdb", "", -1, "mis datos/tienda:2013.fdb"},
        LocationCase{"server_with_windows_path", "servidor:C:\\Lumetra\\tienda.fdb", "servidor", -1, "C:\\Lumetra\\tienda.fdb"},
        LocationCase{"qualified_host_name", "bd-1.tienda.example:/datos/tienda.fdb", "bd-1.tienda.example", -1, "/datos/tienda.fdb"},
        LocationCase{"highest_port", "localhost/65535:/datos/tienda.fdb", "localhost", 65535, "/datos/tienda.fdb"},
        LocationCase{"ipv6", "[::1]:/datos/tienda.fdb", "::1", -1, "/datos/tienda.fdb"},
        LocationCase{"ipv6_with_port", "[fe80::1:2]/3051:tienda", "fe80::1:2", 3051, "tienda"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    const char* location;
    const char* reason;   // part of the message
};

class LocationRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(LocationRefused, SaysWhatIsWrongWithTheLocation)
{
    const RefusedCase& c = GetParam();
    try {
        DatabaseLocation::parse(QString::fromUtf8(c.location));
        ADD_FAILURE() << c.location << " was taken as a location";
    } catch (const DatabaseError& e) {
        const QString message = e.message();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.location))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("no es válida"))) << message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Locations, LocationRefused,
    ::testing::Values(
        RefusedCase{"port_not_a_number", "servidor/abc:/datos/tienda.fdb", "el puerto «abc»"},
        RefusedCase{"port_zero", "servidor/0:/datos/tienda.fdb", "el puerto «0»"},
        RefusedCase{"port_too_high", "10.0.0.5/65536:/datos/tienda.fdb", "el puerto «65536»"},
        RefusedCase{"port_empty", "servidor/:/datos/tienda.fdb", "el puerto «»"},
        RefusedCase{"port_with_sign", "servidor/+3050:/datos/tienda.fdb", "el puerto «+3050»"},
        RefusedCase{"ipv4_out_of_range", "10.0.0.256:/datos/tienda.fdb", "«10.0.0.256» no es una dirección IPv4"},
        RefusedCase{"ipv4_too_short", "10.0.5:/datos/tienda.fdb", "«10.0.5» no es una dirección IPv4"},
        RefusedCase{"server_without_path", "servidor:", "falta la ruta"},
        RefusedCase{"ipv6_unclosed", "[::1:/datos/tienda.fdb", "falta el «]»"},
        RefusedCase{"ipv6_not_an_address", "[servidor]:/datos/tienda.fdb", "no es una dirección IPv6"}),
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

TEST(DatabaseOpen, MissingFileNamesTheDatabase)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no-existe.fdb"));
    EXPECT_NE(errorOpening(missing).find(missing.toStdString()), std::string::npos);
}

TEST(DatabaseOpen, FileThatIsNotADatabaseNamesIt)
{
    QTemporaryDir dir;
    const QString bogus = dir.filePath(QStringLiteral("texto.fdb"));
    QFile file(bogus);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_NE(errorOpening(bogus).find(bogus.toStdString()), std::string::npos);
}

TEST(DatabaseOpen, UnreachableServerNamesTheDatabase)
{
    const QString location = QStringLiteral("127.0.0.1/1:/datos/tienda.fdb");
    const std::string message = errorOpening(location);
    EXPECT_NE(message.find(location.toStdString()), std::string::npos) << message;
}

TEST(DatabaseOpen, LocalFileWithAColonIsNamedNotLookedForOnAServer)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("a:b.fdb"));
    const std::string absent = errorOpening(missing);
    EXPECT_NE(absent.find("No existe el fichero de base de datos «" + missing.toStdString() + "»"), std::string::npos) << absent;

    // The client library would look for a server called like the folder: said plainly instead.
    QFile file(missing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    const std::string present = errorOpening(missing);
    EXPECT_NE(present.find("su ruta contiene «:»"), std::string::npos) << present;
}

TEST(DatabaseOpen, EmptyLocationIsRefused)
{
    EXPECT_FALSE(errorOpening(QString()).empty());
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
