// DatabaseFile: creates a new Firebird database and runs isql scripts on it (tables,
// procedures, rows), and copies database files. Creation goes through Firebird's isql tool,
// because a connection cannot create the database it connects to.
//
// The isql program is LUMETRA_ISQL when set, else isql-fb or isql from the PATH.
#pragma once

#include <QString>
#include <QStringList>

namespace lumetra {

class DatabaseFile {
public:
    // Creates the database at `location` (a path, or host[/port]:path) in UTF8 and runs the
    // scripts in order. Refuses to overwrite an existing file. On failure a partly created
    // local file is removed and DatabaseError carries isql's messages.
    static void create(const QString& location, const QStringList& scripts,
                       const QString& user = QStringLiteral("SYSDBA"),
                       const QString& password = QStringLiteral("masterkey"));

    // Copies a local database file that no connection has open; replaces the target.
    static void copy(const QString& from, const QString& to);

    static QString isqlProgram();
};

} // namespace lumetra
