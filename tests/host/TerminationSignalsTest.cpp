// SIGTERM and SIGINT raised in this very process reach the program's own code through the event
// loop, and the process and its Firebird connection live on.
#include "TerminationSignals.h"

#include "support/FirebirdFixture.h"
#include "support/TestTools.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

class TerminationSignalsTest : public test::FirebirdFixture {
protected:
    // Lets the event loop run until `count` signals have been delivered or a second has passed.
    void deliver(const QList<int>& received, int count)
    {
        const QDeadlineTimer deadline(1000);
        while (received.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    int users() { return int(test::queryNumber(db, "select count(*) from USUARIO")); }
};

TEST_F(TerminationSignalsTest, SignalsReachTheEventLoopAndTheConnectionLivesOn)
{
    const int before = users();
    ASSERT_GT(before, 0);
    TerminationSignals signals_;   // the fixture's connection is already open: its handlers are in
    QList<int> received;
    QObject::connect(&signals_, &TerminationSignals::received, [&](int s) { received << s; });
    EXPECT_EQ(TerminationSignals::first(), 0);

    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_EQ(TerminationSignals::first(), SIGTERM) << "known before the event loop runs";
    deliver(received, 1);
    EXPECT_EQ(received, QList<int>{SIGTERM});

    ASSERT_EQ(std::raise(SIGINT), 0);
    deliver(received, 2);
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT}));
    EXPECT_EQ(TerminationSignals::first(), SIGTERM) << "the first one counts";

    EXPECT_EQ(users(), before) << "the database connection still answers";
    EXPECT_EQ(TerminationSignals::exitStatus(SIGTERM), 143);
    EXPECT_EQ(TerminationSignals::exitStatus(SIGINT), 130);
}

TEST_F(TerminationSignalsTest, InstallingAgainWinsOverAHandlerPutInAfterUs)
{
    TerminationSignals signals_;
    QList<int> received;
    QObject::connect(&signals_, &TerminationSignals::received, [&](int s) { received << s; });
    // Someone else takes SIGTERM, as the Firebird client does on its first connection.
    struct sigaction other = {};
    other.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGTERM, &other, nullptr), 0);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    deliver(received, 1);
    EXPECT_TRUE(received.isEmpty());

    signals_.install();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    deliver(received, 1);
    EXPECT_EQ(received, QList<int>{SIGTERM});
}

TEST_F(TerminationSignalsTest, OnceDestroyedTheDefaultHandlingIsBack)
{
    {
        TerminationSignals signals_;
    }
    for (const int number : {SIGTERM, SIGINT}) {
        struct sigaction current = {};
        ASSERT_EQ(::sigaction(number, nullptr, &current), 0);
        EXPECT_EQ(current.sa_handler, SIG_DFL) << number;
    }
}

} // namespace
