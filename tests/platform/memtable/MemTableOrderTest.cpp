// Ordering, navigation and locate behaviour of MemTable.
#include "platform/memtable/MemTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using lumetra::DateTime;
using lumetra::MemTable;
using Type = MemTable::FieldType;

namespace {

// Table keyed on CLAVE; TAG records the append sequence so order can be checked.
struct Keyed {
    MemTable t{QStringLiteral("memPrueba")};
    explicit Keyed(Type keyType)
    {
        t.addField(QStringLiteral("CLAVE"), keyType, 15);
        t.addField(QStringLiteral("TAG"), Type::Integer);
        t.setSortField(QStringLiteral("clave"));
        t.open();
    }
    int tag = 0;
    template <class K> void add(const K& key)
    {
        t.append();
        t.setField(QStringLiteral("CLAVE"), key);
        t.setField(QStringLiteral("TAG"), tag++);
        t.post();
    }
    std::vector<int> tags()
    {
        std::vector<int> out;
        // Bounded so that a table that never reaches eof fails instead of hanging.
        for (t.first(); !t.eof() && int(out.size()) <= t.recordCount(); t.next())
            out.push_back(t.fieldAsInteger(QStringLiteral("TAG")));
        return out;
    }
};

} // namespace

TEST(MemTableOrder, EqualKeysKeepAppendOrderAcrossLaterAppends)
{
    Keyed k(Type::Text);
    for (const char* key : {"B", "A", "B", "C"})
        k.add(QString::fromLatin1(key));
    EXPECT_EQ(k.tags(), (std::vector<int>{1, 0, 2, 3}));
    // Appended after the table was already walked (and therefore sorted).
    k.add(QStringLiteral("B"));
    k.add(QStringLiteral("A"));
    EXPECT_EQ(k.tags(), (std::vector<int>{1, 5, 0, 2, 4, 3}));
}

TEST(MemTableOrder, SortsEachKeyType)
{
    struct Case {
        const char* name;
        Type type;
        std::vector<QVariant> keys; // appended in this order
        std::vector<int> expectedTags;
    };
    const std::vector<Case> cases = {
        {"text_by_code_point", Type::Text,
         {QStringLiteral("412760"), QStringLiteral("41275") + QStringLiteral("1"),
          QStringLiteral("41275") + QStringLiteral("0000000015"), QStringLiteral("a"), QStringLiteral("B")},
         {2, 1, 0, 4, 3}},
        {"float_numeric_not_textual", Type::Float, {10.5, -2.0, 9.0, 100.0, -2.0}, {1, 4, 2, 0, 3}},
        {"integer_numeric", Type::Integer, {12, -7, 3, 12, 0}, {1, 4, 2, 0, 3}},
        {"date_by_serial", Type::Date,
         {QVariant::fromValue(DateTime(41276.5)), QVariant::fromValue(DateTime(41276.25)),
          QVariant::fromValue(DateTime::zero()), QVariant::fromValue(DateTime(-3))},
         {3, 2, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Keyed k(c.type);
        for (const QVariant& key : c.keys)
            k.add(key);
        EXPECT_EQ(k.tags(), c.expectedTags);
    }
}

TEST(MemTableOrder, EditThatChangesTheKeyMovesTheRow)
{
    Keyed k(Type::Integer);
    for (int key : {10, 20, 30})
        k.add(key);
    k.tags(); // sorted before the edit, so the row has to leave its place
    ASSERT_TRUE(k.t.locate(QStringLiteral("CLAVE"), 10));
    k.t.edit();
    k.t.setField(QStringLiteral("CLAVE"), 25);
    k.t.post();
    EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("TAG")), 0); // still the edited row
    EXPECT_EQ(k.t.recNo(), 1);
    k.t.next();
    EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("CLAVE")), 30);
    EXPECT_EQ(k.tags(), (std::vector<int>{1, 0, 2}));

    // Edit without touching the key: position unchanged, cancel restores the value.
    k.t.first();
    k.t.edit();
    k.t.setField(QStringLiteral("CLAVE"), 99);
    k.t.cancel();
    EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("CLAVE")), 20);
    EXPECT_EQ(k.tags(), (std::vector<int>{1, 0, 2}));
}

