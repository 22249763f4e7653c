// DemoShop: the shop these tests run on: a real database made once per test program by the real
// lumetra-demodb (2 stores, 10 days from FirstDay), and the real programs beside the test
// program, run as child processes. Only child processes open the shared database; a test that
// opens one in this process takes a copy.
#pragma once

#include "platform/db/DatabaseFile.h"
#include "support/TestTools.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumetra::test {

class DemoShop {
public:
    static constexpr const char* FirstDay = "01/05/2013";

    static ProgramRun run(const QString& program, const QStringList& arguments) { return runProgram(program, arguments); }

    static const QString& path()
    {
        static const QString file = [] {
            const QString f = scratch(QStringLiteral("demo.fdb"));
            const ProgramRun made = run(QStringLiteral("lumetra-demodb"),
                                        {"create", f, "--tiendas", "2", "--dias", "10", "--desde", FirstDay});
            EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
            return f;
        }();
        return file;
    }

    static QString copy(const QString& name)
    {
        const QString file = scratch(name + QStringLiteral(".fdb"));
        DatabaseFile::copy(path(), file);
        return file;
    }

    // A path in the test program's scratch folder (not created).
    static QString scratch(const QString& name)
    {
        static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-cli-XXXXXX"));
        return dir.filePath(name);
    }
};

} // namespace lumetra::test
