#include "support/FirebirdFixture.h"

#include "demodb/ShopDatabase.h"
#include "platform/db/DatabaseFile.h"

#include <QDir>
#include <QTemporaryDir>

namespace lumetra::test {

namespace {
QTemporaryDir& workDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-test-XXXXXX"));
    return dir;
}
int copies = 0;
} // namespace

QString FirebirdFixture::templatePath()
{
    static const QString path = [] {
        const QString file = workDir().filePath(QStringLiteral("template.fdb"));
        ShopDatabase::create(file);
        return file;
    }();
    return path;
}

QString FirebirdFixture::freshCopy(const QString& name)
{
    const QString file = workDir().filePath(QStringLiteral("%1-%2.fdb").arg(name).arg(++copies));
    DatabaseFile::copy(templatePath(), file);
    return file;
}

void FirebirdFixture::SetUp()
{
    path = freshCopy();
    db.open(path);
}

void FirebirdFixture::TearDown()
{
    db.close();
}

void FirebirdFixture::exec(const QStringList& statements)
{
    for (const QString& sql : statements)
        db.execute(sql);
}

void FirebirdFixture::addStores()
{
    exec({"insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, ID_LOCALIDAD) values (1, 30, 'Lumetra Centro', 1)",
          "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, ID_LOCALIDAD) values (2, 10, 'Lumetra Gràcia', 1)",
          "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, ID_LOCALIDAD) values (3, 20, 'Lumetra Sabadell', 2)"});
}

} // namespace lumetra::test
