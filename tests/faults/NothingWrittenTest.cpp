// Listings only read: printing every listing leaves every table of the shop as it was, except
// the one access row each closed listing window writes.
#include "EveryListing.h"
#include "ListadosOptions.h"
#include "ListadosRunner.h"
#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/Dataset.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace lumetra;

namespace {

// Every row of every table, as text, sorted: two snapshots are equal only when nothing changed.
std::map<QString, QStringList> contents(const QString& path)
{
    Database db;
    db.open(path);
    std::map<QString, QStringList> tables;
    for (const QString& table : ShopDatabase::tableNames()) {
        Dataset rows;
        rows.setDatabase(&db);
        rows.setSql(QStringLiteral("select * from ") + table);
        rows.open();
        QStringList& list = tables[table];
        for (bool more = !rows.isEmpty(); more; more = rows.next()) {
            QStringList values;
            for (int i = 0; i < rows.fieldCount(); ++i)
                values << (rows.value(i).isNull() ? QStringLiteral("NULL") : rows.value(i).toString());
            list << values.join(QLatin1Char('|'));
            if (rows.eof())
                break;
        }
        list.sort();
    }
    return tables;
}

TEST(NothingWritten, EveryListingLeavesEveryTableButTheAccessLogAsItWas)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-lectura-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("tienda.fdb"));
    ShopDatabase::create(path);
    {
        Database db;
        db.open(path);
        DemoHistory({2, QDate(2013, 6, 10), 3, 4}).fill(db);
    }
    const auto before = contents(path);
    ASSERT_GT(before.at(QStringLiteral("DVENTA")).size(), 20);
    ASSERT_GT(before.at(QStringLiteral("COBRO")).size(), 20);

    const QStringList common{"--db", path, "--fecha-trabajo", "12/06/2013", "--fecha", "entre", "--desde", "10/06/2013",
                             "--hasta", "12/06/2013", "--tiendas", "todas"};
    const QList<QStringList> listings = test::everyListing();
    int formats = 0;
    for (const QStringList& listing : listings) {
        // Each output kind once over the listings.
        const char* ext = std::array{"pdf", "csv", "xlsx", "txt", "xml"}[size_t(formats++ % 5)];
        const QStringList args = common + listing + QStringList{"--salida", dir.filePath(QStringLiteral("listado.") + QLatin1String(ext))};
        EXPECT_EQ(ListadosRunner(ListadosOptions::parse(args)).run(), 0) << listing.join(' ').toStdString();
    }

    const auto after = contents(path);
    for (const auto& [table, rows] : before) {
        SCOPED_TRACE(table.toStdString());
        if (table == QStringLiteral("ACCESO")) {
            EXPECT_EQ(after.at(table).size(), rows.size() + listings.size()) << "one access row per closed window";
            for (const QString& row : rows)
                EXPECT_TRUE(after.at(table).contains(row)) << "an earlier access row changed: " << row.toStdString();
        } else {
            EXPECT_EQ(after.at(table), rows);
        }
    }
}

} // namespace
