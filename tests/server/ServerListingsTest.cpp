// The listings through a real Firebird server (localhost:/path): every listing prints the same
// CSV as the embedded engine on the same file, and a listing that runs while another connection
// commits rows prints the database as it stood at one instant.
#include "server/ServerShop.h"

#include "platform/db/Database.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace lumetra;
using namespace lumetra::test;

namespace {

class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        FirebirdServer& server = FirebirdServer::instance();
        ASSERT_TRUE(server.ensureRunning()) << server.why().toStdString();
        ASSERT_FALSE(FirebirdServer::password().isEmpty())
            << "no SYSDBA password: neither /etc/firebird/3.0/SYSDBA.password nor ISC_PASSWORD gives one";
    }
    // Before the application goes: the server is a child process of this one.
    void TearDown() override
    {
        if (FirebirdServer::instance().owned())
            FirebirdServer::instance().stop();
    }
};
[[maybe_unused]] ::testing::Environment* const kServer = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Listing {
    const char* name;
    QStringList options;
};

QStringList month(const QStringList& more)
{
    return QStringList{"--fecha-trabajo", "30/06/2013", "--tiendas", "todas", "--fecha", "entre", "--desde", "01/06/2013",
                       "--hasta", "30/06/2013"} + more;
}

const QStringList kHojaCompleta = {"--totales-dia", "si", "--totales-mes", "si", "--detalle-encargos", "si",
                                   "--informe-grupos", "si", "--informe-tarjetas", "si"};

TEST(ServerListings, EveryListingPrintsTheSameAsTheEmbeddedEngineOnTheSameFile)
{
    const Listing listings[] = {
        {"hoja-cobro", month(QStringList{"--listado", "hoja", "--iva", "cobro"} + kHojaCompleta)},
        {"hoja-encargo", month(QStringList{"--listado", "hoja", "--iva", "encargo"} + kHojaCompleta)},
        {"hoja-caja", month(QStringList{"--listado", "hoja", "--iva", "caja"} + kHojaCompleta)},
        {"hoja-dia", {"--fecha-trabajo", "14/06/2013", "--tiendas", "todas", "--listado", "hoja", "--totales-mes", "si"}},
        {"diario-resumido", month({"--listado", "diario", "--iva", "cobro", "--tipo", "resumido"})},
        {"diario-detallado", month({"--listado", "diario", "--iva", "cobro", "--tipo", "detallado", "--familia", "si"})},
        {"diario-dias-hoja", month({"--listado", "diario", "--iva", "cobro", "--tipo", "dias-hoja"})},
        {"diario-dias", month({"--listado", "diario", "--iva", "cobro", "--tipo", "dias"})},
        {"diario-encargo", month({"--listado", "diario", "--iva", "encargo", "--tipo", "detallado"})},
        {"diario-caja", month({"--listado", "diario", "--iva", "caja", "--tipo", "detallado"})},
        {"diario-todas", {"--tiendas", "todas", "--listado", "diario", "--fecha", "todas", "--tipo", "resumido"}},
        {"grupos", month({"--listado", "grupos"})},
        {"tarjetas", month({"--listado", "tarjetas"})},
    };
    for (const Listing& l : listings) {
        SCOPED_TRACE(l.name);
        const QString servidor = ServerShop::scratch(QStringLiteral("servidor-%1.csv").arg(QLatin1String(l.name)));
        const QString embebido = ServerShop::scratch(QStringLiteral("embebido-%1.csv").arg(QLatin1String(l.name)));
        const ServerRun remote = ServerShop::run(QStringLiteral("lumetra-listados"),
                                                 QStringList{"--db", ServerShop::location(), "--salida", servidor} + l.options);
        const ServerRun local = ServerShop::run(QStringLiteral("lumetra-listados"),
                                                QStringList{"--db", ServerShop::embedded(), "--salida", embebido} + l.options);
        ASSERT_EQ(remote.exitCode, 0) << remote.err.toStdString();
        ASSERT_EQ(local.exitCode, 0) << local.err.toStdString();
        const QStringList remoteFiles = ServerShop::written(servidor);
        const QStringList localFiles = ServerShop::written(embebido);
        ASSERT_EQ(remoteFiles.size(), localFiles.size());
        for (qsizetype i = 0; i < remoteFiles.size(); ++i) {
            EXPECT_GT(contents(remoteFiles[i]).size(), 200) << remoteFiles[i].toStdString();
            EXPECT_TRUE(contents(remoteFiles[i]) == contents(localFiles[i]))
                << remoteFiles[i].toStdString() << " differs from " << localFiles[i].toStdString();
        }
    }
}

