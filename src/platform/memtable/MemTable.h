// MemTable: the ordered in-memory table that listings fill from database rows and
// reports walk afterwards.
//
// Contract:
// - Fields (Float, Integer, Text, Date) are declared while the table is closed. A
//   text field's size is informational only: texts are never truncated. Fields of
//   a new row read 0, "" and the zero date until they are set.
// - Rows are kept in ascending order of the sort field (texts by code unit,
//   case-sensitive; numbers numerically; dates by serial). Rows with equal keys keep
//   the order in which they were appended. Without a sort field the order is the
//   append order.
// - append()/edit() put the table in insert/edit state; setField() writes only in
//   those states; post() commits and the posted row stays current; cancel() drops
//   the changes. Navigating, locating or appending while inserting/editing posts
//   the pending changes first. post()/cancel() with nothing pending do nothing.
// - eof() is true when the table is empty or next() went past the last row; bof()
//   likewise for prior() and the first row.
// - Misuse (unknown field, writing outside insert/edit, using a closed table, bad
//   conversions) throws MemTableError with a Spanish message naming the table and
//   the field.
// - Appending is O(1); the sorted order is brought up to date only when a position
//   is needed, so large loads sort once.
#pragma once

#include "platform/format/DateTime.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace lumetra {

class MemTableError : public std::runtime_error {
public:
    explicit MemTableError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

class MemTable {
public:
    enum class FieldType { Float, Integer, Text, Date };
    enum class State { Closed, Browse, Edit, Insert };

    explicit MemTable(const QString& name);
    MemTable(const MemTable&) = delete;
    MemTable& operator=(const MemTable&) = delete;
    MemTable(MemTable&&) = default;
    MemTable& operator=(MemTable&&) = default;
    ~MemTable();

    const QString& name() const { return m_name; }

    // Field declarations (table closed).
    void addField(const QString& name, FieldType type, int size = 0);
    void clearFields();
    int fieldCount() const { return int(m_fields.size()); }
    int fieldIndex(const QString& name) const; // throws when unknown
    int findField(const QString& name) const;  // -1 when unknown
    QString fieldName(int index) const;
    FieldType fieldType(int index) const;
    int fieldSize(int index) const;

    // Empty name = append order. May be changed while open: the rows re-sort.
    void setSortField(const QString& name);
    QString sortField() const;

    void open();
    void close();
    bool isOpen() const { return m_state != State::Closed; }
    void empty(); // drops every row, keeps the fields, stays open
    State state() const { return m_state; }

    void append();
    void edit();
    void post();
    void cancel();

    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recordCount() const;
    int recNo() const; // 0-based position in sort order; -1 when empty or inserting
    void setRecNo(int recNo);
    bool locate(const QString& fieldName, const QVariant& value);

    // Reads convert between types: numbers as text are their shortest exact form
    // ("1.5", "3"), dates dd/MM/yyyy[ hh:mm:ss] and the zero date blank; texts read
    // as numbers or dates must parse, or MemTableError is thrown. Reading with no
    // current row gives the defaults.
    double fieldAsFloat(const QString& name) const;
    double fieldAsFloat(int index) const;
    int fieldAsInteger(const QString& name) const;
    int fieldAsInteger(int index) const;
    QString fieldAsText(const QString& name) const;
    QString fieldAsText(int index) const;
    DateTime fieldAsDateTime(const QString& name) const;
    DateTime fieldAsDateTime(int index) const;
    QVariant value(const QString& name) const;
    QVariant value(int index) const;

    void setField(const QString& name, double value);
    void setField(const QString& name, int value);
    void setField(const QString& name, qint64 value);
    void setField(const QString& name, const QString& value);
    void setField(const QString& name, const char* value);
    void setField(const QString& name, const DateTime& value);
    void setField(const QString& name, const QVariant& value);
    void setField(int index, double value);
    void setField(int index, int value);
    void setField(int index, qint64 value);
    void setField(int index, const QString& value);
    void setField(int index, const char* value);
    void setField(int index, const DateTime& value);
    void setField(int index, const QVariant& value);

private:
    // One column per field; Float and Date use `nums`, Integer `ints`, Text `texts`.
    struct Field {
        QString name;
        FieldType type;
        int size;
        std::vector<double> nums;
        std::vector<qint32> ints;
        std::vector<QString> texts;
    };

    [[noreturn]] void fail(const QString& message) const;
    [[noreturn]] void failField(int index, const QString& message) const;
    void requireOpen(const char* operation) const;
    void checkIndex(int index) const;
    void requireWritable(int index) const;
    void autoPost();
    int rowCount() const { return m_rowCount; }
    void clearRows();
    void resetBuffer();

    // Current record (buffer while inserting/editing, stored row otherwise).
    double numAt(int index) const;
    const QString& textAt(int index) const;
    void setNum(int index, double value);

    // Order maintenance.
    template <class F> decltype(auto) withLess(F&& f) const;
    void markPending(int row) const;
    void syncOrder() const;
    void sortPendingTexts() const;
    int positionOf(int row) const;
    void moveTo(int position);
    void removeFromOrder(int row);

    QString m_name;
    std::vector<Field> m_fields;
    int m_sortField = -1;
    State m_state = State::Closed;
    int m_rowCount = 0;

    int m_current = -1; // row id of the current row, -1 = none
    bool m_eof = true;
    bool m_bof = true;

    // Insert/edit buffer, one slot per field (Integer kept exactly as double).
    std::vector<double> m_bufNums;
    std::vector<QString> m_bufTexts;

    // Rows in sort order, plus posted rows not yet merged into it.
    mutable std::vector<int> m_order;
    mutable std::vector<int> m_pending;
    mutable std::vector<std::uint8_t> m_isPending;
    mutable int m_cachedPos = -1; // position of m_current in m_order when known
};

} // namespace lumetra
