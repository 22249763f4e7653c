// Dataset: a select statement on a Database, read row by row with fields by name.
//
// The SQL text is set at run time, may carry named parameters (:NAME) and is prepared once and
// re-executed as often as needed. After open() the dataset stands on its first row; next() walks
// forward and eof() turns true once next() passes the last row, which stays current and
// readable. Rows are kept as they are fetched, so first() after a walk does not query again.
//
// A detail dataset (setMaster) takes its parameters from the fields of the same name on the
// master's current row. It re-executes lazily: the first read after the master moved runs the
// statement, so a detail nobody reads costs nothing.
//
// A dataset either keeps its rows (random access, first() and setRecNo() without a new query:
// the default for a dataset without a master) or streams them (the default for a detail, which
// runs again for every master row and is read once each time): a streaming dataset's first()
// after a walk runs the statement again, and past its end its fields read NULL.
//
// Fields are found by name, case-insensitively. NULL reads as 0, "" or the zero date. Every
// failure throws DatabaseError carrying the statement.
#pragma once

#include "platform/format/DateTime.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class QSqlQuery;

namespace lumetra {

class Database;

class Dataset {
public:
    explicit Dataset(QString name = {});
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    const QString& name() const { return name_; }
    void setDatabase(Database* database);
    Database* database() const { return database_; }

    // Changing the text closes and unprepares the dataset.
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }
    void setMaster(Dataset* master);
    Dataset* master() const { return master_; }
    void setKeepRows(bool keep);
    bool keepsRows() const { return keepRows_.value_or(master_ == nullptr); }
    void setParam(const QString& name, const QVariant& value);
    void setParam(const QString& name, const DateTime& value);

    void prepare();
    void unprepare();
    bool isPrepared() const { return query_ != nullptr; }
    void open();
    void close();
    // Datasets open in this process: a piece of work that has ended, however it ended, leaves
    // none of its own open.
    static int openCount();
    bool isOpen() const { return open_; }
    // After open(): whether the statement returns rows (a select or a selectable procedure).
    bool isSelect() const;

    bool first();
    bool next();
    bool eof() const;
    bool isEmpty() const;
    // Position of the current row (0-based), -1 when empty; setRecNo returns false past the end.
    int recNo() const;
    bool setRecNo(int row);
    // Fetches every row (kept) to count them; the current row does not change.
    int recordCount() const;

    int fieldCount() const;
    QString fieldName(int index) const;
    int fieldIndex(const QString& name) const;   // -1 when there is no such field
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }

    QVariant value(int index) const;
    QVariant value(const QString& name) const;
    bool isNull(const QString& name) const;
    double fieldAsFloat(const QString& name) const;
    int fieldAsInteger(const QString& name) const;
    QString fieldAsText(const QString& name) const;
    DateTime fieldAsDateTime(const QString& name) const;

    // How many times the statement ran since it was prepared (a detail re-runs per master row).
    int executions() const { return executions_; }

private:
    void requireOpen(const char* operation) const;
    void sync() const;
    void execute() const;
    void makeStatement() const;
    int requireField(const QString& name) const;
    QString location() const;

    QString name_;
    Database* database_ = nullptr;
    Dataset* master_ = nullptr;
    QString sql_;
    QStringList paramNames_;
    QHash<QString, QVariant> params_;
    std::optional<bool> keepRows_;
    mutable std::unique_ptr<QSqlQuery> query_;
    mutable quint64 preparedInEpoch_ = 0;   // the connection's transaction epoch at prepare
    bool open_ = false;

    // Mutable: a detail executes on its first read after the master moved.
    mutable bool executed_ = false;
    mutable quint64 executedAtMaster_ = 0;
    mutable bool empty_ = true;
    mutable bool eof_ = true;
    mutable quint64 moves_ = 0;   // bumped whenever the current row changes
    mutable int executions_ = 0;
    mutable QStringList fieldNames_;
};

} // namespace lumetra
