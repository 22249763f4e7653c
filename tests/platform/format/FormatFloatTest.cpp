#include "platform/format/FormatFloat.h"
#include "PrintQString.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

using namespace lumetra;

namespace {

struct PatternCase {
    const char* name;
    const char* pattern;
    double value;
    const char* expected;
};

void PrintTo(const PatternCase& c, std::ostream* os)
{
    *os << c.name;
}

class FormatFloatPattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FormatFloatPattern, FormatsWithSpanishSettings)
{
    const PatternCase& c = GetParam();
    EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pattern), c.value, FormatSettings::spanish()),
              QString::fromUtf8(c.expected));
}

const PatternCase kPatternCases[] = {
    {"GroupedTwoDecimals", "#,##0.00", 1234.5, "1.234,50"},
    {"NegativeGrouped", "#,##0.00", -1234.5, "-1.234,50"},
    {"PercentIsLiteral", "#,##0.00 %", 21, "21,00 %"},
    {"PercentNoGrouping", "0.00 %", 7, "7,00 %"},
    {"LaterPeriodsDropped", "#,##0.00 % I.V.A", 21, "21,00 % IVA"},
    {"LoneCommaGroups", ",0", 1234, "1.234"},
    {"GroupedMillionsRounded", ",0", 1234567.6, "1.234.568"},
    {"EuroTwoDecimals", ",0.00 €", 1234.5, "1.234,50 €"},
    {"EuroNoDecimals", ",0 €", 1234.6, "1.235 €"},
    {"EuroZero", ",0.00 €", 0, "0,00 €"},
    {"FiveDigitPadding", "00000", 8001, "08001"},
    {"TenDigitPadding", "0000000000", 15, "0000000015"},
    {"TwoDigitPadding", "00", 8, "08"},
    {"IntegerDigitsBeyondPlaceholders", "0", 123456, "123456"},
    {"HashOfZeroIsEmpty", "#", 0, ""},
    {"ZeroOfZero", "0", 0, "0"},
    {"OptionalDecimalsTrimmed", "0.##", 2.5, "2,5"},
    {"OptionalDecimalsAllZeroDropSeparator", "0.##", 3, "3"},
    {"ForcedDecimalAfterOptional", "0.#0", 3, "3,00"},
    {"TruncatesToTwoDecimals", "0.00", 82.644628, "82,64"},
    {"HalfUpBinaryBelow", "0.00", 2.675, "2,68"},
    {"HalfUpOneHundredth", "0.00", 1.005, "1,01"},
    {"HalfUpExactEighth", "0.00", 0.125, "0,13"},
    {"HalfAwayFromZeroNegative", "0.00", -2.675, "-2,68"},
    {"CarryIntoNewDigit", "#,##0.00", 999.999, "1.000,00"},
    {"NegativeRoundingToZeroHasNoSign", "0.00", -0.001, "0,00"},
    {"QuotedTextVerbatim", "'Nº.'0' uds.'", 12, "Nº.12 uds."},
    {"PrefixLiteral", "Total: 0.00", 3.5, "Total: 3,50"},
    {"NegativeSection", "0.00;(0.00)", -4.5, "(4,50)"},
    {"ZeroSection", "0.00;-0.00;'cero'", 0, "cero"},
    {"RoundsToZeroUsesZeroSection", "0;-0;'nada'", 0.2, "nada"},
    {"HugeValueKeepsAllDigits", ",0", 1e20, "100.000.000.000.000.000.000"},
    {"LeadingZeroForcesTheDigitsAfterIt", "0##", 5, "005"},
    {"HashesBeforeTheFirstZeroStayOptional", "##0", 5, "5"},
    {"LiteralBetweenDigitsStaysInPlace", "00-00", 1234, "12-34"},
    {"LiteralBetweenPaddedDigits", "00-00", 5, "00-05"},
    {"LiteralWithoutDigitsOnItsLeftIsLeftOut", "#-##", 5, "5"},
    {"ExtraDigitsGoToTheLeftmostPlaceholder", "0-00", 12345, "123-45"},
    {"LiteralInsideTheDecimals", "0.0x0", 1.25, "1,2x5"},
    {"QuotedSymbolWithAPeriod", ",0.00 'S/.'", 1234.5, "1.234,50 S/."},
};

