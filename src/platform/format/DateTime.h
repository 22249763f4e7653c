// DateTime: a point in time as a day serial, the way the shop data stores it:
// whole days since 30/12/1899 plus the time of day as a fraction. Serial 0
// (30/12/1899 00:00) is "the empty date"; farFuture() (30/05/2079) marks records
// that are not finished yet. Conversions to and from Qt use local wall-clock
// date and time as they are, with no time-zone shifting. As in the data this
// mirrors, a negative serial still keeps a positive time of day: -1.25 is
// 29/12/1899 06:00. Comparisons are on the serial.
#pragma once

#include <QDate>
#include <QDateTime>

#include <compare>

namespace lumetra {

class DateTime {
public:
    constexpr DateTime() = default;
    explicit constexpr DateTime(double serial) : m_serial(serial) {}

    // An invalid date or date-time gives zero().
    static DateTime fromDate(const QDate& date);
    static DateTime fromDateTime(const QDateTime& dateTime);
    static DateTime fromYmd(int year, int month, int day);
    static constexpr DateTime zero() { return DateTime(); }
    // 31/12/1899: the first day a date can be; the day before is the empty date.
    static constexpr DateTime earliest() { return DateTime(1); }
    static DateTime farFuture();
    static DateTime now();
    static DateTime today();

    double serial() const { return m_serial; }
    // Calendar date, consistent with toDateTime() (a time that rounds to 24:00
    // belongs to the next day). Invalid for a non-finite or absurd serial.
    QDate date() const;
    // Local date-time, time rounded to the millisecond.
    QDateTime toDateTime() const;
    QTime time() const;   // the time of day, to the millisecond
    bool isZero() const { return m_serial == 0; }
    DateTime dateOnly() const;
    void decode(int& year, int& month, int& day) const;

    friend bool operator==(const DateTime&, const DateTime&) = default;
    friend std::partial_ordering operator<=>(const DateTime&, const DateTime&) = default;

private:
    double m_serial = 0;
};

} // namespace lumetra
