// What lumetra-listados says when the database itself stands in the way: held by another program
// of this machine, or read-only. Each is said in Spanish, never in the engine's English.
#include "DemoShop.h"

#include "platform/db/DatabaseFile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace lumetra;
using namespace lumetra::test;

namespace {

QStringList hojaDelPrimerDia(const QString& db, const QString& salida)
{
    return {"--db", db, "--listado", "hoja", "--desde", QString::fromLatin1(DemoShop::FirstDay), "--tiendas", "todas",
            "--salida", salida};
}

TEST(DatabaseMessages, DatabaseOpenInAnotherProgramIsSaidInSpanish)
{
    const QString tienda = DemoShop::copy(QStringLiteral("abierta"));
    // Another program holds the database with the embedded engine, as a second host would.
    QProcess otro;
    otro.start(DatabaseFile::isqlProgram(), {QStringLiteral("-q"), tienda});
    ASSERT_TRUE(otro.waitForStarted(30000));
    otro.write("select 'conectado' from RDB$DATABASE;\n");
    while (!otro.readAllStandardOutput().contains("conectado"))
        ASSERT_TRUE(otro.waitForReadyRead(30000)) << otro.readAllStandardError().toStdString();

    const QString csv = DemoShop::scratch(QStringLiteral("abierta.csv"));
    const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"), hojaDelPrimerDia(tienda, csv));
    otro.closeWriteChannel();
    otro.waitForFinished(30000);

    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("la base de datos ya está abierta en otro programa de este equipo")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("engine instance"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(csv));

    // Once the other program has let it go, the same listing prints.
    const ProgramRun again = DemoShop::run(QStringLiteral("lumetra-listados"), hojaDelPrimerDia(tienda, csv));
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
}

TEST(DatabaseMessages, ReadOnlyDatabasePrintsAndSaysTheAccessWasNotRecorded)
{
    const QString tienda = DemoShop::copy(QStringLiteral("solo-lectura"));
    const ProgramRun modo = DemoShop::run(QStringLiteral("gfix"), {QStringLiteral("-mode"), QStringLiteral("read_only"), tienda});
    ASSERT_EQ(modo.exitCode, 0) << "gfix (firebird3.0-utils): " << modo.err.toStdString();

    const QString csv = DemoShop::scratch(QStringLiteral("solo-lectura.csv"));
    const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"), hojaDelPrimerDia(tienda, csv));
    // The listing reads only: it is printed. Closing the window cannot write its access row.
    EXPECT_TRUE(QFile::exists(csv)) << r.err.toStdString();
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QStringLiteral("ventana de error")), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("No se ha podido anotar el acceso: "))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("la base de datos es de solo lectura"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("attempted update"))) << r.err.toStdString();
}

TEST(DatabaseMessages, FileTheProgramCannotWriteIsSaidInSpanish)
{
    // A folder every user can go into, with a database file nobody may write.
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-permisos-XXXXXX"));
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    const QString tienda = dir.filePath(QStringLiteral("tienda.fdb"));
    DatabaseFile::copy(DemoShop::path(), tienda);
    QFile::setPermissions(tienda, QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QString csv = dir.filePath(QStringLiteral("hoja.csv"));

    // Root writes any file: the program then runs as the database engine's own user.
    const QString listados = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lumetra-listados"));
    const ProgramRun r = ::geteuid() != 0
        ? DemoShop::run(listados, hojaDelPrimerDia(tienda, csv))
        : DemoShop::run(QStringLiteral("setpriv"), QStringList{"--reuid=firebird", "--regid=firebird", "--init-groups", "--", listados}
                                                       + hojaDelPrimerDia(tienda, csv));
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("no hay permiso para escribir en el fichero de la base de datos"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("no permission"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(csv));
}

} // namespace
