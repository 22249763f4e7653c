// The window under a real X server: this program starts its own Xvfb and a small window manager,
// runs the tests on Qt's X11 platform with the mouse and keyboard driven by xdotool (real X input
// events, through the server), and stops both when done.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(program, arguments);
    return p->waitForStarted(5000) ? std::move(p) : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    // A display number nobody uses.
    int display = 90 + int(QCoreApplication::applicationPid() % 500);
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
        ++display;
    const QString name = QStringLiteral(":%1").arg(display);
    std::unique_ptr<QProcess> server = start(QStringLiteral("Xvfb"), {name, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!server) {
        fprintf(stderr, "no se pudo arrancar Xvfb\n");
        return 1;
    }
    for (int i = 0; i < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); ++i)
        QThread::msleep(50);
    qputenv("DISPLAY", name.toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    std::unique_ptr<QProcess> manager = start(QStringLiteral("matchbox-window-manager"), {"-use_titlebar", "yes"});
    QThread::msleep(300);

    int result = 1;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    for (QProcess* p : {manager.get(), server.get()}) {
        if (!p)
            continue;
        p->terminate();
        if (!p->waitForFinished(3000))
            p->kill();
    }
    return result;
}
