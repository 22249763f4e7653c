// lumetra-listados stopped by SIGTERM or Ctrl-C mid-listing, on a history big enough to take
// some seconds: it ends with the shell's status for the signal and leaves the file it was to
// replace exactly as it was, with nothing else beside it.
#include "DemoShop.h"
#include "RunningProgram.h"

#include "platform/format/PrintQString.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <tuple>

using namespace lumetra::test;

namespace {

const QByteArray kEarlier = "listado anterior, que nadie debe perder\n";

class ListadosSignalTest : public ::testing::Test {
protected:
    // Ten stores and four months: the cash sheets of all of them take some seconds.
    static const QString& bigShop()
    {
        static const QString file = [] {
            const QString f = DemoShop::scratch(QStringLiteral("cuatrimestre.fdb"));
            const ProgramRun made = DemoShop::run(QStringLiteral("lumetra-demodb"),
                                                  {"create", f, "--tiendas", "10", "--dias", "120", "--desde", DemoShop::FirstDay});
            EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
            return f;
        }();
        return file;
    }

    static QStringList monthsOfCashSheets(const QString& salida)
    {
        return {"--db", bigShop(), "--listado", "hoja", "--fecha", "entre", "--desde", DemoShop::FirstDay, "--hasta",
                "28/08/2013", "--tiendas", "todas", "--informe-grupos", "si", "--informe-tarjetas", "si", "--salida", salida};
    }

    QString earlierListing(const QString& name)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kEarlier);
        return path;
    }

    QStringList entries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/lumetra-senal-XXXXXX")};
};

TEST_F(ListadosSignalTest, ASignalMidListingEndsItWithTheSignalsStatusAndTheEarlierFileUntouched)
{
    const std::tuple<const char*, int, int, const char*> rows[] = {{"sigterm_xlsx", SIGTERM, 143, "hoja.xlsx"}, {"sigint_csv", SIGINT, 130, "hoja.csv"}};
    for (const auto& [name, signal, status, output] : rows) {
        const QString salida = earlierListing(QString::fromLatin1(output));
        RunningProgram listados(QStringLiteral("lumetra-listados"), monthsOfCashSheets(salida));
        // Connected: the Firebird client has put its own handlers in by now.
        ASSERT_TRUE(listados.waitForLibrary(QStringLiteral("libEngine12"))) << name << ": " << listados.err().toStdString();
        QThread::msleep(500);
        ASSERT_TRUE(listados.running()) << name << ": the listing ended before the signal; the history is too small";
        listados.signal(signal);

        EXPECT_EQ(listados.wait(), status) << name;
        const QString err = listados.err();
        EXPECT_TRUE(err.contains(QStringLiteral("interrumpido"))) << name << ": " << err.toStdString();
        EXPECT_EQ(err.count(QStringLiteral("lumetra-listados:")), 1) << name << ": one line, no errors after it: " << err.toStdString();
        EXPECT_TRUE(listados.out().isEmpty()) << name;
        EXPECT_EQ(contents(salida), kEarlier) << name;
        EXPECT_EQ(entries(), QStringList{QString::fromLatin1(output)}) << name << ": nothing written beside it";
        QFile::remove(salida);
    }
}

} // namespace
