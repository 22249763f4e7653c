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

} // namespace
