#include "platform/format/DateTexts.h"
#include "platform/format/DateTime.h"
#include "PrintQString.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <string>

using namespace lumetra;

namespace {

DateTime at(int y, int m, int d, int hh, int mm, int ss = 0)
{
    return DateTime::fromDateTime(QDateTime(QDate(y, m, d), QTime(hh, mm, ss)));
}

TEST(DateTime, SerialAnchors)
{
    EXPECT_EQ(DateTime::fromYmd(2013, 1, 1).serial(), 41275);
    EXPECT_EQ(DateTime::fromYmd(2010, 7, 1).serial(), 40360);
    EXPECT_EQ(DateTime::fromDate(QDate(2012, 9, 1)).serial(), 41153);
    EXPECT_EQ(DateTime::zero().date(), QDate(1899, 12, 30));
    EXPECT_EQ(DateTime::farFuture().date(), QDate(2079, 5, 30));
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
}

TEST(DateTime, AlmostMidnightRoundsIntoNextDay)
{
    const DateTime dt(41275 - 1e-10);
    EXPECT_EQ(dt.toDateTime(), QDateTime(QDate(2013, 1, 1), QTime(0, 0)));
    EXPECT_EQ(dt.date(), QDate(2013, 1, 1));
}

TEST(DateTime, NegativeSerialKeepsPositiveTime)
{
    EXPECT_EQ(DateTime(-1.25).toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(DateTime::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))).serial(), -1.25);
}

TEST(DateTime, OrdersBySerial)
{
    EXPECT_LT(DateTime::fromYmd(2012, 9, 1), at(2012, 9, 1, 0, 1));
    EXPECT_LT(DateTime::today(), DateTime::farFuture());
    EXPECT_EQ(DateTime(41275.0), DateTime::fromYmd(2013, 1, 1));
}

TEST(FormatDateTime, Tokens)
{
    const FormatSettings fs = FormatSettings::spanish();
    const DateTime dt = at(2012, 12, 4, 10, 5, 9);
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.pattern), dt, fs), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(FormatDateTime("dddd", DateTime::fromYmd(2013, 6, 15), fs), "sábado");
    EXPECT_EQ(FormatDateTime("dddd", DateTime::fromYmd(2013, 6, 16), fs), "domingo");
}

TEST(DateTexts, DateToStrFollowsShortDatePattern)
{
    FormatSettings iso;
    iso.shortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(DateToStr(DateTime::fromYmd(2013, 6, 15), FormatSettings::spanish()), "15/06/2013");
    EXPECT_EQ(DateToStr(DateTime::fromYmd(2013, 6, 15), iso), "2013-06-15");
}

TEST(DateTexts, StrToDateReadsSettingsOrder)
{
    FormatSettings iso;
    iso.shortDateFormat = "yyyy-mm-dd";
    const FormatSettings es = FormatSettings::spanish();
    EXPECT_EQ(StrToDate("15/06/2013", es), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(StrToDate(" 1/7/2010 ", es), DateTime::fromYmd(2010, 7, 1));
    EXPECT_EQ(StrToDate("15/06/13", es), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(StrToDate("2013-06-15", iso), DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(StrToDate("15/06", es).date(), QDate(QDate::currentDate().year(), 6, 15));
}

TEST(DateTexts, StrToDateRejectsBadDates)
{
    const FormatSettings es = FormatSettings::spanish();
    for (const char* bad : {"31/02/2013", "29/02/2013", "", "abc", "15-06-2013", "15/13/2013",
                            "1/2/3/4", "15/06/2013 10:00", "0/06/2013"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(StrToDate(bad, es), FormatError);
    }
    try {
        StrToDate("31/02/2013", es);
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
    EXPECT_EQ(SqlDateLiteral(DateTime::fromYmd(2012, 9, 1)), "09/01/2012");
    FormatSettings::setCurrent(saved);
}

TEST(DateTexts, OutputIgnoresProcessLocale)
{
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    const QLocale previousQt;
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale(QLocale::English));

    EXPECT_EQ(FormatDateTime("dddd d 'de' mmmm", DateTime::fromYmd(2013, 6, 15)),
              "sábado 15 de junio");
    EXPECT_EQ(DateToStr(DateTime::fromYmd(2013, 6, 15)), "15/06/2013");

    QLocale::setDefault(previousQt);
    std::setlocale(LC_ALL, previousC.c_str());
}

} // namespace
