#include "platform/memtable/MemTable.h"

#include "platform/format/DateTexts.h"
#include "platform/format/FormatFloat.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

namespace lumetra {

namespace {

QString typeName(MemTable::FieldType type)
{
    switch (type) {
    case MemTable::FieldType::Float: return QStringLiteral("real");
    case MemTable::FieldType::Integer: return QStringLiteral("entero");
    case MemTable::FieldType::Text: return QStringLiteral("texto");
    case MemTable::FieldType::Date: return QStringLiteral("fecha");
    }
    return QString();
}

// Numbers read as text the way the rest of the listings print them.
QString numberText(double value)
{
    return FloatToStr(value);
}

// The zero date is the empty date and reads as blank, as a blank text stores it.
QString dateText(double serial)
{
    if (serial == 0)
        return QString();
    const DateTime date(serial);
    if (date.dateOnly() == date)
        return DateToStr(date);
    return FormatDateTime(QStringLiteral("dd/mm/yyyy hh:nn:ss"), date);
}

// Blank reads as 0. A decimal comma is accepted when there is no point.
bool parseNumber(const QString& text, double& out)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        out = 0;
        return true;
    }
    bool ok = false;
    out = t.toDouble(&ok);
    if (!ok && !t.contains(QLatin1Char('.')) && t.count(QLatin1Char(',')) == 1)
        out = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(out);
}

// A serial number, or a date written as dd/MM/yyyy[ hh:mm[:ss]] or ISO.
bool parseDate(const QString& text, double& serial)
{
    if (parseNumber(text, serial))
        return true;
    const QString t = text.trimmed();
    static const char* const dateTimeFormats[] = {"dd/MM/yyyy hh:mm:ss", "dd/MM/yyyy hh:mm",
                                                  "yyyy-MM-dd hh:mm:ss", "yyyy-MM-ddThh:mm:ss"};
    for (const char* format : dateTimeFormats) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(format));
        if (dt.isValid()) {
            serial = DateTime::fromDateTime(dt).serial();
            return true;
        }
    }
    for (const char* format : {"dd/MM/yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(t, QLatin1String(format));
        if (d.isValid()) {
            serial = DateTime::fromDate(d).serial();
            return true;
        }
    }
    return false;
}

bool isDateVariant(const QVariant& v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QDate || id == QMetaType::QDateTime || id == QMetaType::QTime
        || v.metaType() == QMetaType::fromType<DateTime>();
}

double variantDateSerial(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDate: return DateTime::fromDate(v.toDate()).serial();
    case QMetaType::QDateTime: return DateTime::fromDateTime(v.toDateTime()).serial();
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        return t.isValid() ? t.msecsSinceStartOfDay() / 86400000.0 : 0.0;
    }
    default: return static_cast<const DateTime*>(v.constData())->serial();
    }
}

bool isNullVariant(const QVariant& v) { return !v.isValid() || v.isNull(); }

bool variantToNumber(const QVariant& v, double& out)
{
    if (isNullVariant(v)) {
        out = 0;
        return true;
    }
    if (isDateVariant(v)) {
        out = variantDateSerial(v);
        return true;
    }
    switch (v.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseNumber(v.toString(), out);
    default: {
        bool ok = false;
        out = v.toDouble(&ok);
        return ok;
    }
    }
}

QString variantToText(const QVariant& v)
{
    if (isNullVariant(v))
        return QString();
    if (isDateVariant(v))
        return dateText(variantDateSerial(v));
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(v.toDouble());
    default:
        return v.toString();
    }
}

} // namespace

MemTableError::MemTableError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

MemTable::MemTable(const QString& name) : m_name(name) {}

MemTable::~MemTable() = default;

// ---------------------------------------------------------------- errors

void MemTable::fail(const QString& message) const
{
    throw MemTableError(QStringLiteral("Tabla en memoria '%1': %2").arg(m_name, message));
}

void MemTable::failField(int index, const QString& message) const
{
    throw MemTableError(QStringLiteral("Tabla en memoria '%1', campo '%2': %3")
                            .arg(m_name, m_fields[index].name, message));
}

void MemTable::requireOpen(const char* operation) const
{
    if (m_state == State::Closed)
        fail(QStringLiteral("la tabla está cerrada; no se puede ejecutar %1")
                 .arg(QLatin1String(operation)));
}

