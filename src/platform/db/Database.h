// Database: one connection to a Firebird database.
//
// The location is a file path (the engine runs embedded, in this process) or "host[/port]:path"
// (a Firebird server). Connections always use UTF8. Open failures throw DatabaseError naming the
// location. Not copyable; the QSqlDatabase connection lives as long as this object.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace lumetra {

struct DatabaseLocation {
    QString host;      // empty: embedded engine
    int port = -1;     // -1: default port
    QString path;

    // Splits "host[/port]:path"; a bare path or a Windows drive path ("C:\...") is embedded.
    static DatabaseLocation parse(const QString& location);
    bool embedded() const { return host.isEmpty(); }
};

class Database {
public:
    static constexpr const char* DefaultUser = "SYSDBA";
    static constexpr const char* DefaultPassword = "masterkey";

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void open(const QString& location, const QString& user = DefaultUser,
              const QString& password = DefaultPassword);
    void close();
    bool isOpen() const;

    const QString& location() const { return location_; }
    QSqlDatabase connection() const;

    // Runs a statement that returns no rows (DDL, insert, update) in the current transaction,
    // or committed on its own when no transaction is active.
    void execute(const QString& sql);

    // The input parameters of a stored procedure, in order, read from the catalogue the first
    // time a procedure is asked for on this connection (a procedure's signature does not change
    // while a connection is open). Throws DatabaseError.
    const QStringList& procedureInputs(const QString& procedure);

    // Changes whenever a transaction of this connection starts or ends. The driver ties a
    // prepared statement to the transaction it was prepared in, so a statement prepared under an
    // earlier value must be prepared again before it runs.
    quint64 transactionEpoch() const { return transactionEpoch_; }

private:
    friend class Transaction;

    QString connectionName_;
    QString location_;
    QSqlDatabase connection_;   // the open connection; invalid while closed
    QHash<QString, QStringList> procedureInputs_;
    quint64 transactionEpoch_ = 0;
};

} // namespace lumetra
