// StoredProc: runs one executable stored procedure and reads its outputs.
//
// Inputs are set by name (ORG_...); any input left unset is NULL. prepare() reads the
// procedure's input order from the database, so callers never depend on it. After execProc()
// the outputs (RES_...) read by name like dataset fields. Failures throw DatabaseError.
#pragma once

#include "platform/format/DateTime.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

class QSqlQuery;

namespace lumetra {

class Database;

class StoredProc {
public:
    StoredProc();
    ~StoredProc();
    StoredProc(const StoredProc&) = delete;
    StoredProc& operator=(const StoredProc&) = delete;

    void setDatabase(Database* database);
    void setProcName(const QString& name);
    const QString& procName() const { return procName_; }
    void setParam(const QString& name, const QVariant& value);
    void clearParams();

    void prepare();
    bool isPrepared() const { return query_ != nullptr; }
    void execProc();
    void close();

    const QStringList& inputNames() const { return inputs_; }
    int fieldIndex(const QString& name) const;
    QVariant value(const QString& name) const;
    double fieldAsFloat(const QString& name) const;
    int fieldAsInteger(const QString& name) const;
    QString fieldAsText(const QString& name) const;
    DateTime fieldAsDateTime(const QString& name) const;

private:
    QString location() const;

    Database* database_ = nullptr;
    QString procName_;
    QString statement_;
    QStringList inputs_;
    QHash<QString, QVariant> params_;
    std::unique_ptr<QSqlQuery> query_;
    quint64 preparedInEpoch_ = 0;
    QStringList outputNames_;
    QVector<QVariant> outputs_;
};

} // namespace lumetra
