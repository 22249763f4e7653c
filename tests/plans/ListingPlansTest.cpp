// The plans the optimizer gives every statement the listings run, on a database the size of a
// shop's year (10 stores, 365 days) with its index statistics up to date: the big tables (MVENTA,
// DVENTA, COBRO, CAJA) are always read through an index, and a statement run once per row of
// another never walks a whole index in order, whatever the stores asked for. Either fault makes a
// listing's cost grow with the size of the database instead of with the rows it prints.
//
// Every listing is printed in this process, the statements it prepares are recorded as they go to
// the database, and isql prepares each of them again to print its plan.
#include "ListadosOptions.h"
#include "ListadosRunner.h"
#include "faults/EveryListing.h"
#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include <map>

using namespace lumetra;

namespace {

struct PreparedStatements : DatabaseCalls::Observer {
    QSet<QString> texts;
    void call(DatabaseCalls::Operation op, const QString& sql) override
    {
        if (op == DatabaseCalls::Operation::Prepare)
            texts.insert(sql.simplified());
    }
};

// The text with each :NAME parameter (outside quoted text) as the "?" isql takes.
QString positional(const QString& sql)
{
    QString out;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            const int close = sql.indexOf(c, i + 1);
            const int end = close < 0 ? sql.size() - 1 : close;
            out += sql.mid(i, end - i + 1);
            i = end;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && (sql.at(i + 1).isLetter() || sql.at(i + 1) == QLatin1Char('_'))) {
            int j = i + 1;
            while (j < sql.size() && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')))
                ++j;
            out += QLatin1Char('?');
            i = j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

// The names a statement gives the big tables it reads: its aliases, or the table's own name.
QSet<QString> bigTableNames(const QString& sql)
{
    static const QRegularExpression source(
        QStringLiteral("\\b(FROM|JOIN)\\s+(MVENTA|DVENTA|COBRO|CAJA)\\b(?:\\s+(?:AS\\s+)?(?!WHERE\\b|ON\\b|INNER\\b|LEFT\\b|JOIN\\b|GROUP\\b|ORDER\\b)([A-Z_][A-Z0-9_]*))?"),
        QRegularExpression::CaseInsensitiveOption);
    QSet<QString> names;
    for (auto it = source.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        names.insert(m.captured(2).toUpper());
        if (!m.captured(3).isEmpty())
            names.insert(m.captured(3).toUpper());
    }
    return names;
}

class ListingPlans : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lumetra-plans-XXXXXX"));
        path_ = dir_->filePath(QStringLiteral("anio.fdb"));
        ShopDatabase::create(path_);
        Database db;
        db.open(path_);
        DemoHistory({10, QDate(2013, 5, 1), 365, 1}).fill(db);
        ShopDatabase::refreshStatistics(db);
    }
    static void TearDownTestSuite() { dir_.reset(); }

    // Prints one listing in this process; its exit status.
    static int print(const QStringList& options)
    {
        return ListadosRunner(ListadosOptions::parse(QStringList{"--db", path_, "--fecha-trabajo", "30/06/2013", "--salida",
                                                                dir_->filePath(QStringLiteral("listado.csv"))}
                                                    + options))
            .run();
    }

    // Each statement's plan lines, from isql preparing them only.
    static std::map<QString, QStringList> plans(const QStringList& statements)
    {
        QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
        if (isql.isEmpty())
            isql = QStandardPaths::findExecutable(QStringLiteral("isql"));
        EXPECT_FALSE(isql.isEmpty()) << "isql-fb is not installed (scripts/setup installs it)";
        // A statement of known plan between two of ours tells where each one's plan ends.
        const QString separator = QStringLiteral("select 1 from RDB$DATABASE");
        QString script = QStringLiteral("SET PLANONLY ON;\n") + separator + QStringLiteral(";\n");
        for (const QString& s : statements)
            script += positional(s) + QStringLiteral(";\n") + separator + QStringLiteral(";\n");
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(isql, {"-user", "SYSDBA", "-password", "masterkey", "-m", "-ch", "UTF8", path_});
        process.write(script.toUtf8());
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        const QStringList lines = QString::fromUtf8(process.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        std::map<QString, QStringList> result;
        int current = -1;   // before the first separator
        for (const QString& raw : lines) {
            const QString line = raw.trimmed();
            if (line == QStringLiteral("PLAN (RDB$DATABASE NATURAL)")) {
                ++current;
                continue;
            }
            if (current >= 0 && current < statements.size() && !line.isEmpty())
                result[statements.at(current)] << line;
        }
        return result;
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString path_;
};

TEST_F(ListingPlans, BigTablesAreReadThroughAnIndexAndNoRowWalksAWholeIndex)
{
    PreparedStatements recorded;
    DatabaseCalls::setObserver(&recorded);
    const QStringList week{"--fecha", "entre", "--desde", "03/06/2013", "--hasta", "09/06/2013"};
    const QStringList day{"--fecha", "igual", "--desde", "14/06/2013"};
    int printed = 0;
    for (const char* stores : {"todas", "4", "2,7,9"})
        for (const QStringList& dates : {week, day})
            for (const QStringList& listing : test::everyListing()) {
                EXPECT_EQ(print(QStringList{"--tiendas", stores} + dates + listing), 0) << stores << " " << listing.join(' ').toStdString();
                ++printed;
            }
    DatabaseCalls::setObserver(nullptr);

    QStringList statements;
    for (const QString& s : recorded.texts)
        if (!bigTableNames(s).isEmpty())
            statements << s;
    statements.sort();
    ASSERT_GE(statements.size(), 20) << "the listings read the big tables through at least this many statements";
    const auto planOf = plans(statements);
    int perRow = 0;
    for (const QString& s : statements) {
        SCOPED_TRACE(s.toStdString());
        const auto found = planOf.find(s);
        ASSERT_NE(found, planOf.end()) << "isql gave no plan";
        const QString plan = found->second.join(QLatin1Char(' '));
        ASSERT_TRUE(plan.startsWith(QStringLiteral("PLAN"))) << plan.toStdString();
        for (const QString& name : bigTableNames(s)) {
            EXPECT_FALSE(QRegularExpression(QStringLiteral("\\b%1 NATURAL\\b").arg(QRegularExpression::escape(name))).match(plan).hasMatch())
                << "reads " << name.toStdString() << " whole: " << plan.toStdString();
        }
        // Run once per row of a master: navigating an index for its order while filtering with
        // another reads the whole of the first index every time.
        if (positional(s) != s) {
            ++perRow;
            EXPECT_FALSE(QRegularExpression(QStringLiteral("ORDER \\S+ INDEX \\(")).match(plan).hasMatch())
                << "walks a whole index in order for every row: " << plan.toStdString();
        }
    }
    EXPECT_GE(perRow, 4) << "the master-detail statements of the listings were recorded";
    EXPECT_GT(printed, 0);
}

TEST(ListingPlanParts, ParametersBecomePositionalOutsideQuotedText)
{
    EXPECT_EQ(positional(QStringLiteral("select 1 from DVENTA DV where DV.ID_MVENTA = :ID_MVENTA and X = ':NO' and Y = :P2")),
              QStringLiteral("select 1 from DVENTA DV where DV.ID_MVENTA = ? and X = ':NO' and Y = ?"));
    EXPECT_EQ(bigTableNames(QStringLiteral("Select * From MVENTA MV INNER JOIN DVENTA DV On x LEFT JOIN COBRO where 1=1")),
              (QSet<QString>{QStringLiteral("MVENTA"), QStringLiteral("MV"), QStringLiteral("DVENTA"), QStringLiteral("DV"), QStringLiteral("COBRO")}));
}

} // namespace
