// DatabaseError: every failure of the database layer. It carries the database location and the
// statement that failed, so an error window can show exactly what went wrong and where.
#pragma once

#include <QString>
#include <stdexcept>

class QSqlError;

namespace lumetra {

class DatabaseError : public std::runtime_error {
public:
    DatabaseError(const QString& message, const QString& database = {}, const QString& statement = {});
    DatabaseError(const DatabaseError&) = default;
    DatabaseError& operator=(const DatabaseError&) = default;
    // Out of line, so that the class's type information lives in this library only.
    ~DatabaseError() override;

    // The one place where a driver error becomes a DatabaseError. `action` says what was being
    // done ("abrir la consulta", "preparar", ...).
    static DatabaseError fromSqlError(const QSqlError& error, const QString& action,
                                      const QString& database, const QString& statement = {});

    const QString& message() const { return message_; }
    const QString& database() const { return database_; }
    const QString& statement() const { return statement_; }

private:
    QString message_;
    QString database_;
    QString statement_;
};

} // namespace lumetra
