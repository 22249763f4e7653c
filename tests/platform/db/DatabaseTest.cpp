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
        LocationCase{"windows_drive", "C:\\Lumetra\\tienda.fdb", "", -1, "C:\\Lumetra\\tienda.fdb"}),
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