// Another connection keeps committing, one at a time, a cash-box movement and a second collection
// of a sale inside the listed year while the cash sheet of the year (with its month totals, read
// from the database day by day, and its reports) prints. The listing shows some first k of them;
// it must be exactly the listing of the database holding those k and no others.
TEST(ServerListings, RowsCommittedWhileAListingRunsPrintAsTheDatabaseStoodAtOneInstant)
{
    const QString marca = QStringLiteral("Movimiento durante el listado");
    Database db;
    db.open(ServerShop::location(), FirebirdServer::user(), FirebirdServer::password());
    const auto number = [&](const QString& sql) { return int(queryNumber(db, sql)); };
    const int caja = number(QStringLiteral("select first 1 ID_CAJA N from CAJA where CAST(FECHA AS DATE) = '06/14/2013' "
                                           "and IMPORTE_M1 > 0 order by ID_CAJA"));
    const int cobro = number(QStringLiteral(
        "select first 1 C.ID_COBRO N from COBRO C join MVENTA M on M.ID_MVENTA = C.ID_MVENTA "
        "where M.TIPO_OPERACION = 0 and CAST(C.FECHA AS DATE) = '06/14/2013' order by C.ID_COBRO"));
    ASSERT_GT(caja, 0);
    ASSERT_GT(cobro, 0);
    const int baseCaja = number(QStringLiteral("select max(ID_CAJA) + 1000 N from CAJA"));
    const int baseCobro = number(QStringLiteral("select max(ID_COBRO) + 1000 N from COBRO"));
    int committed = 0;
    const auto commitOne = [&] {
        ++committed;
        // One statement, so the two rows commit together.
        db.execute(QStringLiteral(
            "execute block as begin "
            "insert into CAJA (ID_CAJA, ID_TIENDA, FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) "
            "select %1, ID_TIENDA, FECHA, TIPO, '%2', IMPORTE_M1, ID_FORMA_PAGO from CAJA where ID_CAJA = %3; "
            "insert into COBRO (ID_COBRO, ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, ID_AGENTE, TICKET) "
            "select %4, ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, ID_AGENTE, TICKET from COBRO where ID_COBRO = %5; "
            "end")
                       .arg(baseCaja + committed).arg(marca).arg(caja).arg(baseCobro + committed).arg(cobro));
    };

    const QStringList year = QStringList{"--fecha-trabajo", ServerShop::LastDay, "--tiendas", "todas", "--listado", "hoja",
                                         "--fecha", "entre", "--desde", ServerShop::FirstDay, "--hasta", ServerShop::LastDay}
        + kHojaCompleta;
    const QString durante = ServerShop::scratch(QStringLiteral("durante.csv"));
    for (int i = 0; i < 3; ++i)
        commitOne();
    QProcess listing;
    ASSERT_TRUE(ServerShop::start(listing, QStringList{"--db", ServerShop::location(), "--salida", durante} + year));
    while (!listing.waitForFinished(5))
        commitOne();
    const int during = committed;
    ASSERT_EQ(listing.exitCode(), 0) << listing.readAllStandardError().toStdString();

    const int seen = int(contents(durante).count(marca.toUtf8()));
    ASSERT_GE(seen, 3);
    ASSERT_LE(seen, during);
    EXPECT_GT(during, seen) << "nothing was committed after the listing's view was taken: the test proved nothing";

    // The database holding exactly the rows the listing showed.
    db.execute(QStringLiteral("delete from CAJA where ID_CAJA > %1").arg(baseCaja + seen));
    db.execute(QStringLiteral("delete from COBRO where ID_COBRO > %1").arg(baseCobro + seen));
    db.close();
    const QString despues = ServerShop::scratch(QStringLiteral("despues.csv"));
    const ServerRun quiet = ServerShop::run(QStringLiteral("lumetra-listados"),
                                            QStringList{"--db", ServerShop::location(), "--salida", despues} + year);
    ASSERT_EQ(quiet.exitCode, 0) << quiet.err.toStdString();
    const QStringList shown = ServerShop::written(durante);
    const QStringList expected = ServerShop::written(despues);
    ASSERT_EQ(shown.size(), 3);
    ASSERT_EQ(expected.size(), 3);
    for (qsizetype i = 0; i < shown.size(); ++i)
        EXPECT_TRUE(contents(shown[i]) == contents(expected[i])) << shown[i].toStdString() << " (" << seen << " of "
                                                                 << during << " rows seen)";

    // The shop as it was, for the other tests.
    db.open(ServerShop::location(), FirebirdServer::user(), FirebirdServer::password());
    db.execute(QStringLiteral("delete from CAJA where ID_CAJA > %1").arg(baseCaja));
    db.execute(QStringLiteral("delete from COBRO where ID_COBRO > %1").arg(baseCobro));
}

} // namespace
