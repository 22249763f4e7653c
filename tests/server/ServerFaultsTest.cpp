// What a person sees when the server is not there, refuses the login, or stops in the middle of a
// listing: one clear Spanish error, status 1, no file, and never the password.
#include "server/ServerShop.h"

#include "cli/RunningProgram.h"

#include "platform/db/Database.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

using namespace lumetra;
using namespace lumetra::test;

namespace {

QStringList oneDay(const QString& db, const QString& salida)
{
    return {"--db", db, "--fecha-trabajo", "14/06/2013", "--tiendas", "todas", "--listado", "hoja", "--salida", salida};
}

// A port of this machine where nothing listens.
int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

struct Login {
    const char* name;
    QStringList options;      // --usuario-bd / --clave-bd
    const char* envUser;
    const char* envPassword;  // nullptr: the right one
    bool accepted;
};

TEST(ServerFaults, TheLoginIsTakenFromTheOptionsThenTheEnvironmentAndAWrongOneIsSaidWithoutShowingIt)
{
    const QString wrong = QStringLiteral("Clave-Mala-7731");
    const QString right = FirebirdServer::password();
    const Login logins[] = {
        {"wrong_password_option", {"--clave-bd", wrong}, "SYSDBA", nullptr, false},
        {"wrong_password_in_environment", {}, "SYSDBA", "Clave-Mala-7731", false},
        {"option_wins_over_environment", {"--clave-bd", right}, "SYSDBA", "Clave-Mala-7731", true},
        {"unknown_user_in_environment", {}, "NADIE", nullptr, false},
        {"user_option_wins_over_environment", {"--usuario-bd", "SYSDBA"}, "NADIE", nullptr, true},
    };
    for (const Login& l : logins) {
        SCOPED_TRACE(l.name);
        QProcessEnvironment env = ServerShop::environment(l.envPassword ? QString::fromLatin1(l.envPassword) : right);
        env.insert(QStringLiteral("ISC_USER"), QString::fromLatin1(l.envUser));
        const QString csv = ServerShop::scratch(QStringLiteral("login-%1.csv").arg(QLatin1String(l.name)));
        const ServerRun r = ServerShop::run(QStringLiteral("lumetra-listados"), oneDay(ServerShop::location(), csv) + l.options, env);
        EXPECT_FALSE(r.err.contains(wrong) || r.out.contains(wrong)) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(right) || r.out.contains(right)) << "the password was printed";
        if (l.accepted) {
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_TRUE(QFileInfo::exists(csv));
        } else {
            EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QStringLiteral("el usuario o la clave no son válidos para el servidor de Firebird")))
                << r.err.toStdString();
            EXPECT_FALSE(r.err.contains(QStringLiteral("Your user name"))) << r.err.toStdString();
            EXPECT_TRUE(ServerShop::written(csv).isEmpty());
        }
    }

    // Creating a database is refused the same way, and creates nothing.
    const QString nueva = ServerShop::folder().filePath(QStringLiteral("nueva.fdb"));
    const ServerRun made = ServerShop::run(QStringLiteral("lumetra-demodb"),
                                           {"create", QStringLiteral("localhost:") + nueva, "--vacia", "--clave-bd", wrong});
    EXPECT_EQ(made.exitCode, 1) << made.err.toStdString();
    EXPECT_FALSE(made.err.contains(wrong) || made.out.contains(wrong)) << made.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(nueva));
}

TEST(ServerFaults, TheHostTakesItsLoginFromItsOptions)
{
    const QString wrong = QStringLiteral("Clave-Mala-7731");
    {
        RunningProgram host(QStringLiteral("lumetra-host"), {"--db", ServerShop::location(), "--clave-bd", wrong});
        EXPECT_TRUE(host.waitForErr(QStringLiteral("el usuario o la clave no son válidos para el servidor de Firebird")))
            << host.errSoFar().toStdString();
        EXPECT_FALSE(host.errSoFar().contains(wrong)) << host.errSoFar().toStdString();
        EXPECT_FALSE(host.hasLibrary(QStringLiteral("liblistadohojacaja")));
    }
    RunningProgram host(QStringLiteral("lumetra-host"),
                        {"--db", ServerShop::location(), "--usuario-bd", FirebirdServer::user(), "--clave-bd", FirebirdServer::password()});
    // Connected, it loads the module and opens the listing window.
    EXPECT_TRUE(host.waitForLibrary(QStringLiteral("liblistadohojacaja"))) << host.err().toStdString();
}

