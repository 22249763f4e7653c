// Numbers and dates as the shop's listings print and read them, in Spanish.
#include "platform/format/DateTexts.h"
#include "platform/format/DateTime.h"
#include "platform/format/FormatFloat.h"
#include "PrintQString.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lumetra;

namespace {

const FormatSettings kSpanish = FormatSettings::spanish();

// Rounding, grouping, padding, optional decimals and sections are checked over random patterns
// against a reference rounding by test_fuzz, and the shop's amounts, percentages and currency
// symbols by the listing texts of test_common; here the literal placements neither builds.
TEST(FormatFloat, PlacesLiteralsAndOptionalDigits)
{
    const struct { const char* pattern; double value; const char* expected; } cases[] = {
        {"#", 0, ""},                       // a hash of zero is empty
        {"'Nº.'0' uds.'", 12, "Nº.12 uds."}, {"Total: 0.00", 3.5, "Total: 3,50"},
        {"##0", 5, "5"},                    // hashes before the first zero stay optional
        {"00-00", 1234, "12-34"}, {"00-00", 5, "00-05"},
        {"#-##", 5, "5"},                   // a literal without digits on its left is left out
        {"0-00", 12345, "123-45"},          // extra digits go to the leftmost placeholder
        {"0.0x0", 1.25, "1,2x5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pattern), c.value, kSpanish), QString::fromUtf8(c.expected)) << c.pattern << " " << c.value;
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
    const std::pair<double, const char*> cases[] = {
        {41275, "41275"}, {-1.5, "-1,5"}, {0.1 + 0.2, "0,3"}, {-0.0, "0"}, {0.00001, "0,00001"},
        {1.5e-6, "1,5E-6"}, {999999999999999.0, "999999999999999"}, {1e15, "1E15"}, {-1.25e20, "-1,25E20"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToStr(value, kSpanish), QString::fromLatin1(text)) << value;
}

TEST(StrToFloat, ReadsSpanishNumbersAndRefusesAnythingElse)
{
    EXPECT_DOUBLE_EQ(StrToFloat("  -12,5 ", kSpanish), -12.5);
    EXPECT_DOUBLE_EQ(StrToFloat("+3", kSpanish), 3);
    EXPECT_DOUBLE_EQ(StrToFloat(",25", kSpanish), 0.25);
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(1.5e-6, kSpanish), kSpanish), 1.5e-6);
    for (const char* bad : {"", "  ", "abc", "1.234,5", "12.5", "1,2,3", "--1", "1 2", "-", ",", "1e"}) {
        SCOPED_TRACE(bad);
        double out = 7;
        EXPECT_FALSE(TryStrToFloat(bad, out, kSpanish));
        EXPECT_EQ(out, 7);
        EXPECT_THROW(StrToFloat(bad, kSpanish), FormatError);
    }
    try {
        StrToFloat("abc", kSpanish);
        FAIL() << "no exception";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("«abc» no es un número válido"));
    }
}

TEST(DateTime, SerialAnchors)
{
    EXPECT_EQ(DateTime::fromYmd(2013, 1, 1).serial(), 41275);
    EXPECT_EQ(DateTime::fromDate(QDate(2012, 9, 1)).serial(), 41153);
    EXPECT_TRUE(DateTime::fromDate(QDate()).isZero());
    EXPECT_TRUE(DateTime::fromYmd(2013, 2, 31).isZero());
}

TEST(DateTime, TimeOfDayRoundTrips)
{
    const QDateTime source(QDate(2012, 12, 4), QTime(10, 5, 30, 250));
    const DateTime dt = DateTime::fromDateTime(source);
    EXPECT_DOUBLE_EQ(dt.serial(), 41247 + (10 * 3600 + 5 * 60 + 30.25) / 86400.0);
    EXPECT_EQ(dt.toDateTime(), source);
    EXPECT_EQ(dt.dateOnly(), DateTime::fromYmd(2012, 12, 4));
    int y = 0, m = 0, d = 0;
    dt.decode(y, m, d);
    EXPECT_EQ(QDate(y, m, d), QDate(2012, 12, 4));
    // Almost midnight rounds into the next day; before the zero date the time stays positive.
    EXPECT_EQ(DateTime(41275 - 1e-10).toDateTime(), QDateTime(QDate(2013, 1, 1), QTime(0, 0)));
    EXPECT_EQ(DateTime(41275 - 1e-10).date(), QDate(2013, 1, 1));
    EXPECT_EQ(DateTime(-1.25).toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(DateTime::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))).serial(), -1.25);
}

TEST(FormatDateTime, Tokens)
{
    const DateTime dt = DateTime::fromDateTime(QDateTime(QDate(2012, 12, 4), QTime(10, 5, 9)));
    const struct { const char* pattern; const char* expected; } cases[] = {
        {"dddd',' d 'de' mmmm 'de' yyyy  hh:mm", "martes, 4 de diciembre de 2012  10:05"},
        {"dd/mm/yyyy", "04/12/2012"},
        {"d/m/yy", "4/12/12"},
        {"ddd d mmm", "mar 4 dic"},
        {"h:m:s", "10:5:9"},
        {"hh:nn:ss", "10:05:09"},
        {"DD-MM-YYYY", "04-12-2012"},
        {"\"dia\" d", "dia 4"},
        {"mm", "12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.pattern), dt, kSpanish), QString::fromUtf8(c.expected)) << c.pattern;
    EXPECT_EQ(FormatDateTime("dddd", DateTime::fromYmd(2013, 6, 16), kSpanish), "domingo");
}

TEST(DateTexts, DatesWrittenAndReadInTheShortDatePattern)
{
    FormatSettings iso;
    iso.shortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(DateToStr(DateTime::fromYmd(2013, 6, 15), iso), "2013-06-15");
    EXPECT_EQ(StrToDate("2013-06-15", iso), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(StrToDate("15/06/2013", kSpanish), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(StrToDate(" 1/7/2010 ", kSpanish), DateTime::fromYmd(2010, 7, 1));
    EXPECT_EQ(StrToDate("15/06/13", kSpanish), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(StrToDate("15/06", kSpanish).date(), QDate(QDate::currentDate().year(), 6, 15));
}

TEST(DateTexts, StrToDateRejectsBadDates)
{
    for (const char* bad : {"31/02/2013", "29/02/2013", "", "abc", "15-06-2013", "15/13/2013",
                            "1/2/3/4", "15/06/2013 10:00", "0/06/2013"})
        EXPECT_THROW(StrToDate(bad, kSpanish), FormatError) << bad;
    try {
        StrToDate("31/02/2013", kSpanish);
        FAIL() << "no exception";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("«31/02/2013» no es una fecha válida"));
    }
}

TEST(DateTexts, SqlDateLiteralIsMonthFirstWhateverTheSettings)
{
    const FormatSettings saved = FormatSettings::current();
    FormatSettings odd;
    odd.shortDateFormat = "yyyy/dd/mm";
    FormatSettings::setCurrent(odd);
    EXPECT_EQ(SqlDateLiteral(DateTime::fromYmd(2013, 6, 15)), "06/15/2013");
    FormatSettings::setCurrent(saved);
}

} // namespace
