#include "platform/format/DateTime.h"

#include <QTime>

#include <cmath>

namespace lumetra {

namespace {

constexpr qint64 kMsecsPerDay = 86400000;
// Far beyond any real date, small enough to keep the arithmetic exact.
constexpr double kMaxSerialMagnitude = 1e9;

QDate epoch()
{
    return QDate(1899, 12, 30);
}

// Splits a serial into a day offset from the epoch and milliseconds since midnight.
bool split(double serial, qint64& days, qint64& msecs)
{
    if (!std::isfinite(serial) || std::fabs(serial) > kMaxSerialMagnitude)
        return false;
    const double whole = std::trunc(serial);
    days = qint64(whole);
    msecs = std::llround(std::fabs(serial - whole) * double(kMsecsPerDay));
    if (msecs >= kMsecsPerDay) {
        msecs -= kMsecsPerDay;
        ++days;
    }
    return true;
}

} // namespace

DateTime DateTime::fromDate(const QDate& date)
{
    if (!date.isValid())
        return zero();
    return DateTime(double(epoch().daysTo(date)));
}

DateTime DateTime::fromDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return zero();
    const double days = double(epoch().daysTo(dateTime.date()));
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / double(kMsecsPerDay);
    return DateTime(days < 0 ? days - fraction : days + fraction);
}

DateTime DateTime::fromYmd(int year, int month, int day)
{
    return fromDate(QDate(year, month, day));
}

DateTime DateTime::farFuture()
{
    return fromYmd(2079, 5, 30);
}

DateTime DateTime::now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

DateTime DateTime::today()
{
    return fromDate(QDate::currentDate());
}

QDate DateTime::date() const
{
    qint64 days = 0;
    qint64 msecs = 0;
    if (!split(m_serial, days, msecs))
        return QDate();
    return epoch().addDays(days);
}

QTime DateTime::time() const
{
    qint64 days = 0;
    qint64 msecs = 0;
    if (!split(m_serial, days, msecs))
        return QTime();
    return QTime::fromMSecsSinceStartOfDay(int(msecs));
}

QDateTime DateTime::toDateTime() const
{
    qint64 days = 0;
    qint64 msecs = 0;
    if (!split(m_serial, days, msecs))
        return QDateTime();
    return QDateTime(epoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

DateTime DateTime::dateOnly() const
{
    return fromDate(date());
}

void DateTime::decode(int& year, int& month, int& day) const
{
    date().getDate(&year, &month, &day);
}

} // namespace lumetra
