// Fields, conversions, errors, ordering, navigation and locate of MemTable.
#include "platform/memtable/MemTable.h"

#include <gtest/gtest.h>

#include <QDate>
#include <cstdint>
#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

using lumetra::DateTime;
using lumetra::MemTable;
using lumetra::MemTableError;
using Type = MemTable::FieldType;

namespace {

MemTable declared(const char* name)
{
    MemTable t{QString::fromLatin1(name)};
    t.addField("Importe", Type::Float);
    t.addField("Unidades", Type::Integer);
    t.addField("Concepto", Type::Text, 10);
    t.addField("Fecha", Type::Date);
    return t;
}

// Table keyed on CLAVE; TAG records the append sequence so order can be checked.
struct Keyed {
    MemTable t{"memPrueba"};
    int tag = 0;
    explicit Keyed(Type keyType)
    {
        t.addField("CLAVE", keyType, 15);
        t.addField("TAG", Type::Integer);
        t.setSortField("clave");
        t.open();
    }
    template <class... K> void add(const K&... keys)
    {
        for (const QVariant& key : {QVariant(keys)...}) {
            t.append();
            t.setField("CLAVE", key);
            t.setField("TAG", tag++);
            t.post();
        }
    }
    std::vector<int> tags()
    {
        std::vector<int> out;
        // Bounded so that a table that never reaches eof fails instead of hanging.
        for (t.first(); !t.eof() && int(out.size()) <= t.recordCount(); t.next())
            out.push_back(t.fieldAsInteger("TAG"));
        return out;
    }
    int at(const char* field) const { return t.fieldAsInteger(field); }
};

using Tags = std::vector<int>;

TEST(MemTableField, NewRowReadsDefaultsUntilSetAndPostedRowStaysCurrent)
{
    MemTable t = declared("memHojaCaja");
    t.open();
    t.append();
    EXPECT_EQ(t.fieldAsFloat("importe"), 0.0);
    EXPECT_EQ(t.fieldAsInteger("UNIDADES"), 0);
    EXPECT_EQ(t.fieldAsText("concepto"), QString());
    EXPECT_EQ(t.fieldAsDateTime("fecha"), DateTime::zero());
    t.setField("Importe", 12.5);
    t.post();
    EXPECT_EQ(t.fieldAsFloat(0), 12.5);
    // A cancelled append adds nothing and leaves the previous row current.
    t.append();
    t.setField(0, 99.0);
    t.cancel();
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.fieldAsFloat(0), 12.5);
}

TEST(MemTableField, LongTextIsNeverTruncatedAndSortsWhole)
{
    Keyed k(Type::Text);   // declared 15 characters wide
    const QString longText = QString(5000, QLatin1Char('x')) + QStringLiteral("fin");
    k.add(longText + "b", longText + "a");
    EXPECT_EQ(k.tags(), (Tags{1, 0}));
    EXPECT_EQ(k.t.fieldAsText(0), longText + "b");
}

TEST(MemTableField, ConvertsBetweenFieldTypes)
{
    const struct { const char* name; const char* field; QVariant input; QString text; double number; } cases[] = {
        {"float_in_the_listing_format", "Importe", 1234567.25, "1234567,25", 1234567.25},
        {"whole_float_no_decimals", "Importe", 3.0, "3", 3},
        {"text_number_to_float", "Importe", " 2,5 ", "2,5", 2.5},
        {"integer_rounds_to_nearest", "Unidades", 2.6, "3", 3},
        {"number_into_text", "Concepto", 0.1, "0,1", 0.1},
        {"database_date", "Fecha", QDate(2013, 1, 1), "01/01/2013", 41275},
        {"date_with_time", "Fecha", QVariant::fromValue(DateTime(41275.75)), "01/01/2013 18:00:00", 41275.75},
        {"empty_date_round_trips_as_blank", "Fecha", QString(), QString(), 0},
        {"sql_null_is_default", "Unidades", QVariant(QMetaType::fromType<int>()), "0", 0},
    };
    MemTable t = declared("memConv");
    t.open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t.append();
        t.setField(c.field, c.input);
        t.post();
        EXPECT_EQ(t.fieldAsText(c.field), c.text);
        EXPECT_DOUBLE_EQ(t.fieldAsFloat(c.field), c.number);
    }
}

TEST(MemTableField, MisuseThrowsNamingTableAndField)
{
    MemTable t = declared("memHojaCaja");
    const struct { const char* name; std::function<void()> action; const char* mentions; } cases[] = {
        {"navigation_on_closed_table", [&] { t.next(); }, "next()"},
        {"unknown_field_read", [&] { t.open(); (void)t.fieldAsFloat("TOTAL"); }, "TOTAL"},
        {"unknown_sort_field", [&] { t.setSortField("ORDEN"); }, "ORDEN"},
        {"write_outside_append_or_edit", [&] { t.cancel(); t.setField("importe", 1.0); }, "Importe"},
        {"text_that_is_not_a_number", [&] { t.append(); t.setField("Unidades", "doce"); }, "doce"},
        {"integer_overflow", [&] { t.setField("Unidades", 3e9); }, "Unidades"},
        {"declare_while_open", [&] { t.addField("Extra", Type::Float); }, "Extra"},
        {"edit_without_current_row", [&] { t.cancel(); t.edit(); }, "editar"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.action();
            ADD_FAILURE() << "no exception";
        } catch (const MemTableError& e) {
            EXPECT_TRUE(e.message().contains("memHojaCaja")) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.mentions))) << e.what();
        }
    }
}

