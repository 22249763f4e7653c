#include "platform/format/FormatFloat.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace lumetra {

FormatError::FormatError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QString FormatError::message() const
{
    return QString::fromUtf8(what());
}

namespace {

constexpr int kSignificantDigits = 15;

// |value| as decimal digits: value = 0.<digits> * 10^pointPos. Digits carry no
// leading or trailing zeros and are empty for zero.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0)
        return d;
    // to_chars is locale independent, unlike printf.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buf, res.ptr - buf);
    const auto e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits += c;
    std::string_view expText = text.substr(e + 1);
    const bool expNegative = expText.front() == '-';
    if (expText.front() == '-' || expText.front() == '+')
        expText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    d.pointPos = (expNegative ? -exponent : exponent) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// The decimal rounded half away from zero to exactly `decimals` fraction digits.
struct Fixed {
    std::string intPart; // may have leading zeros or be empty
    std::string fracPart;
    bool isZero() const
    {
        return intPart.find_first_not_of('0') == std::string::npos
               && fracPart.find_first_not_of('0') == std::string::npos;
    }
};

Fixed toFixed(const Decimal& d, int decimals)
{
    Fixed f;
    const int size = int(d.digits.size());
    std::string allFrac;
    if (d.pointPos > 0) {
        f.intPart = d.digits.substr(0, std::min(d.pointPos, size));
        f.intPart.append(std::max(0, d.pointPos - size), '0');
        if (d.pointPos < size)
            allFrac = d.digits.substr(d.pointPos);
    } else {
        allFrac = std::string(-d.pointPos, '0') + d.digits;
    }
    const bool roundUp = int(allFrac.size()) > decimals && allFrac[decimals] >= '5';
    f.fracPart = allFrac.substr(0, std::min<size_t>(decimals, allFrac.size()));
    f.fracPart.append(decimals - f.fracPart.size(), '0');
    if (roundUp) {
        bool carry = true;
        for (auto* part : {&f.fracPart, &f.intPart}) {
            for (auto it = part->rbegin(); carry && it != part->rend(); ++it) {
                if (*it == '9') {
                    *it = '0';
                } else {
                    ++*it;
                    carry = false;
                }
            }
        }
        if (carry)
            f.intPart.insert(f.intPart.begin(), '1');
    }
    return f;
}

QString groupThousands(const std::string& digits, QChar separator)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += QLatin1Char(digits[i]);
    }
    return out;
}

QString specialValue(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

// Index just past the quoted text opening at `open` (the whole rest when unclosed).
qsizetype skipQuoted(QStringView text, qsizetype open)
{
    const qsizetype close = text.indexOf(text[open], open + 1);
    return close < 0 ? text.size() : close + 1;
}

QList<QStringView> splitSections(QStringView pattern)
{
    QList<QStringView> sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < pattern.size();) {
        if (isQuote(pattern[i])) {
            i = skipQuoted(pattern, i);
        } else if (pattern[i] == u';') {
            sections.append(pattern.mid(start, i - start));
            start = ++i;
        } else {
            ++i;
        }
    }
    sections.append(pattern.mid(start));
    return sections;
}

// One token of the number part of a section: a digit placeholder ('0' or '#') or the literal
// text between two placeholders, which prints where it stands ("00-00" with 1234: "12-34").
struct Token {
    QChar placeholder; // null for a literal
    QString literal;
};

struct Section {
    QString prefix;             // literal text before the first digit placeholder
    QString suffix;             // literal text after the last placeholder
    QList<Token> integerTokens; // up to the decimal position
    QList<Token> fractionTokens;
    int integerPlaceholders = 0;
    int minIntDigits = 0;       // every placeholder from the first '0' on ("0##" with 5: "005")
    int decimals = 0;
    int minDecimals = 0;        // up to the last '0' after the decimal position
    bool grouping = false;
    bool hasPlaceholders = false;
    bool integerLiterals = false;
};

