#include "server/FirebirdServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumetra::test {

namespace {
constexpr const char* kServerProgram = "/usr/sbin/firebird";
constexpr const char* kPasswordFile = "/etc/firebird/3.0/SYSDBA.password";
} // namespace

FirebirdServer& FirebirdServer::instance()
{
    static FirebirdServer server;
    return server;
}

FirebirdServer::~FirebirdServer()
{
    if (owned())
        stop();
    if (!lockDir_.isEmpty())
        QDir(lockDir_).removeRecursively();
}

bool FirebirdServer::listening(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

QString FirebirdServer::password()
{
    QFile file(QString::fromLatin1(kPasswordFile));
    if (file.open(QIODevice::ReadOnly)) {
        static const QRegularExpression line(QStringLiteral("^\\s*ISC_PASSWORD=\"?([^\"\\n]*)\"?\\s*$"),
                                             QRegularExpression::MultilineOption);
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(file.readAll()));
        if (m.hasMatch() && !m.captured(1).isEmpty())
            return m.captured(1);
    }
    return qEnvironmentVariable("ISC_PASSWORD");
}

bool FirebirdServer::waitUntil(bool up, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    while (listening() != up) {
        if (deadline.hasExpired())
            return false;
        if (up && process_ && process_->state() == QProcess::NotRunning)
            return false;
        QThread::msleep(50);
    }
    return true;
}

bool FirebirdServer::ensureRunning()
{
    if (listening() || owned())
        return listening();
    return start();
}

bool FirebirdServer::start()
{
    if (listening()) {
        why_ = QStringLiteral("a server already listens on port %1").arg(Port);
        return owned();
    }
    const passwd* firebird = ::getpwnam("firebird");
    if (!firebird || !QFileInfo(QString::fromLatin1(kServerProgram)).isExecutable()) {
        why_ = QStringLiteral("no Firebird server is running and none is installed (scripts/setup installs firebird3.0-server)");
        return false;
    }
    if (::geteuid() != 0) {
        why_ = QStringLiteral("no Firebird server is running on 127.0.0.1:%1, and only root can start one as the firebird "
                              "user: start it (service firebird3.0 start) or run the tests as root").arg(Port);
        return false;
    }
    if (lockDir_.isEmpty()) {
        QByteArray pattern = QDir::temp().filePath(QStringLiteral("lumetra-fbserver-XXXXXX")).toLocal8Bit();
        if (!::mkdtemp(pattern.data()) || ::chown(pattern.constData(), firebird->pw_uid, firebird->pw_gid) != 0) {
            why_ = QStringLiteral("cannot make the server's lock folder");
            return false;
        }
        lockDir_ = QString::fromLocal8Bit(pattern);
    }
    process_ = std::make_unique<QProcess>();
    process_->setWorkingDirectory(lockDir_);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // setpriv runs the server itself, so this process's child is the server.
    process_->start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=firebird"), QStringLiteral("--regid=firebird"), QStringLiteral("--init-groups"),
                     QStringLiteral("--"), QString::fromLatin1(kServerProgram), QStringLiteral("-p"), QString::number(Port),
                     QStringLiteral("-el"), lockDir_});
    if (!process_->waitForStarted(10000) || !waitUntil(true, 20000)) {
        why_ = QStringLiteral("the Firebird server did not start: %1").arg(QString::fromUtf8(process_->readAll()));
        process_->kill();
        process_->waitForFinished(5000);
        process_.reset();
        return false;
    }
    return true;
}

bool FirebirdServer::stop(Stop how)
{
    if (!owned())
        return false;
    if (how == Stop::Abrupt)
        process_->kill();
    else
        process_->terminate();
    if (!process_->waitForFinished(20000)) {
        process_->kill();
        process_->waitForFinished(5000);
    }
    process_.reset();
    return waitUntil(false, 10000);
}

} // namespace lumetra::test
