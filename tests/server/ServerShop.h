// ServerShop: the shop the server tests run on: a year of history (2 stores from 01/05/2013)
// created once per test program through the Firebird server by the real lumetra-demodb, in a
// folder the server's user can write, plus an embedded copy of the same file. The real programs
// run as child processes, given the password through ISC_PASSWORD.
#pragma once

#include "server/FirebirdServer.h"

#include "platform/db/DatabaseFile.h"
#include "support/TestTools.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetra::test {

using ServerRun = ProgramRun;

class ServerShop {
public:
    static constexpr const char* FirstDay = "01/05/2013";
    static constexpr const char* LastDay = "30/04/2014";

    // The environment of a program run: the server's user and password, unless told otherwise.
    static QProcessEnvironment environment(const QString& password = FirebirdServer::password())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ISC_USER"), FirebirdServer::user());
        env.insert(QStringLiteral("ISC_PASSWORD"), password);
        return env;
    }

    static ServerRun run(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& env = environment())
    {
        return runProgram(program, arguments, env);
    }

    // Starts lumetra-listados without waiting for its end; false when it does not start.
    static bool start(QProcess& listing, const QStringList& arguments)
    {
        listing.setProcessEnvironment(environment());
        listing.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lumetra-listados")), arguments);
        return listing.waitForStarted(30000);
    }

    // The files a run writes to `csv`: the listing, and the reports the cash sheet prints after it.
    static QStringList written(const QString& csv)
    {
        QStringList files;
        for (const QString& f : {csv, csv.chopped(4) + QStringLiteral("-grupos.csv"), csv.chopped(4) + QStringLiteral("-tarjetas.csv")})
            if (QFileInfo::exists(f))
                files << f;
        return files;
    }

    // The database file on the server, as a path of this machine.
    static const QString& file()
    {
        static const QString path = [] {
            const QString f = folder().filePath(QStringLiteral("tienda.fdb"));
            const ServerRun made = run(QStringLiteral("lumetra-demodb"),
                                       {"create", QStringLiteral("localhost:") + f, "--tiendas", "2", "--dias", "365", "--desde", FirstDay});
            EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
            return f;
        }();
        return path;
    }

    // The same database through the server.
    static QString location() { return QStringLiteral("localhost:") + file(); }

    // A copy of the file as the server left it, opened with the embedded engine.
    static const QString& embedded()
    {
        static const QString path = [] {
            const QString f = scratch(QStringLiteral("embebida.fdb"));
            DatabaseFile::copy(file(), f);
            return f;
        }();
        return path;
    }

    // A path in the test program's own folder (not created), for outputs and embedded copies.
    static QString scratch(const QString& name)
    {
        static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-server-out-XXXXXX"));
        return dir.filePath(name);
    }

    // The folder of the server's databases: the server's user must create files in it.
    static QDir& folder()
    {
        static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-server-db-XXXXXX"));
        static QDir made = [] {
            QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
            return QDir(dir.path());
        }();
        return made;
    }
};

} // namespace lumetra::test
