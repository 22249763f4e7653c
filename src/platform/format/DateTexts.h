// Date <-> text conversion driven by FormatSettings.
//
// FormatDateTime tokens (case-insensitive): d dd (day), ddd dddd (short/long day
// name), m mm (month; minutes when the previous token was an hour), mmm mmmm
// (short/long month name), yy yyyy, h hh (24-hour), n nn (minutes), s ss,
// z zzz (milliseconds). Text in '...' or "..." and every other character are
// copied as they are.
//
// StrToDate reads day, month and year in the order of the settings' short date
// pattern, separated by that pattern's separator character. The year may be
// omitted (current year) or given with two digits (taken within 50 years before
// the current year or later). Bad or impossible dates throw FormatError.
//
// SqlDateLiteral is the month-first form ("06/15/2013") used inside SQL text; it
// never depends on the settings.
#pragma once

#include "platform/format/DateTime.h"
#include "platform/format/FormatFloat.h"
#include "platform/format/FormatSettings.h"

#include <QString>

namespace lumetra {

QString FormatDateTime(const QString& pattern, const DateTime& dateTime,
                       const FormatSettings& fs = FormatSettings::current());
QString DateToStr(const DateTime& dateTime, const FormatSettings& fs = FormatSettings::current());
DateTime StrToDate(const QString& text, const FormatSettings& fs = FormatSettings::current());
QString SqlDateLiteral(const DateTime& dateTime);

} // namespace lumetra
