#include "platform/format/DateTexts.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace lumetra {

namespace {

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

qsizetype runLength(const QString& text, qsizetype from)
{
    const QChar c = text[from].toLower();
    qsizetype i = from;
    while (i < text.size() && text[i].toLower() == c)
        ++i;
    return i - from;
}

// Field order ("dmy", "mdy", "ymd", ...) and separator of a short date pattern.
struct DateLayout {
    QString order;
    QChar separator = u'/';
};

DateLayout layoutOf(const QString& pattern)
{
    DateLayout layout;
    bool separatorFound = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (isQuote(c)) {
            const qsizetype close = pattern.indexOf(c, i + 1);
            i = close < 0 ? pattern.size() : close;
            continue;
        }
        const QChar lower = c.toLower();
        if (lower == u'd' || lower == u'm' || lower == u'y') {
            if (!layout.order.contains(lower))
                layout.order += lower;
        } else if (!separatorFound && !c.isSpace()) {
            layout.separator = c;
            separatorFound = true;
        }
    }
    if (layout.order.size() != 3)
        layout.order = QStringLiteral("dmy");
    return layout;
}

std::optional<int> readField(QStringView field, qsizetype maxDigits)
{
    if (field.isEmpty() || field.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (QChar c : field) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// A two-digit year falls within the 100 years starting 50 years ago.
int expandTwoDigitYear(int year)
{
    const int windowStart = QDate::currentDate().year() - 50;
    int expanded = windowStart / 100 * 100 + year;
    if (expanded < windowStart)
        expanded += 100;
    return expanded;
}

std::optional<QDate> parseDate(const QString& text, const FormatSettings& fs)
{
    const DateLayout layout = layoutOf(fs.shortDateFormat);
    const QList<QStringView> fields = QStringView(text).trimmed().split(layout.separator);
    if (fields.size() != 2 && fields.size() != 3)
        return std::nullopt;
    const QString order = fields.size() == 3 ? layout.order : QString(layout.order).remove(u'y');

    int day = 0;
    int month = 0;
    int year = QDate::currentDate().year();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QStringView field = fields[i].trimmed();
        const bool isYear = order[i] == u'y';
        const std::optional<int> value = readField(field, isYear ? 4 : 2);
        if (!value)
            return std::nullopt;
        if (order[i] == u'd')
            day = *value;
        else if (order[i] == u'm')
            month = *value;
        else
            year = field.size() <= 2 ? expandTwoDigitYear(*value) : *value;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

QString FormatDateTime(const QString& pattern, const DateTime& dateTime, const FormatSettings& fs)
{
    // Straight from the serial: no time-zone conversion, which is slow and may shift a time
    // that does not exist locally.
    const QDate date = dateTime.date();
    if (!date.isValid())
        return QString();
    const QTime time = dateTime.time();

    QString out;
    bool afterHour = false; // an m/mm right after an hour token means minutes
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (isQuote(c)) {
            const qsizetype close = pattern.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            out += QStringView(pattern).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const qsizetype run = runLength(pattern, i);
        qsizetype used = 1;
        bool hourToken = false;
        switch (c.toLower().unicode()) {
        case u'd':
            used = std::min<qsizetype>(run, 4);
            if (used == 1)
                out += QString::number(date.day());
            else if (used == 2)
                out += padded(date.day(), 2);
            else
                out += (used == 3 ? fs.shortDayNames : fs.longDayNames).value(date.dayOfWeek() % 7);
            break;
        case u'm':
            used = std::min<qsizetype>(run, afterHour ? 2 : 4);
            if (afterHour)
                out += used == 1 ? QString::number(time.minute()) : padded(time.minute(), 2);
            else if (used == 1)
                out += QString::number(date.month());
            else if (used == 2)
                out += padded(date.month(), 2);
            else
                out += (used == 3 ? fs.shortMonthNames : fs.longMonthNames).value(date.month() - 1);
            break;
        case u'y':
            used = run;
            out += run <= 2 ? padded(date.year() % 100, 2) : padded(date.year(), 4);
            break;
        case u'h':
            used = std::min<qsizetype>(run, 2);
            out += used == 1 ? QString::number(time.hour()) : padded(time.hour(), 2);
            hourToken = true;
            break;
        case u'n':
            used = std::min<qsizetype>(run, 2);
            out += used == 1 ? QString::number(time.minute()) : padded(time.minute(), 2);
            break;
        case u's':
            used = std::min<qsizetype>(run, 2);
            out += used == 1 ? QString::number(time.second()) : padded(time.second(), 2);
            break;
        case u'z':
            used = run >= 3 ? 3 : 1;
            out += used == 1 ? QString::number(time.msec()) : padded(time.msec(), 3);
            break;
        default:
            out += c;
            i += 1;
            continue; // literals leave the hour context alone ("hh:mm")
        }
        afterHour = hourToken;
        i += used;
    }
    return out;
}

QString DateToStr(const DateTime& dateTime, const FormatSettings& fs)
{
    return FormatDateTime(fs.shortDateFormat, dateTime, fs);
}

DateTime StrToDate(const QString& text, const FormatSettings& fs)
{
    const std::optional<QDate> date = parseDate(text, fs);
    if (!date)
        throw FormatError(QStringLiteral("«%1» no es una fecha válida").arg(text));
    return DateTime::fromDate(*date);
}

QString SqlDateLiteral(const DateTime& dateTime)
{
    int year = 0;
    int month = 0;
    int day = 0;
    dateTime.decode(year, month, day);
    return padded(month, 2) + u'/' + padded(day, 2) + u'/' + padded(year, 4);
}

} // namespace lumetra