Section parseSection(QStringView text)
{
    Section s;
    QString pending;
    bool pointSeen = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (isQuote(c)) {
            const qsizetype close = text.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? text.size() : close;
            pending += text.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == u'0' || c == u'#') {
            QList<Token>& tokens = pointSeen ? s.fractionTokens : s.integerTokens;
            if (!s.hasPlaceholders) {
                s.prefix += pending;
            } else if (!pending.isEmpty()) {
                tokens.append(Token{QChar(), pending});
                if (!pointSeen)
                    s.integerLiterals = true;
            }
            pending.clear();
            s.hasPlaceholders = true;
            tokens.append(Token{c, QString()});
            if (pointSeen) {
                ++s.decimals;
                if (c == u'0')
                    s.minDecimals = s.decimals;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = s.integerPlaceholders;
                ++s.integerPlaceholders;
            }
        } else if (c == u'.') {
            // The first one marks the decimal position; text before it stays in the integer part.
            if (!pointSeen && s.hasPlaceholders && !pending.isEmpty()) {
                s.integerTokens.append(Token{QChar(), pending});
                s.integerLiterals = true;
                pending.clear();
            }
            pointSeen = true;
        } else if (c == u',') {
            s.grouping = true;
        } else {
            pending += c;
        }
        ++i;
    }
    (s.hasPlaceholders ? s.suffix : s.prefix) += pending;
    s.minIntDigits = firstZero < 0 ? 0 : s.integerPlaceholders - firstZero;
    return s;
}

// The integer digits laid into the placeholders from the right; the leftmost one takes every
// digit left over. A literal prints only when digits stand on its left.
QString layInteger(const Section& s, const std::string& digits)
{
    QString reversed;
    qsizetype left = qsizetype(digits.size());
    int placeholdersLeft = s.integerPlaceholders;
    for (auto it = s.integerTokens.rbegin(); it != s.integerTokens.rend(); ++it) {
        if (it->placeholder.isNull()) {
            if (left > 0)
                for (auto c = it->literal.rbegin(); c != it->literal.rend(); ++c)
                    reversed += *c;
            continue;
        }
        --placeholdersLeft;
        const qsizetype take = placeholdersLeft == 0 ? left : std::min<qsizetype>(1, left);
        for (qsizetype k = 0; k < take; ++k)
            reversed += QLatin1Char(digits[size_t(--left)]);
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

QString layFraction(const Section& s, const std::string& digits)
{
    QString out;
    size_t next = 0;
    for (const Token& t : s.fractionTokens) {
        if (t.placeholder.isNull()) {
            if (next < digits.size())
                out += t.literal;
        } else if (next < digits.size()) {
            out += QLatin1Char(digits[next++]);
        }
    }
    return out;
}

// The absolute value laid out by the section; `zero` tells whether it rounded to 0.
QString renderAbs(const Section& s, const Decimal& d, const FormatSettings& fs, bool& zero)
{
    if (!s.hasPlaceholders) {
        zero = d.digits.empty();
        return s.prefix;
    }
    Fixed f = toFixed(d, s.decimals);
    zero = f.isZero();
    const auto firstSignificant = f.intPart.find_first_not_of('0');
    f.intPart.erase(0, std::min(firstSignificant, f.intPart.size()));
    if (int(f.intPart.size()) < s.minIntDigits)
        f.intPart.insert(0, s.minIntDigits - f.intPart.size(), '0');
    while (int(f.fracPart.size()) > s.minDecimals && f.fracPart.back() == '0')
        f.fracPart.pop_back();

    QString out = s.prefix;
    if (s.integerLiterals)
        out += layInteger(s, f.intPart);
    else if (s.grouping)
        out += groupThousands(f.intPart, fs.thousandSeparator);
    else
        out += QLatin1StringView(f.intPart.data(), qsizetype(f.intPart.size()));
    if (!f.fracPart.empty()) {
        out += fs.decimalSeparator;
        out += layFraction(s, f.fracPart);
    }
    out += s.suffix;
    return out;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool parseNumber(const QString& text, QChar decimalSeparator, double& out)
{
    const QString t = text.trimmed();
    std::string ascii;
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            ascii += '-';
        ++i;
    }
    auto takeDigits = [&]() {
        const qsizetype start = i;
        while (i < n && isAsciiDigit(t[i]))
            ascii += char(t[i++].unicode());
        return i - start;
    };
    ascii += '0'; // keeps ",5" and "5," readable by from_chars
    qsizetype digitCount = takeDigits();
    if (i < n && t[i] == decimalSeparator) {
        ++i;
        ascii += '.';
        digitCount += takeDigits();
    }
    if (digitCount == 0)
        return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ascii += char(t[i++].unicode());
        if (takeDigits() == 0)
            return false;
    }
    if (i != n)
        return false;
    double value = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size())
        return false;
    out = value;
    return true;
}

} // namespace