TEST(ServerFaults, ServerDownAtStartIsOneSpanishErrorAndNoFile)
{
    FirebirdServer& server = FirebirdServer::instance();
    // Stopped when it is this program's; else, the same server address with nothing behind it.
    const bool ours = server.owned();
    const QString location = ours ? ServerShop::location()
                                  : QStringLiteral("127.0.0.1/%1:%2").arg(closedPort()).arg(ServerShop::file());
    if (ours) {
        ASSERT_TRUE(server.stop());
    }
    const QString csv = ServerShop::scratch(QStringLiteral("caido.csv"));
    const ServerRun r = ServerShop::run(QStringLiteral("lumetra-listados"), oneDay(location, csv));
    if (ours) {
        ASSERT_TRUE(server.start()) << server.why().toStdString();
    }
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QStringLiteral("lumetra-listados:")), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("no se puede conectar con el servidor de Firebird"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("Unable to complete network request"))) << r.err.toStdString();
    EXPECT_TRUE(ServerShop::written(csv).isEmpty());
}

// The server goes away while the cash sheet of a year, with its reports, is being made: the
// document fails as a whole.
// Waits to be enabled until the window's close after a lost connection adds no second error
// window (the access row cannot be written on a connection that has gone).
TEST(ServerFaults, ServerStoppedDuringAYearsListingIsOneSpanishErrorAndNothingWritten)
{
    FirebirdServer& server = FirebirdServer::instance();
    const QStringList year = {"--db", ServerShop::location(), "--fecha-trabajo", ServerShop::LastDay, "--tiendas", "todas",
                              "--listado", "hoja", "--fecha", "entre", "--desde", ServerShop::FirstDay, "--hasta",
                              ServerShop::LastDay, "--totales-dia", "si", "--totales-mes", "si", "--informe-grupos", "si",
                              "--informe-tarjetas", "si"};
    // How long the whole listing takes here, to stop the server well inside it.
    const QString entero = ServerShop::scratch(QStringLiteral("anual-entero.csv"));
    QElapsedTimer timer;
    timer.start();
    const ServerRun whole = ServerShop::run(QStringLiteral("lumetra-listados"), year + QStringList{"--salida", entero});
    const qint64 duration = timer.elapsed();
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();

    const QString csv = ServerShop::scratch(QStringLiteral("anual-cortado.csv"));
    QProcess listing;
    ASSERT_TRUE(ServerShop::start(listing, year + QStringList{"--salida", csv}));
    QThread::msleep(static_cast<unsigned long>(duration * 6 / 10));
    ASSERT_EQ(listing.state(), QProcess::Running) << "the listing ended before the server was stopped";
    const bool ours = server.owned();
    if (ours) {
        // At once: an orderly stop may let the running request, or the whole listing, finish.
        ASSERT_TRUE(server.stop(FirebirdServer::Stop::Abrupt));
    } else {
        // A server this program did not start is not stopped: it ends the listing's connections,
        // as a stopping server does.
        Database db;
        db.open(ServerShop::location(), FirebirdServer::user(), FirebirdServer::password());
        db.execute(QStringLiteral("delete from MON$ATTACHMENTS where MON$REMOTE_PID = %1").arg(listing.processId()));
    }
    const bool finished = listing.waitForFinished(120000);
    if (ours) {
        ASSERT_TRUE(server.start()) << server.why().toStdString();
    }
    ASSERT_TRUE(finished);
    const QString err = QString::fromUtf8(listing.readAllStandardError());
    EXPECT_EQ(listing.exitCode(), 1) << err.toStdString();
    EXPECT_EQ(err.count(QStringLiteral("ventana de error")), 1) << err.toStdString();
    const QString first = err.section(QStringLiteral("ventana de error"), 1, 1);
    EXPECT_TRUE(first.contains(QStringLiteral("servidor de Firebird")) && first.contains(QStringLiteral("conexión")))
        << err.toStdString();
    for (const char* english : {"Error reading data", "connection shutdown", "Cursor is not open"})
        EXPECT_FALSE(err.contains(QLatin1String(english))) << err.toStdString();
    EXPECT_TRUE(ServerShop::written(csv).isEmpty()) << err.toStdString();
}

} // namespace
