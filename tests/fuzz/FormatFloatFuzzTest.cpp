// FormatFloat over random patterns and values (fixed seeds). Every result is checked against a
// rounding computed here from printf's 15-significant-digit form of the value, and against the
// rules that tie a pattern's sections together; any pattern at all prints only digits,
// separators, a sign and its own characters.
#include "Rng.h"
#include "platform/format/FormatFloat.h"
#include "platform/format/PrintQString.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

using namespace lumetra;
using lumetra::fuzz::Rng;

namespace {

const FormatSettings kSpanish = FormatSettings::spanish();

// |value| rounded half away from zero to `decimals` digits on its 15-significant-digit form:
// the integer digits without leading zeros ("0" when none) and exactly `decimals` fraction digits.
struct Rounded {
    std::string integer;
    std::string fraction;
    bool isZero() const
    {
        return integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
    }
};

Rounded referenceRound(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", std::fabs(value)); // d.dddddddddddddde+x
    std::uint64_t mantissa = 0;
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            mantissa = mantissa * 10 + std::uint64_t(*p - '0');
    // The rounded value is mantissa * 10^scale units of the last decimal.
    const int scale = std::atoi(p + 1) - 14 + decimals;
    std::string digits;
    if (scale >= 0) {
        digits = std::to_string(mantissa) + std::string(size_t(scale), '0');
    } else if (-scale > 15) {
        digits = "0"; // below a tenth of the last decimal
    } else {
        std::uint64_t unit = 1;
        for (int i = 0; i < -scale; ++i)
            unit *= 10;
        digits = std::to_string(mantissa / unit + (2 * (mantissa % unit) >= unit ? 1 : 0));
    }
    if (digits.size() <= size_t(decimals))
        digits.insert(0, size_t(decimals) + 1 - digits.size(), '0');
    Rounded r;
    r.integer = digits.substr(0, digits.size() - size_t(decimals));
    r.fraction = digits.substr(digits.size() - size_t(decimals));
    r.integer.erase(0, std::min(r.integer.find_first_not_of('0'), r.integer.size() - 1));
    return r;
}

QString grouped(const std::string& digits)
{
    QString out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += u'.';
        out += QLatin1Char(digits[i]);
    }
    return out;
}

double decimalText(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

// Values where formatting goes wrong first: specials, both zeros, the limits of double, the 1e15
// boundary of the integer paths, halves at the decimal being rounded, amounts, any bit pattern.
double randomValue(Rng& rng)
{
    static const double kEdges[] = {
        0.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        DBL_MAX, DBL_MIN, std::numeric_limits<double>::denorm_min(), 1e15, 1e15 - 1, 1e15 + 2,
        999999999999999.5, 999999999999999.875, std::nextafter(1e15, 0.0), 0.5, 0.005, 0.0049999999999999,
        9.995, 99.995, 0.125, 1e-5, 1e-6, 4.35, 2.675, 1.005, 1e300, 1e-300, 9007199254740992.0,
        9223372036854775808.0, 18446744073709551616.0, 0.1 + 0.2, 1234567.891};
    double v = 0;
    switch (rng.below(9)) {
    case 0:
        v = rng.pick(kEdges);
        break;
    case 1:
        v = std::bit_cast<double>(rng.next());
        break;
    case 2: // cents
        v = double(rng.next() % 100000000000000ull) / 100;
        break;
    case 3: { // a half at one of the first decimals, as written in the database
        const int decimals = rng.below(7);
        std::string text = std::to_string(rng.next() % 10000000ull) + ".";
        for (int i = 0; i < decimals; ++i)
            text += char('0' + rng.below(10));
        v = decimalText(text + "5");
        break;
    }
    case 4: // any magnitude
        v = (1 + double(rng.next() >> 11) / 9007199254740992.0 * 9) * std::pow(10.0, rng.below(61) - 30);
        break;
    case 5: // around a power of ten
        v = std::pow(10.0, rng.below(23));
        for (int steps = rng.below(4); steps > 0; --steps)
            v = std::nextafter(v, rng.chance(50) ? 0.0 : DBL_MAX);
        if (rng.chance(30))
            v += rng.below(7) - 3;
        break;
    case 6: // small whole numbers
        v = rng.below(100001);
        break;
    case 7: // whole numbers up to 2^53, 16 digits and more
        v = double(rng.next() >> 11);
        break;
    default:
        v = double(rng.next() % 1000000) / std::pow(10.0, rng.below(9));
        break;
    }
    return rng.chance(50) ? -v : v;
}

// A pattern built from known parts, so the test knows what it asks for. Its literals use none of
// the characters a number prints (digits, separators, sign).
const QString kLiteralChars = QStringLiteral("abxzEK %€$/()ºª");

struct Shape {
    QString pattern;
    QString literals;          // every literal character, in order
    QString prefix;            // the literal text before the first placeholder
    QString suffix;            // the literal text after the last one
    int placeholders = 0;
    int decimals = 0;          // placeholders after the decimal position
    int minDecimals = 0;       // up to the last '0' after it
    int minInteger = 0;        // integer placeholders from the first '0' on
    bool grouping = false;
    bool integerLiterals = false; // literal text between integer digits
};

QString addLiteral(Rng& rng, Shape& s)
{
    QString text;
    for (int n = 1 + rng.below(3); n > 0; --n)
        text += rng.pickChar(kLiteralChars);
    s.literals += text;
    if (rng.chance(30)) {
        const QChar quote = rng.chance(50) ? u'\'' : u'"';
        s.pattern += quote + text + quote;
    } else {
        s.pattern += text;
    }
    return text;
}

void addPlaceholders(Rng& rng, Shape& s, int count, bool fraction)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0 && rng.chance(10)) {
            addLiteral(rng, s);
            if (!fraction)
                s.integerLiterals = true;
        }
        if (rng.chance(fraction ? 4 : 15)) {
            s.pattern += u',';
            s.grouping = true;
        }
        if (fraction && rng.chance(4))
            s.pattern += u'.'; // a later period prints nothing
        const bool zero = rng.chance(50);
        s.pattern += zero ? u'0' : u'#';
        ++s.placeholders;
        if (fraction) {
            ++s.decimals;
            if (zero)
                s.minDecimals = s.decimals;
        } else if (zero && s.minInteger == 0) {
            s.minInteger = count - i;
        }
    }
}

