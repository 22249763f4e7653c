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

    // Splits "host[/port]:path" ("[ipv6][/port]:path" too). It is a server location only when
    // what comes before the first colon is a host name or an IP address, with an optional port
    // from 1 to 65535; anything else, a Windows drive path ("C:\...") among them, is a local path
    // ("/datos/a:b.fdb" is the file of that name). A server part with a bad port, a malformed
    // address or no path after it ("servidor/abc:ruta", "10.0.0.256:ruta", "servidor:") throws
    // DatabaseError with a message for the user.
    static DatabaseLocation parse(const QString& location);
    bool embedded() const { return host.isEmpty(); }
    // A local path the engine cannot open as it stands (a colon inside it) throws DatabaseError.
    void checkLocalPath(const QString& location) const;
    // The host as the client library takes it: an IPv6 address in brackets.
    QString hostForDriver() const;
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
    // Whether the engine still holds this connection: false once it is closed, or once its server
    // has stopped or cut it (the driver still reports such a connection as open). Asks the engine
    // directly, with no statement and no transaction.
    bool reachable() const;

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
