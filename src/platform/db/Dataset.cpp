#include "platform/db/Dataset.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/FieldValue.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

namespace lumetra {

namespace {

// Names of the :NAME parameters of a statement, in order of first appearance, skipping quoted
// text and comments.
QStringList parameterNames(const QString& sql)
{
    QStringList names;
    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int close = sql.indexOf(c, i + 1);
            i = close < 0 ? n : close;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            const int eol = sql.indexOf(QLatin1Char('\n'), i);
            i = eol < 0 ? n : eol;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const int close = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = close < 0 ? n : close + 1;
        } else if (c == QLatin1Char(':') && i + 1 < n
                   && (sql.at(i + 1).isLetter() || sql.at(i + 1) == QLatin1Char('_'))) {
            int j = i + 1;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1).toUpper();
            if (!names.contains(name))
                names << name;
            i = j - 1;
        }
    }
    return names;
}

} // namespace

Dataset::Dataset(QString name)
    : name_(std::move(name))
{
}

namespace {
std::atomic<int> datasetsOpen{0};
}

Dataset::~Dataset()
{
    if (open_)
        --datasetsOpen;
}

int Dataset::openCount()
{
    return datasetsOpen.load();
}

void Dataset::setDatabase(Database* database)
{
    if (database == database_)
        return;
    close();
    unprepare();
    database_ = database;
}

void Dataset::setSql(const QString& sql)
{
    if (sql == sql_)
        return;
    close();
    unprepare();
    sql_ = sql;
    paramNames_ = parameterNames(sql_);
}

void Dataset::setMaster(Dataset* master)
{
    if (master == this)
        throw DatabaseError(QStringLiteral("La consulta «%1» no puede ser su propio maestro").arg(name_));
    const bool kept = keepsRows();
    master_ = master;
    executed_ = false;
    if (kept != keepsRows())
        unprepare();
}

void Dataset::setKeepRows(bool keep)
{
    if (keepRows_ == keep)
        return;
    unprepare();
    keepRows_ = keep;
}

void Dataset::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toUpper(), value);
}

void Dataset::setParam(const QString& name, const DateTime& value)
{
    setParam(name, fieldvalue::fromDateTime(value));
}

QString Dataset::location() const
{
    return database_ ? database_->location() : QString();
}

void Dataset::prepare()
{
    if (query_ && database_ && preparedInEpoch_ == database_->transactionEpoch())
        return;
    makeStatement();
}

// A statement prepared in a transaction that has ended is prepared again: the driver would run
// it in the ended one.
void Dataset::makeStatement() const
{
    if (!database_)
        throw DatabaseError(QStringLiteral("La consulta «%1» no tiene base de datos").arg(name_), QString(), sql_);
    if (sql_.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("La consulta «%1» no tiene texto SQL").arg(name_), location());
    query_.reset();
    fieldNames_.clear();
    DatabaseCalls::notify(DatabaseCalls::Operation::Prepare, sql_);
    auto query = std::make_unique<QSqlQuery>(database_->connection());
    // Kept rows stay cached as they are fetched; streamed ones cost no cache at all.
    query->setForwardOnly(!keepsRows());
    if (!query->prepare(sql_))
        throw DatabaseError::fromSqlError(query->lastError(), QStringLiteral("preparar la consulta"), location(), sql_);
    query_ = std::move(query);
    preparedInEpoch_ = database_->transactionEpoch();
    executions_ = 0;
}

void Dataset::unprepare()
{
    close();
    query_.reset();
    fieldNames_.clear();
}

void Dataset::open()
{
    if (open_)
        return;
    prepare();
    open_ = true;
    ++datasetsOpen;
    executed_ = false;
    if (!master_) {
        try {
            execute();
        } catch (...) {
            open_ = false;
            --datasetsOpen;
            throw;
        }
    }
}

void Dataset::close()
{
    if (!open_)
        return;
    open_ = false;
    --datasetsOpen;
    executed_ = false;
    empty_ = true;
    eof_ = true;
    ++moves_;
    if (query_)
        query_->finish();
}

void Dataset::execute() const
{
    if (!query_ || preparedInEpoch_ != database_->transactionEpoch())
        makeStatement();
    for (const QString& param : paramNames_) {
        QVariant value;
        if (master_)
            value = master_->isOpen() && master_->hasField(param) ? master_->value(param) : params_.value(param);
        else
            value = params_.value(param);
        query_->bindValue(QLatin1Char(':') + param, value);
    }
    if (master_)
        executedAtMaster_ = master_->moves_;
    executed_ = true;
    ++executions_;
    DatabaseCalls::notify(DatabaseCalls::Operation::Execute, sql_);
    if (!query_->exec())
        throw DatabaseError::fromSqlError(query_->lastError(), QStringLiteral("abrir la consulta «%1»").arg(name_),
                                          location(), sql_);
    // The driver reads system tables to describe scaled numeric columns, so the columns are
    // described once per prepared statement, not on every execution of a detail.
    if (fieldNames_.isEmpty()) {
        const QSqlRecord record = query_->record();
        for (int i = 0; i < record.count(); ++i)
            fieldNames_ << record.fieldName(i);
    }
    empty_ = !query_->next();
    // A failure while fetching the first row must not read as an empty result.
    if (empty_ && query_->lastError().isValid())
        throw DatabaseError::fromSqlError(query_->lastError(), QStringLiteral("leer la consulta «%1»").arg(name_),
                                          location(), sql_);
    eof_ = empty_;
    ++moves_;
}