TEST(MemTableOrder, LocateFindsFirstInOrderOrLeavesCurrentRow)
{
    Keyed k(Type::Text);
    for (const char* key : {"M", "X", "M"})
        k.add(QString::fromLatin1(key));
    k.tags();                  // rows sorted
    k.add(QStringLiteral("M")); // not merged yet
    k.add(QStringLiteral("Q"));

    struct Case {
        const char* name;
        QString field;
        QVariant value;
        bool found;
        int tag; // expected current row afterwards
    };
    const std::vector<Case> cases = {
        {"sort_field_first_of_equal_keys", QStringLiteral("CLAVE"), QStringLiteral("M"), true, 0},
        {"sort_field_not_yet_merged_row", QStringLiteral("clave"), QStringLiteral("Q"), true, 4},
        {"other_field_number_as_double", QStringLiteral("TAG"), 3.0, true, 3},
        {"text_is_exact", QStringLiteral("CLAVE"), QStringLiteral("m"), false, 3},
        {"integer_does_not_round", QStringLiteral("TAG"), 1.5, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(k.t.locate(QStringLiteral("TAG"), 3));
        EXPECT_EQ(k.t.locate(c.field, c.value), c.found);
        EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("TAG")), c.tag);
    }

    // An earlier row whose key is edited to an existing key comes before the later row.
    ASSERT_TRUE(k.t.locate(QStringLiteral("TAG"), 1));
    k.t.edit();
    k.t.setField(QStringLiteral("CLAVE"), QStringLiteral("Q"));
    k.t.post();
    ASSERT_TRUE(k.t.locate(QStringLiteral("CLAVE"), QStringLiteral("Q")));
    EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("TAG")), 1);
    EXPECT_EQ(k.t.recNo(), 3);
}

TEST(MemTableOrder, EofAndBofAtTheEndsAndWhenEmpty)
{
    Keyed k(Type::Integer);
    EXPECT_TRUE(k.t.eof());
    EXPECT_TRUE(k.t.bof());
    EXPECT_EQ(k.t.recNo(), -1);
    k.t.first();
    k.t.next();
    EXPECT_TRUE(k.t.eof() && k.t.bof());

    for (int key : {3, 1, 2})
        k.add(key);
    k.t.last();
    EXPECT_FALSE(k.t.eof());
    k.t.next();
    EXPECT_TRUE(k.t.eof());
    EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("CLAVE")), 3); // stays on the last row
    std::vector<int> backwards;
    for (k.t.last(); !k.t.bof() && backwards.size() <= 3; k.t.prior())
        backwards.push_back(k.t.fieldAsInteger(QStringLiteral("CLAVE")));
    EXPECT_EQ(backwards, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(k.t.recNo(), 0);

    k.t.setRecNo(1);
    EXPECT_EQ(k.t.fieldAsInteger(QStringLiteral("CLAVE")), 2);
    EXPECT_THROW(k.t.setRecNo(3), lumetra::MemTableError);
}

TEST(MemTableOrder, EmptyKeepsFieldsAndRefills)
{
    Keyed k(Type::Text);
    for (const char* key : {"b", "a"})
        k.add(QString::fromLatin1(key));
    k.t.empty();
    EXPECT_TRUE(k.t.isOpen());
    EXPECT_TRUE(k.t.isEmpty());
    EXPECT_EQ(k.t.recordCount(), 0);
    EXPECT_TRUE(k.t.eof());
    for (const char* key : {"d", "c"})
        k.add(QString::fromLatin1(key));
    EXPECT_EQ(k.tags(), (std::vector<int>{3, 2}));
    EXPECT_EQ(k.t.sortField(), QStringLiteral("CLAVE"));
}

TEST(MemTableOrder, LargePseudoRandomLoadWalksSortedAndStable)
{
    Keyed k(Type::Float);
    const int rows = 200000;
    std::uint32_t seed = 12345;
    for (int i = 0; i < rows; ++i) {
        seed = seed * 1664525u + 1013904223u;
        k.add(double(seed >> 16) / 4.0); // ~65,000 distinct keys: many ties
    }
    ASSERT_EQ(k.t.recordCount(), rows);
    int walked = 0;
    double prevKey = -1;
    int prevTag = -1;
    for (k.t.first(); !k.t.eof(); k.t.next(), ++walked) {
        const double key = k.t.fieldAsFloat(0);
        const int tag = k.t.fieldAsInteger(1);
        ASSERT_TRUE(key > prevKey || (key == prevKey && tag > prevTag)) << "row " << walked;
        prevKey = key;
        prevTag = tag;
    }
    EXPECT_EQ(walked, rows);
    k.t.setRecNo(rows / 2);
    EXPECT_EQ(k.t.recNo(), rows / 2);
}