Shape randomShape(Rng& rng)
{
    Shape s;
    do {
        s = Shape{};
        if (rng.chance(40))
            s.prefix = addLiteral(rng, s);
        const int integerCount = rng.below(7);
        addPlaceholders(rng, s, integerCount, false);
        if (rng.chance(8)) {
            s.pattern += u',';
            s.grouping = true;
        }
        if (rng.chance(70)) {
            if (integerCount > 0 && rng.chance(8)) {
                addLiteral(rng, s);
                s.integerLiterals = true;
            }
            s.pattern += u'.';
            addPlaceholders(rng, s, rng.below(7), true);
        }
        if (rng.chance(40)) {
            const QString text = addLiteral(rng, s);
            (s.placeholders == 0 ? s.prefix : s.suffix) += text;
        }
    } while (s.pattern.isEmpty()); // an empty pattern is FloatToStr
    return s;
}

QString describe(const QString& pattern, double value)
{
    char hex[64];
    std::snprintf(hex, sizeof hex, "%a", value);
    return QStringLiteral("pattern «%1» value %2 (%3)").arg(pattern, QString::number(value, 'g', 17), QLatin1String(hex));
}

// Collects the first failures, so one broken rule does not flood the log.
class Failures {
public:
    void operator()(bool ok, const QString& what, const QString& input, const QString& got, const QString& expected = {})
    {
        if (ok)
            return;
        if (++count_ <= 10)
            ADD_FAILURE() << what.toStdString() << " for " << input.toStdString() << ": got «" << got.toStdString()
                          << "»" << (expected.isNull() ? "" : ", expected «" + expected.toStdString() + "»");
    }
    int count() const { return count_; }

private:
    int count_ = 0;
};

// Whether |value| prints as zero under a section of the shape.
bool zeroUnder(const Shape& s, double value)
{
    return s.placeholders == 0 ? value == 0 : referenceRound(value, s.decimals).isZero();
}

