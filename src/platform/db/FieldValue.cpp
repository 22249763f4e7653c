#include "platform/db/FieldValue.h"

#include "platform/format/DateTexts.h"
#include "platform/format/FormatFloat.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>

namespace lumetra::fieldvalue {

double toFloat(const QVariant& value)
{
    if (value.isNull())
        return 0.0;
    switch (value.typeId()) {
    case QMetaType::QString:
        return StrToFloat(value.toString());
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return toDateTime(value).serial();
    default:
        return value.toDouble();
    }
}

int toInteger(const QVariant& value)
{
    if (value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return static_cast<int>(std::llround(value.toDouble()));
    case QMetaType::QString:
        return static_cast<int>(std::llround(StrToFloat(value.toString())));
    default:
        return value.toInt();
    }
}

QString toText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(value.toDouble());
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return DateToStr(toDateTime(value));
    default:
        return value.toString();
    }
}

DateTime toDateTime(const QVariant& value)
{
    if (value.isNull())
        return DateTime::zero();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return DateTime::fromDate(value.toDate());
    case QMetaType::QDateTime:
        return DateTime::fromDateTime(value.toDateTime());
    case QMetaType::QTime: {
        const QTime t = value.toTime();
        return DateTime(t.msecsSinceStartOfDay() / 86400000.0);
    }
    case QMetaType::QString:
        return StrToDate(value.toString());
    default:
        return DateTime(value.toDouble());
    }
}

QVariant fromDateTime(const DateTime& value)
{
    return QVariant(value.toDateTime());
}

} // namespace lumetra::fieldvalue
