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
            if (hasLibrary(library))
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

    // Waits until the program has written `text` to its standard error, while it runs; what it
    // wrote so far is in errSoFar().
    bool waitForErr(const QString& text, int milliseconds = 60000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!errSoFar_.contains(text) && !deadline.hasExpired() && running()) {
            process_.waitForReadyRead(50);
            errSoFar_ += QString::fromUtf8(process_.readAllStandardError());
        }
        return errSoFar_.contains(text);
    }
    const QString& errSoFar() const { return errSoFar_; }

    // Whether a library whose file name contains `library` is mapped into the process now.
    bool hasLibrary(const QString& library) const
    {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(process_.processId()));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library.toUtf8());
    }

    QString err() { return QString::fromUtf8(process_.readAllStandardError()); }
    QString out() { return QString::fromUtf8(process_.readAllStandardOutput()); }

private:
    QProcess process_;
    QString errSoFar_;
};

} // namespace lumetra::test
