#include "support/ListingWindowFixture.h"

#include "hostapi/ModuleLoader.h"
#include "support/TestTools.h"
#include "platform/format/DateTime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace lumetra::test {

ModuleLoader& ListingWindowFixture::module()
{
    static ModuleLoader loader;
    static const bool loaded = loader.load();
    EXPECT_TRUE(loaded) << loader.errorString().toStdString();
    return loader;
}

void ListingWindowFixture::SetUp()
{
    FirebirdFixture::SetUp();
    addStores();
    interaction = std::make_unique<RecordingInteraction>();
    host = std::make_unique<QMainWindow>();
    mdi = new QMdiArea(host.get());
    host->setCentralWidget(mdi);
    host->resize(1200, 800);
    host->show();
}

void ListingWindowFixture::TearDown()
{
    closeWindow();
    session.reset();
    host.reset();
    interaction.reset();
    FirebirdFixture::TearDown();
}

QWidget* ListingWindowFixture::open(int idUsuario, int idTienda)
{
    if (!session) {
        HostOptions options;
        options.baseDatos = path;
        options.idUsuario = idUsuario;
        options.idTienda = idTienda;
        options.fechaTrabajo = DateTime::fromYmd(2013, 6, 15);
        session = std::make_unique<HostSession>(options, host.get());
    }
    EXPECT_EQ(module().cargar(session->params()), 0);
    QApplication::processEvents();
    const QList<QMdiSubWindow*> subs = mdi->subWindowList();
    window = subs.isEmpty() ? nullptr : subs.last()->widget();
    return window;
}

void ListingWindowFixture::closeWindow()
{
    for (QMdiSubWindow* sub : mdi ? mdi->subWindowList() : QList<QMdiSubWindow*>{})
        sub->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window = nullptr;
}

int accessRows(const QString& path)
{
    return int(queryNumber(path, QStringLiteral("select count(*) from ACCESO where ID_OPCION = 4001")));
}

int ListingWindowFixture::audits()
{
    return accessRows(path);
}

void ListingWindowFixture::key(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

} // namespace lumetra::test