TEST(MemTableOrder, EqualKeysKeepAppendOrderAcrossLaterAppends)
{
    Keyed k(Type::Text);
    k.add("B", "A", "B", "C");
    EXPECT_EQ(k.tags(), (Tags{1, 0, 2, 3}));
    k.add("B", "A");   // appended after the table was walked, and so sorted
    EXPECT_EQ(k.tags(), (Tags{1, 5, 0, 2, 4, 3}));
}

TEST(MemTableOrder, SortsEachKeyType)
{
    const struct { const char* name; Type type; std::vector<QVariant> keys; Tags expected; } cases[] = {
        {"text_by_code_point", Type::Text, {"412760", "412751", "412750000000015", "a", "B"}, {2, 1, 0, 4, 3}},
        {"float_numeric_not_textual", Type::Float, {10.5, -2.0, 9.0, 100.0, -2.0}, {1, 4, 2, 0, 3}},
        {"integer_numeric", Type::Integer, {12, -7, 3, 12, 0}, {1, 4, 2, 0, 3}},
        {"date_by_serial", Type::Date,
         {QVariant::fromValue(DateTime(41276.5)), QVariant::fromValue(DateTime(41276.25)),
          QVariant::fromValue(DateTime::zero()), QVariant::fromValue(DateTime(-3))},
         {3, 2, 1, 0}},
    };
    for (const auto& c : cases) {
        Keyed k(c.type);
        for (const QVariant& key : c.keys)
            k.add(key);
        EXPECT_EQ(k.tags(), c.expected) << c.name;
    }
}

TEST(MemTableOrder, EditThatChangesTheKeyMovesTheRow)
{
    Keyed k(Type::Integer);
    k.add(10, 20, 30);
    k.tags();   // sorted before the edit, so the row has to leave its place
    ASSERT_TRUE(k.t.locate("CLAVE", 10));
    k.t.edit();
    k.t.setField("CLAVE", 25);
    k.t.post();
    EXPECT_EQ(k.at("TAG"), 0);   // still the edited row
    EXPECT_EQ(k.t.recNo(), 1);
    k.t.next();
    EXPECT_EQ(k.at("CLAVE"), 30);
    EXPECT_EQ(k.tags(), (Tags{1, 0, 2}));
    // Cancelled edit: value and position restored.
    k.t.first();
    k.t.edit();
    k.t.setField("CLAVE", 99);
    k.t.cancel();
    EXPECT_EQ(k.at("CLAVE"), 20);
    EXPECT_EQ(k.tags(), (Tags{1, 0, 2}));
}

TEST(MemTableOrder, LocateFindsFirstInOrderOrLeavesCurrentRow)
{
    Keyed k(Type::Text);
    k.add("M", "X", "M");
    k.tags();            // rows sorted
    k.add("M", "Q");     // not merged yet
    const struct { const char* name; const char* field; QVariant value; bool found; int tag; } cases[] = {
        {"sort_field_first_of_equal_keys", "CLAVE", "M", true, 0},
        {"sort_field_not_yet_merged_row", "clave", "Q", true, 4},
        {"other_field_number_as_double", "TAG", 3.0, true, 3},
        {"text_is_exact", "CLAVE", "m", false, 3},
        {"integer_does_not_round", "TAG", 1.5, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(k.t.locate("TAG", 3));
        EXPECT_EQ(k.t.locate(c.field, c.value), c.found);
        EXPECT_EQ(k.at("TAG"), c.tag);   // the row found, or the one current before
    }
    // An earlier row whose key is edited to an existing key comes before the later row.
    ASSERT_TRUE(k.t.locate("TAG", 1));
    k.t.edit();
    k.t.setField("CLAVE", "Q");
    k.t.post();
    ASSERT_TRUE(k.t.locate("CLAVE", "Q"));
    EXPECT_EQ(k.at("TAG"), 1);
    EXPECT_EQ(k.t.recNo(), 3);
}

TEST(MemTableOrder, EofAndBofAtTheEndsWhenEmptyAndAfterEmptying)
{
    Keyed k(Type::Integer);
    EXPECT_TRUE(k.t.eof() && k.t.bof());
    EXPECT_EQ(k.t.recNo(), -1);
    k.t.first();
    k.t.next();
    EXPECT_TRUE(k.t.eof() && k.t.bof());

    k.add(3, 1, 2);
    k.t.last();
    EXPECT_FALSE(k.t.eof());
    k.t.next();
    EXPECT_TRUE(k.t.eof());
    EXPECT_EQ(k.at("CLAVE"), 3);   // stays on the last row
    std::vector<int> backwards;
    for (k.t.last(); !k.t.bof() && backwards.size() <= 3; k.t.prior())
        backwards.push_back(k.at("CLAVE"));
    EXPECT_EQ(backwards, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(k.t.recNo(), 0);
    k.t.setRecNo(1);
    EXPECT_EQ(k.at("CLAVE"), 2);
    EXPECT_THROW(k.t.setRecNo(3), MemTableError);

    // Emptied: open, no rows, and refilled in the same order.
    k.t.empty();
    EXPECT_TRUE(k.t.isOpen() && k.t.isEmpty() && k.t.eof());
    k.add(9, 8);
    EXPECT_EQ(k.tags(), (Tags{4, 3}));
}

TEST(MemTableOrder, LargePseudoRandomLoadWalksSortedAndStable)
{
    Keyed k(Type::Float);
    std::vector<double> keys;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        keys.push_back(double(seed >> 16) / 4.0);   // ~65,000 distinct keys: many ties
        k.add(keys.back());
    }
    Tags expected(keys.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    EXPECT_TRUE(k.tags() == expected);   // not printed: 200,000 rows
    k.t.setRecNo(100000);
    EXPECT_EQ(k.t.recNo(), 100000);
}

} // namespace