// The output of a one-section shape, read back: sign, the digits where the shape puts them, the
// separators where they belong, and the rounded value of the reference.
void checkShape(const Shape& s, double value, const QString& out, Failures& fail)
{
    static const QRegularExpression threes(QStringLiteral("^\\d{1,3}(\\.\\d{3})*$"));
    const QString input = describe(s.pattern, value);
    const bool negative = value < 0 && !zeroUnder(s, value);
    if (s.placeholders == 0) {
        const QString expected = (negative ? QStringLiteral("-") : QString()) + s.literals;
        fail(out == expected, "a pattern without digits prints its literal text", input, out, expected);
        return;
    }
    QString number = out;
    fail(out.startsWith(u'-') == negative, "a minus sign exactly when the value prints as negative", input, out);
    if (negative)
        number.remove(0, 1);
    // The number starts right after the prefix, with a digit or the decimal separator: a literal
    // between digits never prints before the first digit.
    fail(number.startsWith(s.prefix) && number.endsWith(s.suffix), "the prefix and suffix around the number", input, out);
    const QString afterPrefix = number.mid(s.prefix.size());
    fail(afterPrefix == s.suffix || (!afterPrefix.isEmpty() && (afterPrefix[0].isDigit() || afterPrefix[0] == u',')),
         "digits right after the prefix", input, out);
    for (QChar c : kLiteralChars)
        number.remove(c);
    const qsizetype point = number.indexOf(u',');
    QString integer = point < 0 ? number : number.left(point);
    const QString fraction = point < 0 ? QString() : number.mid(point + 1);
    bool digitsOnly = true;
    for (QChar c : integer)
        digitsOnly = digitsOnly && (c.isDigit() || c == u'.');
    for (QChar c : fraction)
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    fail(digitsOnly, "only digits and separators besides the literals", input, out);
    if (!digitsOnly)
        return;
    if (!s.grouping)
        fail(!integer.contains(u'.'), "no thousands separator without ','", input, out);
    else if (!s.integerLiterals)
        fail(integer.isEmpty() || threes.match(integer).hasMatch(), "the integer digits grouped in threes", input, out);
    integer.remove(u'.');
    fail(point < 0 || !fraction.isEmpty(), "a decimal separator only before decimals", input, out);
    fail(fraction.size() >= s.minDecimals && fraction.size() <= s.decimals, "as many decimals as the pattern asks",
         input, out);
    fail(fraction.size() <= s.minDecimals || !fraction.endsWith(u'0'), "an optional decimal prints no trailing zero",
         input, out);
    fail(integer.size() >= s.minInteger, "every integer '0' from the first on prints", input, out);

    const Rounded r = referenceRound(value, s.decimals);
    QString readInteger = integer;
    while (readInteger.size() > 1 && readInteger.front() == u'0')
        readInteger.remove(0, 1);
    if (readInteger.isEmpty())
        readInteger = QStringLiteral("0");
    const QString readFraction = fraction.leftJustified(s.decimals, u'0');
    const QString expected = QString::fromStdString(r.integer) + u'|' + QString::fromStdString(r.fraction);
    fail(readInteger + u'|' + readFraction == expected, "the printed digits are the value rounded half away from zero",
         input, out, expected);
}

TEST(FormatFloatFuzz, PlainPatternsRoundLikeTheReference)
{
    Rng rng(20130615);
    Failures fail;
    const int inputs = lumetra::fuzz::budget(1000000);
    for (int n = 0; n < inputs; ++n) {
        const double value = randomValue(rng);
        if (!std::isfinite(value))
            continue;
        const int decimals = rng.below(7);
        const QString pattern = decimals == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(decimals, u'0');
        const Rounded r = referenceRound(value, decimals);
        const QString sign = value < 0 && !r.isZero() ? QStringLiteral("-") : QString();
        const QString fraction = decimals == 0 ? QString() : u',' + QString::fromStdString(r.fraction);
        const QString plain = FormatFloat(pattern, value, kSpanish);
        fail(plain == sign + QString::fromStdString(r.integer) + fraction, "plain pattern", describe(pattern, value),
             plain, sign + QString::fromStdString(r.integer) + fraction);

        const Rounded cents = referenceRound(value, 2);
        const QString centsSign = value < 0 && !cents.isZero() ? QStringLiteral("-") : QString();
        const QString amount = FormatFloat(QStringLiteral("#,##0.00"), value, kSpanish);
        const QString expected = centsSign + grouped(cents.integer) + u',' + QString::fromStdString(cents.fraction);
        fail(amount == expected, "amount pattern", describe(QStringLiteral("#,##0.00"), value), amount, expected);

        // Reading an amount back and rounding it again changes nothing (amounts are rounded this
        // way, then summed and rounded again). Beyond 1e300 the 15-digit form may exceed DBL_MAX.
        if (std::fabs(value) < 1e300) {
            const QString twoDecimals = FormatFloat(QStringLiteral("0.00"), value, kSpanish);
            double back = 0;
            const bool read = TryStrToFloat(twoDecimals, back, kSpanish);
            fail(read && FormatFloat(QStringLiteral("0.00"), back, kSpanish) == twoDecimals,
                 "rounding a rounded amount again changes nothing", describe(QStringLiteral("0.00"), value),
                 read ? FormatFloat(QStringLiteral("0.00"), back, kSpanish) : QStringLiteral("(unreadable)"), twoDecimals);
        }
        if (fail.count() > 10)
            break;
    }
    EXPECT_EQ(fail.count(), 0);
}

