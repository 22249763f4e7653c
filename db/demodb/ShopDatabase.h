// ShopDatabase: creates a shop database from the project's schema and base data.
#pragma once

#include "platform/db/DatabaseLogin.h"

#include <QString>
#include <QStringList>

namespace lumetra {

class Database;

class ShopDatabase {
public:
    // The isql scripts of a new database: the schema, then (when asked) the base data.
    static QStringList scripts(bool withBaseData = true);

    // Creates the database at `location` (path or host[/port]:path) as `login`'s user (a server
    // makes him its owner); throws DatabaseError.
    static void create(const QString& location, bool withBaseData = true,
                       const DatabaseLogin& login = DatabaseLogin::resolve());

    // Recomputes the selectivity of every index from the rows now in the tables, as a restored
    // database has it: the optimizer chooses its plans from these figures, and after a bulk fill
    // they are still those of the empty tables. Throws DatabaseError.
    static void refreshStatistics(Database& database);

    // Tables of the shop database, in the order the demo summary prints them.
    static QStringList tableNames();
};

} // namespace lumetra