INSTANTIATE_TEST_SUITE_P(Patterns, FormatFloatPattern, ::testing::ValuesIn(kPatternCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatFloat, NonFiniteValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatFloat("0.00", std::nan("")), "NAN");
    EXPECT_EQ(FormatFloat("0.00", inf), "INF");
    EXPECT_EQ(FormatFloat("0.00", -inf), "-INF");
    EXPECT_EQ(FloatToStr(-inf), "-INF");
}

TEST(FormatFloat, UsesTheGivenSeparators)
{
    FormatSettings english;
    english.decimalSeparator = u'.';
    english.thousandSeparator = u',';
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, english), "1,234,567.89");
}

TEST(FloatToStr, GeneralFormat)
{
    const FormatSettings fs = FormatSettings::spanish();
    EXPECT_EQ(FloatToStr(41275, fs), "41275");
    EXPECT_EQ(FloatToStr(-1, fs), "-1");
    EXPECT_EQ(FloatToStr(1.5, fs), "1,5");
    EXPECT_EQ(FloatToStr(0.1 + 0.2, fs), "0,3");
    EXPECT_EQ(FloatToStr(-0.0, fs), "0");
    EXPECT_EQ(FloatToStr(0.00001, fs), "0,00001");
    EXPECT_EQ(FloatToStr(1.5e-6, fs), "1,5E-6");
    EXPECT_EQ(FloatToStr(999999999999999.0, fs), "999999999999999");
    EXPECT_EQ(FloatToStr(1e15, fs), "1E15");
    EXPECT_EQ(FloatToStr(-1.25e20, fs), "-1,25E20");
}

TEST(StrToFloat, ReadsSignsBlanksAndDecimalSeparator)
{
    const FormatSettings fs = FormatSettings::spanish();
    EXPECT_DOUBLE_EQ(StrToFloat("  -12,5 ", fs), -12.5);
    EXPECT_DOUBLE_EQ(StrToFloat("+3", fs), 3);
    EXPECT_DOUBLE_EQ(StrToFloat(",25", fs), 0.25);
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(1.5e-6, fs), fs), 1.5e-6);
}

TEST(StrToFloat, RejectsMalformedText)
{
    const FormatSettings fs = FormatSettings::spanish();
    for (const char* bad : {"", "  ", "abc", "1.234,5", "12.5", "1,2,3", "--1", "1 2", "-", ",", "1e"}) {
        SCOPED_TRACE(bad);
        double out = 7;
        EXPECT_FALSE(TryStrToFloat(bad, out, fs));
        EXPECT_EQ(out, 7);
        EXPECT_THROW(StrToFloat(bad, fs), FormatError);
    }
}

TEST(StrToFloat, ErrorMessageQuotesTheText)
{
    try {
        StrToFloat("abc", FormatSettings::spanish());
        FAIL() << "no exception";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("«abc» no es un número válido"));
    }
}

TEST(FormatFloat, TwoDecimalRoundTripRoundsAmounts)
{
    const FormatSettings fs = FormatSettings::spanish();
    const struct { double value; double rounded; } cases[] = {
        {2.675, 2.68}, {1.005, 1.01}, {-2.675, -2.68}, {1234567.891, 1234567.89},
        {0.004, 0}, {99.995, 100}, {10, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(StrToFloat(FormatFloat("0.00", c.value, fs), fs), c.rounded);
    }
}

TEST(FormatFloat, OutputIgnoresProcessLocale)
{
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    const QLocale previousQt;
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale(QLocale::English));

    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);

    QLocale::setDefault(previousQt);
    std::setlocale(LC_ALL, previousC.c_str());
}

} // namespace
