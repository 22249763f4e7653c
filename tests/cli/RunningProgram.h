// RunningProgram: one of the real programs started as a child process and left running, so a test
// can signal it mid-run the way a shell or a service manager does.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <signal.h>

namespace lumetra::test {

class RunningProgram {
public:
    RunningProgram(const QString& program, const QStringList& arguments)
    {
        process_.start(QDir(QCoreApplication::applicationDirPath()).filePath(program), arguments);
        EXPECT_TRUE(process_.waitForStarted(30000)) << program.toStdString();
    }
    ~RunningProgram()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(30000);
        }
    }

    bool running() const { return process_.state() == QProcess::Running; }

    // Waits until the process has mapped a library whose file name contains `library` (the
    // Firebird engine once it has connected, the listing module once the host loaded it).
    bool waitForLibrary(const QString& library, int milliseconds = 120000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired() && running()) {
            QFile maps(QStringLiteral("/proc/%1/maps").arg(process_.processId()));
            if (maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library.toUtf8()))
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    void signal(int number) { ASSERT_EQ(::kill(pid_t(process_.processId()), number), 0); }

    // The exit status once it ended by itself (-1 when it was ended by a signal or did not end).
    int wait(int milliseconds = 300000)
    {
        if (!process_.waitForFinished(milliseconds)) {
            ADD_FAILURE() << "the program did not end";
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    QString err() { return QString::fromUtf8(process_.readAllStandardError()); }
    QString out() { return QString::fromUtf8(process_.readAllStandardOutput()); }

private:
    QProcess process_;
};

} // namespace lumetra::test
