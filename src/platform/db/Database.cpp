#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"

#include "platform/db/DatabaseError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <ibase.h>

namespace lumetra {

namespace {

QAtomicInt connectionCounter;

// RFC 1123 host name: dot-separated labels of letters, digits and inner hyphens.
bool isHostName(const QString& text)
{
    static const QRegularExpression name(QStringLiteral(
        "^[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*$"));
    return text.size() <= 253 && name.match(text).hasMatch();
}

bool isIpv4(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (part.isEmpty() || part.size() > 3 || !ok || n < 0 || n > 255 || !part.at(0).isDigit())
            return false;
    }
    return true;
}

bool isIpv6(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral("^[0-9A-Fa-f:.]+$"));
    return text.contains(QLatin1Char(':')) && shape.match(text).hasMatch();
}

// Only digits and dots: meant as an IPv4 address, never as a host name.
bool looksNumeric(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9.]+$"));
    return digits.match(text).hasMatch();
}

[[noreturn]] void refuse(const QString& location, const QString& why)
{
    throw DatabaseError(QStringLiteral("La ubicación de base de datos «%1» no es válida: %2. Escriba una ruta de "
                                       "fichero, o servidor[/puerto]:ruta con un puerto entre 1 y 65535")
                            .arg(location, why),
                        location);
}

} // namespace

DatabaseLocation DatabaseLocation::parse(const QString& location)
{
    DatabaseLocation result;
    QString server;
    QString rest;   // what follows the server: "[/port]:path"
    if (location.startsWith(QLatin1Char('['))) {
        const qsizetype close = location.indexOf(QLatin1Char(']'));
        if (close < 0)
            refuse(location, QStringLiteral("falta el «]» que cierra la dirección IPv6"));
        server = location.mid(1, close - 1);
        rest = location.mid(close + 1);
        if (!isIpv6(server))
            refuse(location, QStringLiteral("«%1» no es una dirección IPv6").arg(server));
        if (!rest.startsWith(QLatin1Char(':')) && !rest.startsWith(QLatin1Char('/')))
            refuse(location, QStringLiteral("falta «:» y la ruta después de la dirección"));
    } else {
        const qsizetype colon = location.indexOf(QLatin1Char(':'));
        // "C:\..." or "C:/..." is a local Windows path, not a one-letter host.
        const bool drivePath = colon == 1 && location.size() > 2
            && (location.at(2) == QLatin1Char('\\') || location.at(2) == QLatin1Char('/'));
        if (colon <= 0 || drivePath) {
            result.path = location;
            return result;
        }
        const QString before = location.left(colon);
        const qsizetype slash = before.indexOf(QLatin1Char('/'));
        server = slash < 0 ? before : before.left(slash);
        // Anything but a host name or an address before the colon ("/datos/a:b.fdb",
        // "../a:b", "datos dir/a:b") is a local path that happens to contain a colon.
        if (!isHostName(server) || before.contains(QLatin1Char('\\'))) {
            result.path = location;
            return result;
        }
        if (looksNumeric(server) && !isIpv4(server))
            refuse(location, QStringLiteral("«%1» no es una dirección IPv4").arg(server));
        rest = location.mid(server.size());
    }

    if (rest.startsWith(QLatin1Char('/'))) {
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        if (colon < 0)
            refuse(location, QStringLiteral("falta «:» y la ruta después del puerto"));
        const QString portText = rest.mid(1, colon - 1);
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
        const int port = digits.match(portText).hasMatch() ? portText.toInt() : 0;
        if (port < 1 || port > 65535)
            refuse(location, QStringLiteral("el puerto «%1» no es un número entre 1 y 65535").arg(portText));
        result.port = port;
        rest = rest.mid(colon);
    }
    result.path = rest.mid(1);
    if (result.path.isEmpty())
        refuse(location, QStringLiteral("falta la ruta de la base de datos en el servidor «%1»").arg(server));
    result.host = server;
    return result;
}

void DatabaseLocation::checkLocalPath(const QString& location) const
{
    if (!embedded())
        return;
    // The client library reads whatever comes before a colon as a server, so it cannot open
    // such a file itself; better said plainly than as a failed network request.
    const bool drive = path.size() > 1 && path.at(1) == QLatin1Char(':');
    if (path.indexOf(QLatin1Char(':'), drive ? 2 : 0) >= 0)
        throw DatabaseError(QStringLiteral("Firebird no puede abrir el fichero «%1» porque su ruta contiene «:», que toma "
                                           "como separador del servidor: cambie el nombre del fichero o de la carpeta")
                                .arg(path),
                            location);
}

QString DatabaseLocation::hostForDriver() const
{
    // The client library takes an IPv6 address in brackets, as it is written in a location.
    return host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
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
    where.checkLocalPath(location);

    QSqlDatabase db = QSqlDatabase::contains(connectionName_)
        ? QSqlDatabase::database(connectionName_, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName_);
    if (!db.isValid())
        throw DatabaseError(QStringLiteral("No está disponible el controlador de Firebird (QIBASE) de Qt"), location);
    db.setHostName(where.hostForDriver());
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

bool Database::reachable() const
{
    if (!isOpen())
        return false;
    const QVariant handle = connection_.driver()->handle();
    if (handle.metaType() != QMetaType::fromType<isc_db_handle>())
        return true;
    isc_db_handle attachment = *static_cast<const isc_db_handle*>(handle.constData());
    if (!attachment)
        return false;
    const char items[] = {isc_info_attachment_id, isc_info_end};
    char answer[32];
    ISC_STATUS_ARRAY status;
    return isc_database_info(status, &attachment, short(sizeof items), items, short(sizeof answer), answer) == 0;
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
