// ReportDataSource: what the report engine walks. The engine reads the current row's fields by
// name as text, moves forward, and looks one row ahead (recNo/setRecNo) to know whether a group
// ends on the current row. Adapters cover the two sources the listings print: a database
// Dataset and an in-memory MemTable.
#pragma once

#include <QString>
#include <QVariant>

namespace lumetra {

class Dataset;
class MemTable;

class ReportDataSource {
public:
    virtual ~ReportDataSource() = default;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual bool isEmpty() const = 0;
    virtual int recNo() const = 0;
    virtual void setRecNo(int row) = 0;
    virtual int recordCount() const = 0;
    virtual bool hasField(const QString& field) const = 0;
    virtual QVariant value(const QString& field) const = 0;
    // The field as the report prints it: numbers without trailing zeros, dates dd/mm/yyyy.
    virtual QString text(const QString& field) const = 0;
    // The field as a number, NULL as 0, as the datasets read it.
    virtual double number(const QString& field) const = 0;
};

class DatasetSource : public ReportDataSource {
public:
    explicit DatasetSource(Dataset& dataset) : dataset_(dataset) {}
    void first() override;
    void next() override;
    bool eof() const override;
    bool isEmpty() const override;
    int recNo() const override;
    void setRecNo(int row) override;
    int recordCount() const override;
    bool hasField(const QString& field) const override;
    QVariant value(const QString& field) const override;
    QString text(const QString& field) const override;
    double number(const QString& field) const override;

private:
    Dataset& dataset_;
};

class MemTableSource : public ReportDataSource {
public:
    explicit MemTableSource(MemTable& table) : table_(table) {}
    void first() override;
    void next() override;
    bool eof() const override;
    bool isEmpty() const override;
    int recNo() const override;
    void setRecNo(int row) override;
    int recordCount() const override;
    bool hasField(const QString& field) const override;
    QVariant value(const QString& field) const override;
    QString text(const QString& field) const override;
    double number(const QString& field) const override;

private:
    MemTable& table_;
};

} // namespace lumetra