void MemTable::checkIndex(int index) const
{
    if (index < 0 || index >= fieldCount())
        fail(QStringLiteral("índice de campo %1 fuera de rango (la tabla tiene %2 campos)")
                 .arg(index)
                 .arg(fieldCount()));
}

void MemTable::requireWritable(int index) const
{
    checkIndex(index);
    if (m_state == State::Closed)
        failField(index, QStringLiteral("la tabla está cerrada; no se puede asignar el campo"));
    if (m_state != State::Insert && m_state != State::Edit)
        failField(index, QStringLiteral("no se puede asignar fuera de alta o edición "
                                        "(llame antes a append() o edit())"));
}

// ---------------------------------------------------------------- fields

void MemTable::addField(const QString& name, FieldType type, int size)
{
    if (isOpen())
        fail(QStringLiteral("no se pueden declarar campos con la tabla abierta (campo '%1')")
                 .arg(name));
    if (name.trimmed().isEmpty())
        fail(QStringLiteral("el nombre de campo no puede estar vacío"));
    if (findField(name) >= 0)
        fail(QStringLiteral("el campo '%1' ya está declarado").arg(name));
    m_fields.push_back(Field{name, type, size, {}, {}, {}});
}

void MemTable::clearFields()
{
    if (isOpen())
        fail(QStringLiteral("no se pueden borrar los campos con la tabla abierta"));
    m_fields.clear();
    m_sortField = -1;
}

