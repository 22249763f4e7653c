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
    return DatabaseError(QStringLiteral("Error al %1 en la base de datos «%2»: %3").arg(action, database, detail),
                         database, statement);
}

} // namespace lumetra