TEST(FormatFloatFuzz, BuiltPatternsPrintTheValueTheyAskFor)
{
    Rng rng(41275);
    Failures fail;
    const int inputs = lumetra::fuzz::budget(1000000);
    for (int n = 0; n < inputs; ++n) {
        const Shape s = randomShape(rng);
        const double value = randomValue(rng);
        const QString out = FormatFloat(s.pattern, value, kSpanish);
        if (!std::isfinite(value)) {
            const QString special = std::isnan(value) ? QStringLiteral("NAN") : value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
            fail(out == special, "NaN and infinities", describe(s.pattern, value), out, special);
            continue;
        }
        checkShape(s, value, out, fail);
        // An empty negative section is no negative section (this also keeps the whole-number
        // shortcut for zero-only patterns equal to the general path).
        fail(FormatFloat(s.pattern + u';', value, kSpanish) == out, "an empty second section changes nothing",
             describe(s.pattern + u';', value), FormatFloat(s.pattern + u';', value, kSpanish), out);
        // The sign is the only difference between a value and its opposite.
        if (value != 0) {
            const QString positive = FormatFloat(s.pattern, std::fabs(value), kSpanish);
            const QString negative = FormatFloat(s.pattern, -std::fabs(value), kSpanish);
            const QString expected = zeroUnder(s, value) ? positive : u'-' + positive;
            fail(negative == expected, "opposite values differ by the sign", describe(s.pattern, -std::fabs(value)),
                 negative, expected);
        }
        if (n % 4 == 0) {
            const Shape neg = randomShape(rng);
            const Shape zero = randomShape(rng);
            const QString two = s.pattern + u';' + neg.pattern;
            const QString twoOut = FormatFloat(two, value, kSpanish);
            const QString twoExpected = value < 0 ? FormatFloat(neg.pattern, -value, kSpanish) : out;
            fail(twoOut == twoExpected, "a negative value prints its absolute value by the second section",
                 describe(two, value), twoOut, twoExpected);
            const QString three = two + u';' + zero.pattern;
            const QString threeOut = FormatFloat(three, value, kSpanish);
            const QString threeExpected = zeroUnder(value < 0 ? neg : s, value) ? FormatFloat(zero.pattern, 0, kSpanish) : twoOut;
            fail(threeOut == threeExpected, "a value that prints as zero takes the third section", describe(three, value),
                 threeOut, threeExpected);
        }
        if (fail.count() > 10)
            break;
    }
    EXPECT_EQ(fail.count(), 0);
}

TEST(FormatFloatFuzz, AnyPatternPrintsOnlyItsOwnCharacters)
{
    Rng rng(8001);
    Failures fail;
    const QString alphabet = QStringLiteral("0#,.;'\" -%€aEx1239ñ\t\n") + QChar(0x202E) + QChar(0x200F);
    const int inputs = lumetra::fuzz::budget(1000000);
    for (int n = 0; n < inputs; ++n) {
        QString pattern;
        const int length = rng.chance(2) ? rng.below(400) : rng.below(16);
        for (int i = 0; i < length; ++i)
            pattern += rng.chance(3) ? rng.anyUnit() : rng.pickChar(alphabet);
        const double value = randomValue(rng);
        const QString out = FormatFloat(pattern, value, kSpanish);
        const QString input = describe(pattern, value);
        if (!std::isfinite(value)) {
            const QString special = std::isnan(value) ? QStringLiteral("NAN") : value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
            fail(out == special, "NaN and infinities", input, out, special);
        } else if (pattern.isEmpty()) {
            fail(out == FloatToStr(value, kSpanish), "an empty pattern is FloatToStr", input, out, FloatToStr(value, kSpanish));
        } else {
            bool own = true;
            for (QChar c : out)
                own = own && ((c >= u'0' && c <= u'9') || c == u',' || c == u'.' || c == u'-' || pattern.contains(c));
            fail(own, "only digits, separators, a sign and the pattern's characters", input, out);
            // Each placeholder prints at most one digit and its separators, except the leftmost
            // integer one, which takes every remaining digit (at most 309).
            fail(out.size() <= 2 * pattern.size() + 420, "no text repeated", input, out);
        }
        if (fail.count() > 10)
            break;
    }
    EXPECT_EQ(fail.count(), 0);
}

} // namespace