int MemTable::findField(const QString& name) const
{
    // Exact spelling first: the common case, and cheaper than folding case.
    for (int i = 0; i < fieldCount(); ++i)
        if (m_fields[i].name == name)
            return i;
    for (int i = 0; i < fieldCount(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int MemTable::fieldIndex(const QString& name) const
{
    const int index = findField(name);
    if (index < 0)
        fail(QStringLiteral("no existe el campo '%1'").arg(name));
    return index;
}

QString MemTable::fieldName(int index) const
{
    checkIndex(index);
    return m_fields[index].name;
}

MemTable::FieldType MemTable::fieldType(int index) const
{
    checkIndex(index);
    return m_fields[index].type;
}

int MemTable::fieldSize(int index) const
{
    checkIndex(index);
    return m_fields[index].size;
}

void MemTable::setSortField(const QString& name)
{
    const int index = name.isEmpty() ? -1 : fieldIndex(name);
    if (index == m_sortField)
        return;
    m_sortField = index;
    // Every row has to be placed again; the next position request sorts them all.
    m_order.clear();
    m_pending.clear();
    for (int row = 0; row < m_rowCount; ++row)
        markPending(row);
    m_cachedPos = -1;
}

QString MemTable::sortField() const
{
    return m_sortField < 0 ? QString() : m_fields[m_sortField].name;
}

// ---------------------------------------------------------------- open / close

void MemTable::open()
{
    if (isOpen())
        return;
    if (m_fields.empty())
        fail(QStringLiteral("no se puede abrir sin campos declarados"));
    clearRows();
    m_bufNums.assign(m_fields.size(), 0.0);
    m_bufTexts.assign(m_fields.size(), QString());
    m_state = State::Browse;
}

void MemTable::close()
{
    clearRows();
    m_state = State::Closed;
}

void MemTable::empty()
{
    requireOpen("empty()");
    close();
    open();
}

void MemTable::clearRows()
{
    for (Field& f : m_fields) {
        std::vector<double>().swap(f.nums);
        std::vector<qint32>().swap(f.ints);
        std::vector<QString>().swap(f.texts);
    }
    m_rowCount = 0;
    m_current = -1;
    m_eof = m_bof = true;
    std::vector<int>().swap(m_order);
    std::vector<int>().swap(m_pending);
    std::vector<std::uint8_t>().swap(m_isPending);
    m_cachedPos = -1;
}

void MemTable::resetBuffer()
{
    std::fill(m_bufNums.begin(), m_bufNums.end(), 0.0);
    for (QString& t : m_bufTexts)
        t.clear();
}

// ---------------------------------------------------------------- insert / edit

void MemTable::autoPost()
{
    if (m_state == State::Insert || m_state == State::Edit)
        post();
}

void MemTable::append()
{
    requireOpen("append()");
    autoPost();
    resetBuffer();
    m_state = State::Insert;
}

void MemTable::edit()
{
    requireOpen("edit()");
    if (m_state == State::Insert || m_state == State::Edit)
        return;
    if (m_current < 0)
        fail(QStringLiteral("no hay registro actual que editar"));
    for (int i = 0; i < fieldCount(); ++i) {
        const Field& f = m_fields[i];
        switch (f.type) {
        case FieldType::Text: m_bufTexts[i] = f.texts[m_current]; break;
        case FieldType::Integer: m_bufNums[i] = f.ints[m_current]; break;
        default: m_bufNums[i] = f.nums[m_current]; break;
        }
    }
    m_state = State::Edit;
}

void MemTable::post()
{
    requireOpen("post()");
    if (m_state == State::Insert) {
        const int row = m_rowCount;
        for (int i = 0; i < fieldCount(); ++i) {
            Field& f = m_fields[i];
            switch (f.type) {
            case FieldType::Text: f.texts.push_back(std::move(m_bufTexts[i])); break;
            case FieldType::Integer: f.ints.push_back(qint32(m_bufNums[i])); break;
            default: f.nums.push_back(m_bufNums[i]); break;
            }
        }
        ++m_rowCount;
        m_isPending.push_back(0);
        markPending(row);
        m_current = row;
    } else if (m_state == State::Edit) {
        const int row = m_current;
        bool keyChanged = false;
        if (m_sortField >= 0) {
            const Field& k = m_fields[m_sortField];
            switch (k.type) {
            case FieldType::Text: keyChanged = k.texts[row] != m_bufTexts[m_sortField]; break;
            case FieldType::Integer: keyChanged = k.ints[row] != qint32(m_bufNums[m_sortField]); break;
            default: keyChanged = k.nums[row] != m_bufNums[m_sortField]; break;
            }
        }
        // Take the row out of the order while its old key still locates it.
        if (keyChanged)
            removeFromOrder(row);
        for (int i = 0; i < fieldCount(); ++i) {
            Field& f = m_fields[i];
            switch (f.type) {
            case FieldType::Text: f.texts[row] = m_bufTexts[i]; break;
            case FieldType::Integer: f.ints[row] = qint32(m_bufNums[i]); break;
            default: f.nums[row] = m_bufNums[i]; break;
            }
        }
        if (keyChanged && !m_isPending[row])
            markPending(row);
    } else {
        return;
    }
    m_state = State::Browse;
    m_eof = m_bof = false;
}

void MemTable::cancel()
{
    requireOpen("cancel()");
    if (m_state == State::Insert || m_state == State::Edit)
        m_state = State::Browse;
}

// ---------------------------------------------------------------- order

// Calls f with the strict "comes before" relation of the current sort: key, then
// row id, so equal keys stay in append order and the order is total.
template <class F> decltype(auto) MemTable::withLess(F&& f) const
{
    if (m_sortField < 0)
        return f([](int a, int b) { return a < b; });
    const Field& k = m_fields[m_sortField];
    switch (k.type) {
    case FieldType::Text: {
        const QString* key = k.texts.data();
        return f([key](int a, int b) {
            const int c = QString::compare(key[a], key[b]);
            return c < 0 || (c == 0 && a < b);
        });
    }
    case FieldType::Integer: {
        const qint32* key = k.ints.data();
        return f([key](int a, int b) { return key[a] < key[b] || (key[a] == key[b] && a < b); });
    }
    default: {
        const double* key = k.nums.data();
        return f([key](int a, int b) { return key[a] < key[b] || (key[a] == key[b] && a < b); });
    }
    }
}

void MemTable::markPending(int row) const
{
    m_isPending[row] = 1;
    m_pending.push_back(row);
}

void MemTable::syncOrder() const
{
    if (m_pending.empty())
        return;
    for (int row : m_pending)
        m_isPending[row] = 0;
    if (m_sortField >= 0 && m_fields[m_sortField].type == FieldType::Text)
        sortPendingTexts();
    withLess([this](auto less) {
        if (m_sortField < 0 || m_fields[m_sortField].type != FieldType::Text)
            std::sort(m_pending.begin(), m_pending.end(), less);
        if (m_order.empty()) {
            m_order.swap(m_pending);
        } else if (less(m_order.back(), m_pending.front())) {
            // Rows arriving in key order go to the end and shift nobody.
            m_order.insert(m_order.end(), m_pending.begin(), m_pending.end());
        } else {
            const auto middle = m_order.insert(m_order.end(), m_pending.begin(), m_pending.end());
            std::inplace_merge(m_order.begin(), middle, m_order.end(), less);
            m_cachedPos = -1;
        }
    });
    m_pending.clear();
}

// Same order as withLess() for a text key, but sorting views of the characters next
// to the ids: one indirection less per comparison, which halves a large text sort.
void MemTable::sortPendingTexts() const
{
    struct Entry {
        std::u16string_view key;
        int row;
    };
    const std::vector<QString>& texts = m_fields[m_sortField].texts;
    std::vector<Entry> entries;
    entries.reserve(m_pending.size());
    for (int row : m_pending)
        entries.push_back({std::u16string_view(reinterpret_cast<const char16_t*>(texts[row].constData()), size_t(texts[row].size())), row});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.key.compare(b.key);
        return c < 0 || (c == 0 && a.row < b.row);
    });
    for (size_t i = 0; i < entries.size(); ++i)
        m_pending[i] = entries[i].row;
}

// Position of a row that is in m_order (not pending).
int MemTable::positionOf(int row) const
{
    if (m_cachedPos >= 0 && m_cachedPos < int(m_order.size()) && m_order[m_cachedPos] == row)
        return m_cachedPos;
    const auto it = withLess([&](auto less) { return std::lower_bound(m_order.begin(), m_order.end(), row, less); });
    m_cachedPos = int(it - m_order.begin());
    return m_cachedPos;
}

void MemTable::removeFromOrder(int row)
{
    if (m_isPending[row])
        return; // it is sorted with its new key when the order is next needed
    m_order.erase(m_order.begin() + positionOf(row));
    m_cachedPos = -1;
}

void MemTable::moveTo(int position)
{
    m_current = m_order[position];
    m_cachedPos = position;
    m_eof = m_bof = false;
}

// ---------------------------------------------------------------- navigation

void MemTable::first()
{
    requireOpen("first()");
    autoPost();
    syncOrder();
    if (m_order.empty()) {
        m_current = -1;
        m_eof = m_bof = true;
        return;
    }
    moveTo(0);
}

void MemTable::last()
{
    requireOpen("last()");
    autoPost();
    syncOrder();
    if (m_order.empty()) {
        m_current = -1;
        m_eof = m_bof = true;
        return;
    }
    moveTo(int(m_order.size()) - 1);
}

void MemTable::next()
{
    requireOpen("next()");
    autoPost();
    syncOrder();
    if (m_order.empty()) {
        m_eof = m_bof = true;
        return;
    }
    if (m_current < 0) {
        moveTo(0);
        return;
    }
    const int pos = positionOf(m_current);
    if (pos + 1 < int(m_order.size()))
        moveTo(pos + 1);
    else
        m_eof = true;
}

void MemTable::prior()
{
    requireOpen("prior()");
    autoPost();
    syncOrder();
    if (m_order.empty()) {
        m_eof = m_bof = true;
        return;
    }
    if (m_current < 0) {
        moveTo(0);
        return;
    }
    const int pos = positionOf(m_current);
    if (pos > 0)
        moveTo(pos - 1);
    else
        m_bof = true;
}

bool MemTable::eof() const
{
    requireOpen("eof()");
    return m_eof || m_rowCount == 0;
}

bool MemTable::bof() const
{
    requireOpen("bof()");
    return m_bof || m_rowCount == 0;
}

bool MemTable::isEmpty() const
{
    requireOpen("isEmpty()");
    return m_rowCount == 0;
}

int MemTable::recordCount() const
{
    requireOpen("recordCount()");
    return m_rowCount;
}

int MemTable::recNo() const
{
    requireOpen("recNo()");
    if (m_state == State::Insert || m_current < 0)
        return -1;
    syncOrder();
    return positionOf(m_current);
}

void MemTable::setRecNo(int recNo)
{
    requireOpen("setRecNo()");
    autoPost();
    syncOrder();
    if (recNo < 0 || recNo >= int(m_order.size()))
        fail(QStringLiteral("número de registro %1 fuera de rango (la tabla tiene %2 registros)")
                 .arg(recNo)
                 .arg(m_order.size()));
    moveTo(recNo);
}

bool MemTable::locate(const QString& fieldName, const QVariant& value)
{
    requireOpen("locate()");
    const int index = fieldIndex(fieldName);
    autoPost();
    const Field& f = m_fields[index];

    QString textTarget;
    double numTarget = 0;
    if (f.type == FieldType::Text)
        textTarget = variantToText(value);
    else if (!variantToNumber(value, numTarget))
        return false;

    auto matches = [&](int row) {
        switch (f.type) {
        case FieldType::Text: return f.texts[row] == textTarget;
        case FieldType::Integer: return double(f.ints[row]) == numTarget;
        default: return f.nums[row] == numTarget;
        }
    };

    int found = -1;
    int foundPos = -1;
    if (index == m_sortField) {
        // Binary search in the sorted part, plain scan of the few rows not merged yet.
        if (m_pending.size() > 64 + std::sqrt(double(m_order.size())))
            syncOrder();
        const auto it = std::lower_bound(m_order.begin(), m_order.end(), 0, [&](int row, int) {
            switch (f.type) {
            case FieldType::Text: return QString::compare(f.texts[row], textTarget) < 0;
            case FieldType::Integer: return double(f.ints[row]) < numTarget;
            default: return f.nums[row] < numTarget;
            }
        });
        if (it != m_order.end() && matches(*it)) {
            found = *it;
            foundPos = int(it - m_order.begin());
        }
        for (int row : m_pending)
            if ((found < 0 || row < found) && matches(row)) {
                found = row; // equal keys: the lower id comes first
                foundPos = -1;
            }
    } else if (m_sortField < 0) {
        for (int row = 0; row < m_rowCount && found < 0; ++row)
            if (matches(row))
                found = row;
    } else {
        withLess([&](auto less) {
            for (int row = 0; row < m_rowCount; ++row)
                if (matches(row) && (found < 0 || less(row, found)))
                    found = row;
        });
    }
    if (found < 0)
        return false;
    m_current = found;
    m_cachedPos = foundPos;
    m_eof = m_bof = false;
    return true;
}

// ---------------------------------------------------------------- field access

double MemTable::numAt(int index) const
{
    if (m_state == State::Insert || m_state == State::Edit)
        return m_bufNums[index];
    if (m_current < 0)
        return 0;
    const Field& f = m_fields[index];
    return f.type == FieldType::Integer ? f.ints[m_current] : f.nums[m_current];
}

const QString& MemTable::textAt(int index) const
{
    static const QString blank;
    if (m_state == State::Insert || m_state == State::Edit)
        return m_bufTexts[index];
    if (m_current < 0)
        return blank;
    return m_fields[index].texts[m_current];
}

double MemTable::fieldAsFloat(int index) const
{
    checkIndex(index);
    if (m_state == State::Closed)
        failField(index, QStringLiteral("la tabla está cerrada"));
    if (m_fields[index].type != FieldType::Text)
        return numAt(index);
    double v = 0;
    if (!parseNumber(textAt(index), v))
        failField(index, QStringLiteral("el texto '%1' no es un número").arg(textAt(index)));
    return v;
}

int MemTable::fieldAsInteger(int index) const
{
    const double v = fieldAsFloat(index);
    // A date reads as its day; other values round to the nearest integer.
    const double r = m_fields[index].type == FieldType::Date ? std::floor(v) : std::nearbyint(v);
    if (!(r >= double(INT_MIN) && r <= double(INT_MAX)))
        failField(index, QStringLiteral("el valor %1 no cabe en un entero").arg(numberText(v)));
    return int(r);
}

QString MemTable::fieldAsText(int index) const
{
    checkIndex(index);
    if (m_state == State::Closed)
        failField(index, QStringLiteral("la tabla está cerrada"));
    switch (m_fields[index].type) {
    case FieldType::Text: return textAt(index);
    case FieldType::Integer: return QString::number(qint64(numAt(index)));
    case FieldType::Float: return numberText(numAt(index));
    case FieldType::Date: return dateText(numAt(index));
    }
    return QString();
}

DateTime MemTable::fieldAsDateTime(int index) const
{
    checkIndex(index);
    if (m_state == State::Closed)
        failField(index, QStringLiteral("la tabla está cerrada"));
    if (m_fields[index].type != FieldType::Text)
        return DateTime(numAt(index));
    double serial = 0;
    if (!parseDate(textAt(index), serial))
        failField(index, QStringLiteral("el texto '%1' no es una fecha").arg(textAt(index)));
    return DateTime(serial);
}

QVariant MemTable::value(int index) const
{
    checkIndex(index);
    if (m_state == State::Closed)
        failField(index, QStringLiteral("la tabla está cerrada"));
    switch (m_fields[index].type) {
    case FieldType::Text: return QVariant(textAt(index));
    case FieldType::Integer: return QVariant(int(numAt(index)));
    case FieldType::Float: return QVariant(numAt(index));
    case FieldType::Date: return QVariant::fromValue(DateTime(numAt(index)));
    }
    return QVariant();
}

double MemTable::fieldAsFloat(const QString& name) const { return fieldAsFloat(fieldIndex(name)); }
int MemTable::fieldAsInteger(const QString& name) const { return fieldAsInteger(fieldIndex(name)); }
QString MemTable::fieldAsText(const QString& name) const { return fieldAsText(fieldIndex(name)); }
DateTime MemTable::fieldAsDateTime(const QString& name) const { return fieldAsDateTime(fieldIndex(name)); }
QVariant MemTable::value(const QString& name) const { return value(fieldIndex(name)); }

// ---------------------------------------------------------------- field assignment

void MemTable::setNum(int index, double value)
{
    if (m_fields[index].type == FieldType::Integer) {
        const double r = std::nearbyint(value);
        if (!(r >= double(INT_MIN) && r <= double(INT_MAX)))
            failField(index, QStringLiteral("el valor %1 no cabe en un campo entero").arg(numberText(value)));
        value = r;
    } else if (!std::isfinite(value)) {
        failField(index, QStringLiteral("valor numérico no válido"));
    }
    m_bufNums[index] = value;
}

void MemTable::setField(int index, double value)
{
    requireWritable(index);
    if (m_fields[index].type == FieldType::Text)
        m_bufTexts[index] = numberText(value);
    else
        setNum(index, value);
}

void MemTable::setField(int index, int value)
{
    requireWritable(index);
    if (m_fields[index].type == FieldType::Text)
        m_bufTexts[index] = QString::number(value);
    else
        m_bufNums[index] = value;
}

void MemTable::setField(int index, qint64 value)
{
    requireWritable(index);
    if (m_fields[index].type == FieldType::Text)
        m_bufTexts[index] = QString::number(value);
    else if (m_fields[index].type == FieldType::Integer && (value < INT_MIN || value > INT_MAX))
        failField(index, QStringLiteral("el valor %1 no cabe en un campo entero").arg(value));
    else
        m_bufNums[index] = double(value);
}

void MemTable::setField(int index, const QString& value)
{
    requireWritable(index);
    double v = 0;
    switch (m_fields[index].type) {
    case FieldType::Text:
        m_bufTexts[index] = value;
        return;
    case FieldType::Date:
        if (!parseDate(value, v))
            failField(index, QStringLiteral("el texto '%1' no es una fecha").arg(value));
        break;
    default:
        if (!parseNumber(value, v))
            failField(index, QStringLiteral("el texto '%1' no es un número").arg(value));
        break;
    }
    setNum(index, v);
}

void MemTable::setField(int index, const char* value)
{
    setField(index, QString::fromUtf8(value));
}

void MemTable::setField(int index, const DateTime& value)
{
    requireWritable(index);
    switch (m_fields[index].type) {
    case FieldType::Text: m_bufTexts[index] = dateText(value.serial()); break;
    case FieldType::Integer: setNum(index, std::floor(value.serial())); break;
    default: setNum(index, value.serial()); break;
    }
}

void MemTable::setField(int index, const QVariant& value)
{
    requireWritable(index);
    const FieldType type = m_fields[index].type;
    if (type == FieldType::Text) {
        m_bufTexts[index] = variantToText(value);
        return;
    }
    if (!isNullVariant(value) && isDateVariant(value)) {
        setField(index, DateTime(variantDateSerial(value)));
        return;
    }
    double v = 0;
    if (!variantToNumber(value, v))
        failField(index, QStringLiteral("el valor '%1' (%2) no se puede guardar en un campo %3")
                             .arg(value.toString(), QLatin1String(value.typeName()), typeName(type)));
    setNum(index, v);
}

void MemTable::setField(const QString& name, double value) { setField(fieldIndex(name), value); }
void MemTable::setField(const QString& name, int value) { setField(fieldIndex(name), value); }
void MemTable::setField(const QString& name, qint64 value) { setField(fieldIndex(name), value); }
void MemTable::setField(const QString& name, const QString& value) { setField(fieldIndex(name), value); }
void MemTable::setField(const QString& name, const char* value) { setField(fieldIndex(name), value); }
void MemTable::setField(const QString& name, const DateTime& value) { setField(fieldIndex(name), value); }
void MemTable::setField(const QString& name, const QVariant& value) { setField(fieldIndex(name), value); }

} // namespace lumetra
