// lumetra-host with its listing window open, ended by SIGTERM or Ctrl-C as a session manager or a
// terminal ends it: it closes the window as a person does (the access row is written) and exits 0.
#include "cli/DemoShop.h"
#include "cli/RunningProgram.h"
#include "support/ListingWindowFixture.h"

#include "platform/db/Database.h"
#include "platform/db/Dataset.h"

#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace lumetra;
using namespace lumetra::test;

namespace {

using test::accessRows;

struct Ending {
    const char* name;
    int signal;
};

TEST(HostProgram, ASignalClosesTheListingWindowsAndEndsWithZero)
{
    for (const Ending& ending : {Ending{"sigterm", SIGTERM}, Ending{"sigint", SIGINT}}) {
        const QString tienda = DemoShop::copy(QString::fromLatin1(ending.name));
        ASSERT_EQ(accessRows(tienda), 0) << ending.name;
        RunningProgram host(QStringLiteral("lumetra-host"), {"--db", tienda, "--fecha-trabajo", "10/05/2013"});
        // The module is loaded once the host is connected; its window opens right after.
        ASSERT_TRUE(host.waitForLibrary(QStringLiteral("liblistadohojacaja"))) << ending.name << ": " << host.err().toStdString();
        QThread::msleep(1000);
        ASSERT_TRUE(host.running()) << ending.name << ": " << host.err().toStdString();
        host.signal(ending.signal);
        EXPECT_EQ(host.wait(60000), 0) << ending.name << ": " << host.err().toStdString();
        EXPECT_EQ(accessRows(tienda), 1) << ending.name << ": the window was closed as by hand";
    }
}

struct RefusedStart {
    const char* name;
    QStringList arguments;
    const char* says;
};

TEST(HostProgram, AStartThatCannotGoOnSaysWhyAndOpensNoListingWindow)
{
    const QString tienda = DemoShop::copy(QStringLiteral("arranque"));
    const RefusedStart rows[] = {
        {"unknown_current_store", {"--tienda", "999"}, "La tienda 999 no existe en la base de datos"},
        {"working_date_before_the_first", {"--fecha-trabajo", "15/06/1850"},
         "--fecha-trabajo necesita una fecha a partir del 31/12/1899, no «15/06/1850»"},
        {"empty_working_date_written_out", {"--fecha-trabajo", "30/12/1899"},
         "--fecha-trabajo necesita una fecha a partir del 31/12/1899, no «30/12/1899»"},
    };
    for (const RefusedStart& row : rows) {
        RunningProgram host(QStringLiteral("lumetra-host"), QStringList{"--db", tienda} + row.arguments);
        // Said on the terminal as in the box the program then waits on.
        EXPECT_TRUE(host.waitForErr(QString::fromUtf8(row.says))) << row.name << ": " << host.errSoFar().toStdString();
        EXPECT_FALSE(host.hasLibrary(QStringLiteral("liblistadohojacaja"))) << row.name;
    }
    EXPECT_EQ(accessRows(tienda), 0);
}

} // namespace
