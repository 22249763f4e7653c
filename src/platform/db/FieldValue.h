// How a database value reads as a float, an integer, a text or a date. NULL reads as 0, the
// empty text or the zero date, the way the listings expect a missing value to print.
#pragma once

#include "platform/format/DateTime.h"

#include <QString>
#include <QVariant>

namespace lumetra::fieldvalue {

double toFloat(const QVariant& value);
int toInteger(const QVariant& value);   // floats are rounded to the nearest integer
QString toText(const QVariant& value);  // numbers with FloatToStr, dates as dd/mm/yyyy
DateTime toDateTime(const QVariant& value);
QVariant fromDateTime(const DateTime& value);

} // namespace lumetra::fieldvalue
