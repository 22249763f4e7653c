#include "platform/report/ReportDataSource.h"

#include "platform/db/Dataset.h"
#include "platform/db/FieldValue.h"
#include "platform/memtable/MemTable.h"

namespace lumetra {

void DatasetSource::first() { dataset_.first(); }
void DatasetSource::next() { dataset_.next(); }
bool DatasetSource::eof() const { return dataset_.eof(); }
bool DatasetSource::isEmpty() const { return dataset_.isEmpty(); }
int DatasetSource::recNo() const { return dataset_.recNo(); }
void DatasetSource::setRecNo(int row) { dataset_.setRecNo(row); }
int DatasetSource::recordCount() const { return dataset_.recordCount(); }
bool DatasetSource::hasField(const QString& field) const { return dataset_.hasField(field); }
QVariant DatasetSource::value(const QString& field) const { return dataset_.value(field); }
QString DatasetSource::text(const QString& field) const { return dataset_.fieldAsText(field); }
double DatasetSource::number(const QString& field) const { return dataset_.fieldAsFloat(field); }

void MemTableSource::first() { table_.first(); }
void MemTableSource::next() { table_.next(); }
bool MemTableSource::eof() const { return table_.eof(); }
bool MemTableSource::isEmpty() const { return table_.isEmpty(); }
int MemTableSource::recNo() const { return table_.recNo(); }
void MemTableSource::setRecNo(int row) { table_.setRecNo(row); }
int MemTableSource::recordCount() const { return table_.recordCount(); }
bool MemTableSource::hasField(const QString& field) const { return table_.findField(field) >= 0; }
QVariant MemTableSource::value(const QString& field) const { return table_.value(field); }
double MemTableSource::number(const QString& field) const { return table_.fieldAsFloat(field); }

QString MemTableSource::text(const QString& field) const
{
    const int index = table_.fieldIndex(field);
    if (table_.fieldType(index) == MemTable::FieldType::Date)
        return fieldvalue::toText(fieldvalue::fromDateTime(table_.fieldAsDateTime(index)));
    return table_.fieldAsText(index);
}

} // namespace lumetra