void Dataset::sync() const
{
    if (!open_)
        return;
    if (!executed_ || (master_ && executedAtMaster_ != master_->moves_))
        execute();
}

void Dataset::requireOpen(const char* operation) const
{
    if (!open_)
        throw DatabaseError(QStringLiteral("No se puede %1: la consulta «%2» está cerrada").arg(QLatin1String(operation), name_),
                            location(), sql_);
}

bool Dataset::isSelect() const
{
    if (!open_)
        return false;
    sync();
    return query_->isSelect();
}

bool Dataset::first()
{
    requireOpen("ir al primer registro");
    sync();
    if (empty_)
        return false;
    if (query_->at() != 0) {
        if (keepsRows()) {
            query_->first();
            ++moves_;
        } else {
            execute();   // a streamed dataset runs again
            return !empty_;
        }
    }
    eof_ = false;
    return true;
}

bool Dataset::next()
{
    requireOpen("avanzar");
    sync();
    if (eof_)
        return false;
    DatabaseCalls::notify(DatabaseCalls::Operation::Fetch, sql_);
    if (query_->next()) {
        ++moves_;
        return true;
    }
    if (query_->lastError().isValid())
        throw DatabaseError::fromSqlError(query_->lastError(), QStringLiteral("leer la consulta «%1»").arg(name_),
                                          location(), sql_);
    // Past the end the last kept row stays current; a streamed one is gone.
    eof_ = true;
    if (keepsRows())
        query_->last();
    else
        ++moves_;
    return false;
}

bool Dataset::eof() const
{
    if (!open_)
        return true;
    sync();
    return eof_;
}

bool Dataset::isEmpty() const
{
    if (!open_)
        return true;
    sync();
    return empty_;
}

int Dataset::recNo() const
{
    if (!open_)
        return -1;
    sync();
    return empty_ ? -1 : query_->at();
}

bool Dataset::setRecNo(int row)
{
    requireOpen("situarse en el registro");
    sync();
    if (empty_ || row < 0)
        return false;
    if (row == query_->at())
        return true;
    if (!keepsRows()) {
        if (row < query_->at() || eof_)
            first();
        while (!eof_ && query_->at() < row)
            next();
        return !eof_;
    }
    const int previous = query_->at();
    if (!query_->seek(row)) {
        query_->seek(previous);
        return false;
    }
    eof_ = false;
    ++moves_;
    return true;
}

int Dataset::recordCount() const
{
    if (!open_)
        return 0;
    sync();
    if (empty_)
        return 0;
    if (!keepsRows())
        throw DatabaseError(QStringLiteral("La consulta «%1» no guarda sus filas: no se pueden contar sin recorrerla").arg(name_),
                            location(), sql_);
    const int current = query_->at();
    query_->last();
    const int count = query_->at() + 1;
    query_->seek(current);
    return count;
}

int Dataset::fieldCount() const
{
    sync();
    return fieldNames_.size();
}

QString Dataset::fieldName(int index) const
{
    sync();
    return fieldNames_.value(index);
}

int Dataset::fieldIndex(const QString& name) const
{
    sync();
    for (int i = 0; i < fieldNames_.size(); ++i)
        if (fieldNames_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Dataset::requireField(const QString& name) const
{
    requireOpen("leer el campo");
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("El campo «%1» no existe en la consulta «%2»").arg(name, name_), location(), sql_);
    return index;
}

QVariant Dataset::value(int index) const
{
    if (!open_)
        return QVariant();
    sync();
    if (empty_ || index < 0 || index >= fieldNames_.size() || !query_->isValid())
        return QVariant();
    return query_->value(index);
}

QVariant Dataset::value(const QString& name) const
{
    return value(requireField(name));
}

bool Dataset::isNull(const QString& name) const
{
    return value(name).isNull();
}

double Dataset::fieldAsFloat(const QString& name) const
{
    return fieldvalue::toFloat(value(name));
}

int Dataset::fieldAsInteger(const QString& name) const
{
    return fieldvalue::toInteger(value(name));
}

QString Dataset::fieldAsText(const QString& name) const
{
    return fieldvalue::toText(value(name));
}

DateTime Dataset::fieldAsDateTime(const QString& name) const
{
    return fieldvalue::toDateTime(value(name));
}

} // namespace lumetra
