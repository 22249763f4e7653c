#include "platform/db/StoredProc.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/FieldValue.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace lumetra {

StoredProc::StoredProc() = default;
StoredProc::~StoredProc() = default;

QString StoredProc::location() const
{
    return database_ ? database_->location() : QString();
}

void StoredProc::setDatabase(Database* database)
{
    if (database == database_)
        return;
    close();
    query_.reset();
    database_ = database;
}

void StoredProc::setProcName(const QString& name)
{
    const QString upper = name.trimmed().toUpper();
    if (upper == procName_)
        return;
    close();
    query_.reset();
    procName_ = upper;
}

void StoredProc::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toUpper(), value);
}

void StoredProc::clearParams()
{
    params_.clear();
}

void StoredProc::prepare()
{
    // One prepared in a transaction that has ended is prepared again (the driver would run it there).
    if (query_ && database_ && preparedInEpoch_ == database_->transactionEpoch())
        return;
    query_.reset();
    if (!database_)
        throw DatabaseError(QStringLiteral("El procedimiento «%1» no tiene base de datos").arg(procName_));
    if (procName_.isEmpty())
        throw DatabaseError(QStringLiteral("No se ha indicado el procedimiento almacenado"), location());

    const QStringList inputs = database_->procedureInputs(procName_);
    QStringList marks;
    for (int i = 0; i < inputs.size(); ++i)
        marks << QStringLiteral("?");
    QString statement = QStringLiteral("EXECUTE PROCEDURE ") + procName_;
    if (!marks.isEmpty())
        statement += QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');

    auto query = std::make_unique<QSqlQuery>(database_->connection());
    query->setForwardOnly(true);
    if (!query->prepare(statement))
        throw DatabaseError::fromSqlError(query->lastError(), QStringLiteral("preparar el procedimiento «%1»").arg(procName_),
                                          location(), statement);
    inputs_ = inputs;
    statement_ = statement;
    outputNames_.clear();
    query_ = std::move(query);
    preparedInEpoch_ = database_->transactionEpoch();
}

void StoredProc::execProc()
{
    prepare();
    for (int i = 0; i < inputs_.size(); ++i)
        query_->bindValue(i, params_.value(inputs_.at(i)));
    outputs_.clear();
    DatabaseCalls::notify(DatabaseCalls::Operation::Procedure, procName_);
    if (!query_->exec())
        throw DatabaseError::fromSqlError(query_->lastError(), QStringLiteral("ejecutar el procedimiento «%1»").arg(procName_),
                                          location(), statement_);
    // Described once per prepared statement: the driver queries system tables to do it.
    if (outputNames_.isEmpty()) {
        const QSqlRecord record = query_->record();
        for (int i = 0; i < record.count(); ++i)
            outputNames_ << record.fieldName(i);
    }
    const bool hasRow = query_->next();
    for (int i = 0; i < outputNames_.size(); ++i)
        outputs_ << (hasRow ? query_->value(i) : QVariant());
    query_->finish();
}

void StoredProc::close()
{
    if (query_)
        query_->finish();
    outputs_.clear();
}

int StoredProc::fieldIndex(const QString& name) const
{
    for (int i = 0; i < outputNames_.size(); ++i)
        if (outputNames_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant StoredProc::value(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("El procedimiento «%1» no devuelve «%2»").arg(procName_, name), location(), statement_);
    return outputs_.at(index);
}

double StoredProc::fieldAsFloat(const QString& name) const { return fieldvalue::toFloat(value(name)); }
int StoredProc::fieldAsInteger(const QString& name) const { return fieldvalue::toInteger(value(name)); }
QString StoredProc::fieldAsText(const QString& name) const { return fieldvalue::toText(value(name)); }
DateTime StoredProc::fieldAsDateTime(const QString& name) const { return fieldvalue::toDateTime(value(name)); }

} // namespace lumetra
