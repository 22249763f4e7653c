// FirebirdServer: the Firebird server on 127.0.0.1:3050 that the server tests run against. When
// none is listening, the test program starts one itself (the packaged server binary, as the
// firebird user, with a lock folder of its own so that it shares no lock file with the embedded
// engines of other programs), and stops it when the program ends. A server someone else started
// is used as it is and never stopped.
//
// The SYSDBA password is the one the server package generated, read from its file
// (/etc/firebird/3.0/SYSDBA.password), else ISC_PASSWORD.
#pragma once

#include <QProcess>
#include <QString>
#include <memory>

namespace lumetra::test {

class FirebirdServer {
public:
    static constexpr int Port = 3050;

    static FirebirdServer& instance();

    // Starts the server unless one is listening; false (with why()) when it cannot.
    bool ensureRunning();
    // Only for a server this program started (owned()); both wait until it is down or up.
    // An orderly stop lets the server end its connections as it sees fit (it may let a running
    // request finish first); an abrupt one kills it at once, as a crash or a power cut does.
    enum class Stop { Orderly, Abrupt };
    bool stop(Stop how = Stop::Orderly);
    bool start();
    bool owned() const { return process_ != nullptr; }
    static bool listening(int port = Port);

    const QString& why() const { return why_; }
    static QString password();
    static QString user() { return QStringLiteral("SYSDBA"); }

    ~FirebirdServer();

private:
    FirebirdServer() = default;
    bool waitUntil(bool up, int milliseconds) const;

    std::unique_ptr<QProcess> process_;
    QString lockDir_;
    QString why_;
};

} // namespace lumetra::test