// Whole numbers under patterns of zeros only ("00", "0000000000"): the sort keys of the
// listings, formatted once per row.
static bool zeroPadded(const QString& pattern, double value, QString& out)
{
    if (pattern.isEmpty() || value < 0 || value >= 1e15 || value != std::trunc(value))
        return false;
    for (const QChar c : pattern)
        if (c != u'0')
            return false;
    out = QString::number(qint64(value)).rightJustified(pattern.size(), u'0');
    return true;
}

QString FormatFloat(const QString& pattern, double value, const FormatSettings& fs)
{
    if (!std::isfinite(value))
        return specialValue(value);
    QString fast;
    if (zeroPadded(pattern, value, fast))
        return fast;
    if (pattern.isEmpty())
        return FloatToStr(value, fs);

    const QList<QStringView> sections = splitSections(pattern);
    const bool hasNegative = sections.size() > 1 && !sections[1].isEmpty();
    const bool hasZero = sections.size() > 2 && !sections[2].isEmpty();
    const Decimal d = toDecimal(value);

    bool zero = d.digits.empty();
    const bool useNegative = value < 0 && hasNegative;
    QString body;
    if (!zero || !hasZero)
        body = renderAbs(parseSection(sections[useNegative ? 1 : 0]), d, fs, zero);
    // The zero section also takes values that round to zero under their own section.
    if (zero && hasZero) {
        bool ignored = false;
        return renderAbs(parseSection(sections[2]), Decimal{}, fs, ignored);
    }
    if (value < 0 && !useNegative && !zero)
        return u'-' + body;
    return body;
}

QString FloatToStr(double value, const FormatSettings& fs)
{
    if (!std::isfinite(value))
        return specialValue(value);
    if (value == 0)
        return QStringLiteral("0");
    // Whole numbers (day serials, identifiers) print as integers.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));

    const Decimal d = toDecimal(value);
    const QString digits = QString::fromLatin1(d.digits.data(), qsizetype(d.digits.size()));
    const int exponent = d.pointPos - 1;
    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= kSignificantDigits || exponent < -5) {
        out += digits.front();
        if (digits.size() > 1)
            out += fs.decimalSeparator + digits.mid(1);
        out += u'E' + QString::number(exponent);
    } else if (d.pointPos <= 0) {
        out += u'0' + QString(fs.decimalSeparator) + QString(-d.pointPos, u'0') + digits;
    } else {
        out += digits.left(d.pointPos);
        if (digits.size() < d.pointPos)
            out += QString(d.pointPos - digits.size(), u'0');
        else if (digits.size() > d.pointPos)
            out += fs.decimalSeparator + digits.mid(d.pointPos);
    }
    return out;
}

bool TryStrToFloat(const QString& text, double& out, const FormatSettings& fs)
{
    return parseNumber(text, fs.decimalSeparator, out);
}

double StrToFloat(const QString& text, const FormatSettings& fs)
{
    double value = 0;
    if (!parseNumber(text, fs.decimalSeparator, value))
        throw FormatError(QStringLiteral("«%1» no es un número válido").arg(text));
    return value;
}

} // namespace lumetra
