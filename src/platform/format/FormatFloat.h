// Number <-> text conversion with the listings' format patterns.
//
// FormatFloat pattern language (one section, or "pos;neg;zero" sections split on
// ';' outside quotes):
//   0      digit always printed        #   digit printed only when significant
//   ,      anywhere: group the integer digits in threes with the thousand separator
//   .      the first one marks the decimal position; later ones print nothing
//   '..' / "..": copied verbatim       anything else (space, %, €, letters): copied
// Every integer placeholder from the first '0' on is a digit always printed ("0##" with 5
// gives "005"); integer digits beyond the placeholders are always printed. Decimals are
// rounded half away from zero on the value's 15-significant-digit decimal form, so
// 2.675 under "0.00" gives "2,68". '%' is literal (no scaling by 100). Literal
// text between two digit placeholders prints where it stands ("00-00" with 1234 gives
// "12-34"), when digits stand on its left. A section
// without digit placeholders prints just its literal text. A negative value gets a
// leading '-' before everything, unless it rounds to zero or a negative section
// is used (that one prints the absolute value). NaN and infinities give "NAN",
// "INF", "-INF". An empty pattern behaves like FloatToStr.
//
// FloatToStr: at most 15 significant digits, no trailing zeros; scientific
// notation ("1,5E-6", "1E15") only for |v| >= 1e15 or |v| < 1e-5.
//
// StrToFloat accepts blanks around an optional sign, digits with the settings'
// decimal separator and an optional exponent; thousand separators are rejected.
#pragma once

#include "platform/format/FormatSettings.h"

#include <QString>
#include <stdexcept>

namespace lumetra {

// A text could not be read as a number or date. what() is UTF-8 Spanish text.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const QString& message);
    QString message() const;
};

QString FormatFloat(const QString& pattern, double value,
                    const FormatSettings& fs = FormatSettings::current());
QString FloatToStr(double value, const FormatSettings& fs = FormatSettings::current());
double StrToFloat(const QString& text, const FormatSettings& fs = FormatSettings::current());
bool TryStrToFloat(const QString& text, double& out,
                   const FormatSettings& fs = FormatSettings::current());

} // namespace lumetra
