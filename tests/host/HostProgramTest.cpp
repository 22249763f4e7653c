// lumetra-host with its listing window open, ended by SIGTERM or Ctrl-C as a session manager or a
// terminal ends it: it closes the window as a person does (the access row is written) and exits 0.
#include "cli/DemoShop.h"
#include "cli/RunningProgram.h"
#include "support/ListingWindowFixture.h"

#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace lumetra;
using namespace lumetra::test;

namespace {

TEST(HostProgram, ASignalClosesTheListingWindowsAndEndsWithZero)
{
    for (const auto& [name, number] : {std::pair{"sigterm", SIGTERM}, std::pair{"sigint", SIGINT}}) {
        const QString tienda = DemoShop::copy(QString::fromLatin1(name));
        ASSERT_EQ(accessRows(tienda), 0) << name;
        RunningProgram host(QStringLiteral("lumetra-host"), {"--db", tienda, "--fecha-trabajo", "10/05/2013"});
        // The module is loaded once the host is connected; its window opens right after.
        ASSERT_TRUE(host.waitForLibrary(QStringLiteral("liblistadohojacaja"))) << name << ": " << host.err().toStdString();
        QThread::msleep(1000);
        ASSERT_TRUE(host.running()) << name << ": " << host.err().toStdString();
        host.signal(number);
        EXPECT_EQ(host.wait(60000), 0) << name << ": " << host.err().toStdString();
        EXPECT_EQ(accessRows(tienda), 1) << name << ": the window was closed as by hand";
    }
}

TEST(HostProgram, AStartThatCannotGoOnSaysWhyAndOpensNoListingWindow)
{
    const QString tienda = DemoShop::copy(QStringLiteral("arranque"));
    // An unknown current store, a working date before the first, the empty date written out.
    const std::pair<QStringList, const char*> rows[] = {
        {{"--tienda", "999"}, "La tienda 999 no existe en la base de datos"},
        {{"--fecha-trabajo", "15/06/1850"}, "--fecha-trabajo necesita una fecha a partir del 31/12/1899, no «15/06/1850»"},
        {{"--fecha-trabajo", "30/12/1899"}, "--fecha-trabajo necesita una fecha a partir del 31/12/1899, no «30/12/1899»"},
    };
    for (const auto& [arguments, says] : rows) {
        RunningProgram host(QStringLiteral("lumetra-host"), QStringList{"--db", tienda} + arguments);
        // Said on the terminal as in the box the program then waits on.
        EXPECT_TRUE(host.waitForErr(QString::fromUtf8(says))) << says << ": " << host.errSoFar().toStdString();
        EXPECT_FALSE(host.hasLibrary(QStringLiteral("liblistadohojacaja"))) << says;
    }
    EXPECT_EQ(accessRows(tienda), 0);
}

} // namespace
