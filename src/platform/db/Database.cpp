#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"

#include "platform/db/DatabaseError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace lumetra {

namespace {
QAtomicInt connectionCounter;
}

DatabaseLocation DatabaseLocation::parse(const QString& location)
{
    DatabaseLocation result;
    const int colon = location.indexOf(QLatin1Char(':'));
    // "C:\..." or "C:/..." is a local Windows path, not a one-letter host.
    const bool drivePath = colon == 1 && location.size() > 2
        && (location.at(2) == QLatin1Char('\\') || location.at(2) == QLatin1Char('/'));
    if (colon <= 0 || drivePath) {
        result.path = location;
        return result;
    }
    QString server = location.left(colon);
    result.path = location.mid(colon + 1);
    const int slash = server.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        bool ok = false;
        const int port = server.mid(slash + 1).toInt(&ok);
        result.port = ok ? port : -1;
        server = server.left(slash);
    }
    result.host = server;
    return result;
}

Database::Database()
    : connectionName_(QStringLiteral("lumetra-%1-%2").arg(connectionCounter.fetchAndAddRelaxed(1)).arg(quintptr(this), 0, 16))
{
}

Database::~Database()
{
    close();
    connection_ = QSqlDatabase();
    if (QSqlDatabase::contains(connectionName_))
        QSqlDatabase::removeDatabase(connectionName_);
}

void Database::open(const QString& location, const QString& user, const QString& password)
{
    close();
    location_ = location;
    if (location.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("No se ha indicado la base de datos"));

    const DatabaseLocation where = DatabaseLocation::parse(location);
    if (where.embedded() && !QFileInfo::exists(where.path))
        throw DatabaseError(QStringLiteral("No existe el fichero de base de datos «%1»").arg(where.path), location);

    QSqlDatabase db = QSqlDatabase::contains(connectionName_)
        ? QSqlDatabase::database(connectionName_, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName_);
    if (!db.isValid())
        throw DatabaseError(QStringLiteral("No está disponible el controlador de Firebird (QIBASE) de Qt"), location);
    db.setHostName(where.host);
    db.setPort(where.port);
    db.setDatabaseName(where.path);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!db.open())
        throw DatabaseError::fromSqlError(db.lastError(), QStringLiteral("conectar"), location);
    connection_ = db;
}

void Database::close()
{
    procedureInputs_.clear();
    connection_ = QSqlDatabase();
    if (!QSqlDatabase::contains(connectionName_))
        return;
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isOpen())
        db.close();
}

bool Database::isOpen() const
{
    return connection_.isOpen();
}

QSqlDatabase Database::connection() const
{
    if (!isOpen())
        throw DatabaseError(QStringLiteral("La base de datos no está abierta"), location_);
    return connection_;
}

const QStringList& Database::procedureInputs(const QString& procedure)
{
    if (const auto known = procedureInputs_.constFind(procedure); known != procedureInputs_.cend())
        return *known;
    const QString lookup = QStringLiteral(
        "select trim(RDB$PARAMETER_NAME) from RDB$PROCEDURE_PARAMETERS "
        "where RDB$PROCEDURE_NAME = :NAME and RDB$PARAMETER_TYPE = 0 order by RDB$PARAMETER_NUMBER");
    DatabaseCalls::notify(DatabaseCalls::Operation::Prepare, lookup);
    QSqlQuery params(connection());
    params.setForwardOnly(true);
    if (!params.prepare(lookup))
        throw DatabaseError::fromSqlError(params.lastError(), QStringLiteral("leer los parámetros de «%1»").arg(procedure),
                                          location_, lookup);
    params.bindValue(QStringLiteral(":NAME"), procedure);
    DatabaseCalls::notify(DatabaseCalls::Operation::Execute, lookup);
    if (!params.exec())
        throw DatabaseError::fromSqlError(params.lastError(), QStringLiteral("leer los parámetros de «%1»").arg(procedure),
                                          location_, lookup);
    QStringList inputs;
    while (params.next())
        inputs << params.value(0).toString().trimmed();
    params.finish();
    return *procedureInputs_.insert(procedure, inputs);
}

void Database::execute(const QString& sql)
{
    DatabaseCalls::notify(DatabaseCalls::Operation::Execute, sql);
    QSqlQuery query(connection());
    if (!query.exec(sql))
        throw DatabaseError::fromSqlError(query.lastError(), QStringLiteral("ejecutar la sentencia"), location_, sql);
}

} // namespace lumetra
