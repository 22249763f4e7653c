// A database that fails in the middle of a listing, at every call the listing makes: each
// prepare, execute, fetch, stored procedure and commit in turn is made to fail as a lost
// connection does. Whichever call fails, the print shows exactly one error, returns -1, hands
// nothing to the preview or the printer, leaves no dataset open and no progress window up, and
// the next print in the same window is the right listing again.
#include "ListadosRunner.h"
#include "EveryListing.h"
#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseCalls.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"
#include "support/RecordingInteraction.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>

using namespace lumetra;

namespace {

const QString kLostConnection = QStringLiteral("Se ha perdido la conexión con el servidor de base de datos");

const char* operationName(DatabaseCalls::Operation op)
{
    return std::array{"prepare", "execute", "fetch", "procedure", "commit"}.at(size_t(op));
}

// Counts the calls, and makes the chosen one fail.
struct FaultAt : DatabaseCalls::Observer {
    explicit FaultAt(int at = 0) : failAt(at) {}
    int calls = 0;
    int failAt;   // 0: none fails
    DatabaseCalls::Operation failed{};
    void call(DatabaseCalls::Operation operation, const QString&) override
    {
        if (++calls == failAt) {
            failed = operation;
            throw DatabaseError(kLostConnection);
        }
    }
};

// What `run` returns, with `observer` told of every database call it makes.
template <class Run> int observed(DatabaseCalls::Observer& observer, Run run)
{
    DatabaseCalls::setObserver(&observer);
    struct Reset { ~Reset() { DatabaseCalls::setObserver(nullptr); } } reset;
    return run();
}

// What a print handed over, as text: each report's name and the texts of its bands, without the
// time it was printed at.
QString printed(const test::RecordingInteraction& interaction)
{
    static const QRegularExpression printedAt(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"));
    QString text;
    for (const auto& output : interaction.outputs) {
        text += QStringLiteral("== %1 (%2 páginas)\n").arg(output.name).arg(output.document.pageCount());
        for (const PrintedBand& band : output.document.bands) {
            QStringList texts;
            for (const QString& t : band.texts)
                if (!printedAt.match(t).hasMatch())
                    texts << t;
            text += band.name + QStringLiteral(": ") + texts.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    return text;
}

int errorWindows(const test::RecordingInteraction& interaction)
{
    int n = 0;
    for (const QString& d : interaction.dialogs)
        n += d.startsWith(QStringLiteral("Pantalla:"));
    return n;
}

class FaultAtEveryCall : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lumetra-faults-XXXXXX"));
        path_ = dir_->filePath(QStringLiteral("tienda.fdb"));
        ShopDatabase::create(path_);
        Database db;
        db.open(path_);
        // Two stores, two days: sales paid over several collections, orders, cards, groups.
        DemoHistory({2, QDate(2013, 6, 10), 2, 7}).fill(db);
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static QStringList options(const QStringList& listing)
    {
        return QStringList{"--db", path_, "--fecha-trabajo", "11/06/2013", "--tiendas", "todas", "--fecha", "entre", "--desde",
                           "10/06/2013", "--hasta", "11/06/2013", "--salida", dir_->filePath(QStringLiteral("listado.csv"))}
            + listing;
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString path_;
};

TEST_F(FaultAtEveryCall, EveryListingFailsOnceAndCleanlyWhereverTheDatabaseFails)
{
    int runs = 0;
    for (const QStringList& listing : test::everyListing()) {
        SCOPED_TRACE(listing.join(QLatin1Char(' ')).toStdString());
        const QStringList args = options(listing);
        test::OpenWindow open(path_);
        test::RecordingInteraction interaction;

        // The host's own datasets stay open for the session; a failed print leaves none of its own.
        const int openInSession = Dataset::openCount();
        // The first print also learns what stays known for the connection (the procedures'
        // parameters); the calls are counted on the second, as every later print makes them.
        ASSERT_EQ(open.print(args), 0) << interaction.dialogs.join(QLatin1Char('\n')).toStdString();
        interaction.outputs.clear();
        const auto print = [&] { return open.print(args); };
        FaultAt counter;
        ASSERT_EQ(observed(counter, print), 0) << interaction.dialogs.join(QLatin1Char('\n')).toStdString();
        const QString expected = printed(interaction);
        ASSERT_FALSE(interaction.outputs.isEmpty());
        const int calls = counter.calls;
        ASSERT_GT(calls, 3);

        for (int n = 1; n <= calls; ++n) {
            interaction.outputs.clear();
            interaction.dialogs.clear();
            interaction.messages.clear();
            FaultAt fault(n);
            const int status = observed(fault, print);
            ++runs;
            ASSERT_EQ(fault.calls >= n, true) << "the print made only " << fault.calls << " calls, not " << calls;
            const std::string where = "call " + std::to_string(n) + " of " + std::to_string(calls) + " (" + operationName(fault.failed) + ")";
            EXPECT_EQ(status, -1) << where;
            EXPECT_EQ(errorWindows(interaction), 1) << where << ": " << interaction.dialogs.join(QLatin1Char('\n')).toStdString();
            EXPECT_TRUE(interaction.dialogs.join(QLatin1Char('\n')).contains(kLostConnection)) << where;
            EXPECT_TRUE(interaction.outputs.isEmpty()) << where << ": " << printed(interaction).left(300).toStdString();
            EXPECT_EQ(Dataset::openCount(), openInSession) << where;
            EXPECT_FALSE(open.progressShown()) << where;

            interaction.outputs.clear();
            interaction.dialogs.clear();
            EXPECT_EQ(open.print(args), 0) << where;
            EXPECT_EQ(printed(interaction), expected) << "the print after a failure at " << where;
            if (HasFailure())
                return;   // one listing's report is enough to go on
        }
    }
    std::printf("[          ] %d prints, each failing at another call\n", runs);
}

// The program itself: a failure at any point exits 1 and leaves the file already at the
// output path as it was.
TEST_F(FaultAtEveryCall, TheProgramExitsOneAndKeepsThePreviousFile)
{
    const QString salida = dir_->filePath(QStringLiteral("listado.csv"));
    for (const QStringList& listing : {QStringList{"--listado", "hoja", "--iva", "caja"}, QStringList{"--listado", "diario", "--tipo", "detallado"}}) {
        SCOPED_TRACE(listing.join(QLatin1Char(' ')).toStdString());
        const auto run = [&] { return ListadosRunner(ListadosOptions::parse(options(listing))).run(); };
        FaultAt counter;
        ASSERT_EQ(observed(counter, run), 0);
        for (const int n : {counter.calls / 3, counter.calls / 2, counter.calls * 2 / 3}) {
            QFile previous(salida);
            ASSERT_TRUE(previous.open(QIODevice::WriteOnly | QIODevice::Truncate));
            previous.write("el listado de ayer\n");
            previous.close();
            FaultAt fault(n);
            const int status = observed(fault, run);
            EXPECT_EQ(status, 1) << "call " << n << " (" << operationName(fault.failed) << ")";
            ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
            EXPECT_EQ(previous.readAll(), QByteArray("el listado de ayer\n")) << "call " << n;
            previous.close();
        }
    }
}

} // namespace
