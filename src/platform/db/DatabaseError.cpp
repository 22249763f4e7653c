#include "platform/db/DatabaseError.h"

#include <QSqlError>

namespace lumetra {

namespace {
QString fullText(const QString& message, const QString& database, const QString& statement)
{
    QString text = message;
    if (!database.isEmpty())
        text += QStringLiteral("\nBase de datos: %1").arg(database);
    if (!statement.isEmpty())
        text += QStringLiteral("\nSentencia: %1").arg(statement);
    return text;
}

// The engine's messages that a person meets in a shop's daily use, said in Spanish. Each entry is
// a fixed part of the engine's English text (its message catalogue does not change between
// releases of a major version).
struct KnownFailure {
    const char* engineText;
    const char* spanish;
};

constexpr KnownFailure kKnownFailures[] = {
    {"Database already opened with engine instance, incompatible with current",
     "la base de datos ya está abierta en otro programa de este equipo con el motor embebido de Firebird, que "
     "solo permite un programa a la vez: cierre el otro programa, o use un servidor de Firebird "
     "(servidor:ruta) para abrirla desde varios"},
    {"attempted update on read-only database",
     "la base de datos es de solo lectura: no admite ningún cambio"},
    {"no permission for read-write access to database",
     "no hay permiso para escribir en el fichero de la base de datos, y Firebird no abre una base de datos que "
     "no puede escribir"},
    {"Your user name and password are not defined",
     "el usuario o la clave no son válidos para el servidor de Firebird"},
    {"Failed to establish a connection",
     "no se puede conectar con el servidor de Firebird: no está en marcha o no acepta conexiones en esa "
     "dirección y puerto"},
    {"Failed to locate host machine",
     "no se encuentra el equipo del servidor de Firebird"},
    {"connection shutdown",
     "el servidor de Firebird ha cerrado la conexión (se ha detenido o ha cortado la conexión)"},
    {"Error reading data from the connection",
     "se ha perdido la conexión con el servidor de Firebird"},
    {"Error writing data to the connection",
     "se ha perdido la conexión con el servidor de Firebird"},
    {"connection lost to database",
     "se ha perdido la conexión con el servidor de Firebird"},
    // What a fetch gets from a server that is closing its connections.
    {"Cursor is not open",
     "el servidor de Firebird ya no tiene abierta la consulta: se ha detenido o ha cerrado la conexión"},
};

QString spanishFor(const QString& engineText)
{
    for (const KnownFailure& known : kKnownFailures)
        if (engineText.contains(QLatin1String(known.engineText), Qt::CaseInsensitive))
            return QString::fromUtf8(known.spanish);
    return {};
}

} // namespace

DatabaseError::~DatabaseError() = default;

DatabaseError::DatabaseError(const QString& message, const QString& database, const QString& statement)
    : std::runtime_error(fullText(message, database, statement).toStdString())
    , message_(message)
    , database_(database)
    , statement_(statement)
{
}

DatabaseError DatabaseError::fromSqlError(const QSqlError& error, const QString& action,
                                          const QString& database, const QString& statement)
{
    QString detail = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    if (detail.isEmpty())
        detail = driver;
    else if (!driver.isEmpty() && !detail.contains(driver))
        detail = driver + QStringLiteral(": ") + detail;
    if (detail.isEmpty())
        detail = QStringLiteral("error desconocido");
    if (const QString spanish = spanishFor(detail); !spanish.isEmpty())
        detail = spanish;
    return DatabaseError(QStringLiteral("Error al %1 en la base de datos «%2»: %3").arg(action, database, detail),
                         database, statement);
}

} // namespace lumetra
