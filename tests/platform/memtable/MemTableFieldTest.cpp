// Field values, conversions and error reporting of MemTable.
#include "platform/memtable/MemTable.h"

#include <gtest/gtest.h>

#include <QDate>
#include <functional>

using lumetra::DateTime;
using lumetra::MemTable;
using lumetra::MemTableError;
using Type = MemTable::FieldType;

namespace {

void declare(MemTable& t)
{
    t.addField(QStringLiteral("Importe"), Type::Float);
    t.addField(QStringLiteral("Unidades"), Type::Integer);
    t.addField(QStringLiteral("Concepto"), Type::Text, 10);
    t.addField(QStringLiteral("Fecha"), Type::Date);
}

} // namespace

TEST(MemTableField, NewRowReadsDefaultsUntilSetAndPostedRowStaysCurrent)
{
    MemTable t(QStringLiteral("memHojaCaja"));
    declare(t);
    t.open();
    t.append();
    EXPECT_EQ(t.fieldAsFloat(QStringLiteral("importe")), 0.0);
    EXPECT_EQ(t.fieldAsInteger(QStringLiteral("UNIDADES")), 0);
    EXPECT_EQ(t.fieldAsText(QStringLiteral("concepto")), QString());
    EXPECT_EQ(t.fieldAsDateTime(QStringLiteral("fecha")), DateTime::zero());
    t.setField(QStringLiteral("Importe"), 12.5);
    t.post();
    EXPECT_EQ(t.fieldAsFloat(0), 12.5);
    EXPECT_EQ(t.recordCount(), 1);

    // A cancelled append adds nothing and leaves the previous row current.
    t.append();
    t.setField(0, 99.0);
    t.cancel();
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.fieldAsFloat(0), 12.5);
}

TEST(MemTableField, LongTextIsNeverTruncated)
{
    MemTable t(QStringLiteral("memLargo"));
    declare(t);
    t.setSortField(QStringLiteral("Concepto"));
    t.open();
    const QString longText = QString(5000, QLatin1Char('x')) + QStringLiteral("fin");
    for (const QString& text : {longText + QStringLiteral("b"), longText + QStringLiteral("a")}) {
        t.append();
        t.setField(QStringLiteral("Concepto"), text);
        t.post();
    }
    t.first();
    EXPECT_EQ(t.fieldAsText(2), longText + QStringLiteral("a"));
    t.next();
    EXPECT_EQ(t.fieldAsText(2).size(), longText.size() + 1);
}

TEST(MemTableField, ConvertsBetweenFieldTypes)
{
    struct Case {
        const char* name;
        const char* field;
        QVariant input;
        QString text;
        double number;
    };
    const std::vector<Case> cases = {
        {"float_in_the_listing_format", "Importe", 1234567.25, QStringLiteral("1234567,25"), 1234567.25},
        {"whole_float_no_decimals", "Importe", 3.0, QStringLiteral("3"), 3},
        {"text_number_to_float", "Importe", QStringLiteral(" 2,5 "), QStringLiteral("2,5"), 2.5},
        {"integer_rounds_to_nearest", "Unidades", 2.6, QStringLiteral("3"), 3},
        {"number_into_text", "Concepto", 0.1, QStringLiteral("0,1"), 0.1},
        {"database_date", "Fecha", QDate(2013, 1, 1), QStringLiteral("01/01/2013"), 41275},
        {"date_with_time", "Fecha", QVariant::fromValue(DateTime(41275.75)),
         QStringLiteral("01/01/2013 18:00:00"), 41275.75},
        {"empty_date_round_trips_as_blank", "Fecha", QString(), QString(), 0},
        {"sql_null_is_default", "Unidades", QVariant(QMetaType::fromType<int>()), QStringLiteral("0"), 0},
    };
    MemTable t(QStringLiteral("memConv"));
    declare(t);
    t.open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString field = QString::fromLatin1(c.field);
        t.append();
        t.setField(field, c.input);
        t.post();
        EXPECT_EQ(t.fieldAsText(field), c.text);
        EXPECT_DOUBLE_EQ(t.fieldAsFloat(field), c.number);
    }
}

TEST(MemTableField, MisuseThrowsNamingTableAndField)
{
    MemTable t(QStringLiteral("memHojaCaja"));
    declare(t);
    struct Case {
        const char* name;
        std::function<void()> action;
        QString mentions;
    };
    const std::vector<Case> cases = {
        {"navigation_on_closed_table", [&] { t.next(); }, QStringLiteral("next()")},
        {"unknown_field_read", [&] { t.open(); (void)t.fieldAsFloat(QStringLiteral("TOTAL")); }, QStringLiteral("TOTAL")},
        {"unknown_field_write", [&] { t.append(); t.setField(QStringLiteral("TOTL"), 1.0); }, QStringLiteral("TOTL")},
        {"unknown_sort_field", [&] { t.setSortField(QStringLiteral("ORDEN")); }, QStringLiteral("ORDEN")},
        {"write_outside_append_or_edit", [&] { t.cancel(); t.setField(QStringLiteral("importe"), 1.0); }, QStringLiteral("Importe")},
        {"text_that_is_not_a_number", [&] { t.append(); t.setField(QStringLiteral("Unidades"), "doce"); }, QStringLiteral("doce")},
        {"integer_overflow", [&] { t.setField(QStringLiteral("Unidades"), 3e9); }, QStringLiteral("Unidades")},
        {"declare_while_open", [&] { t.addField(QStringLiteral("Extra"), Type::Float); }, QStringLiteral("Extra")},
        {"edit_without_current_row", [&] { t.cancel(); t.edit(); }, QStringLiteral("editar")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.action();
            ADD_FAILURE() << "no exception";
        } catch (const MemTableError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("memHojaCaja"))) << e.what();
            EXPECT_TRUE(e.message().contains(c.mentions)) << e.what();
        }
    }
}
