#include "common/BDAcceso.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Dataset.h"
#include "platform/format/PrintQString.h"
#include "support/FirebirdFixture.h"
#include "support/TestTools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

using namespace lumetra;

namespace {

class AuditRecordTest : public test::FirebirdFixture {
protected:
    void SetUp() override
    {
        FirebirdFixture::SetUp();
        exec({"insert into USUARIO (ID_USUARIO, NOMBRE_USUARIO) values (7, 'Marta Soler')"});
    }

    // Reads ACCESO through a connection of its own, so only committed rows are seen.
    int filas() { return int(test::queryNumber(path, "select count(*) from ACCESO")); }

    // A record that passes every check.
    void completar(TBDAcceso& r)
    {
        r.SetIdUsuario(7);
        r.SetUsuarioNom("Marta Soler");
        r.SetIdOpcion(TBDAcceso::OpcionHojaCajaDiaria);
        r.SetOperacionTip(1);
        r.SetFechaSistema(DateTime::now());
        r.SetFechaPrograma(DateTime::fromYmd(2013, 6, 15));
    }
};

double horaDelDia(const DateTime& d)
{
    return d.serial() - std::floor(d.serial());
}

TEST_F(AuditRecordTest, RegistrarAccesoWritesOneCommittedRow)
{
    TBDAcceso registro(&db, nullptr, &db);
    const DateTime antes = DateTime::now();
    registro.RegistrarAcceso(7, 4001, 3, DateTime::fromYmd(2013, 6, 15));
    const DateTime despues = DateTime::now();
    Database otra;
    otra.open(path);
    EXPECT_EQ(test::queryRows(otra, "select ID_USUARIO, ID_OPCION, ID_OPERACION, ID_TIENDA, USUARIO_NOM, OPCION_NOM, OPERACION_COD, "
                                    "OPERACION_DET, OPERACION_IMP, OPERACION_TIP, OPERACION_ENT from ACCESO"),
              (QList<QStringList>{{"7", "4001", "-1", "3", "Marta Soler", "Hoja de caja diaria", "", "", "0", "1", "0"}}));
    Dataset fila;
    fila.setDatabase(&otra);
    fila.setSql("select * from ACCESO");
    fila.open();
    EXPECT_TRUE(fila.fieldAsDateTime("OPERACION_FECHA").isZero());

    const double segundo = 1.0 / 86400;
    const DateTime sistema = fila.fieldAsDateTime("FECHA_SISTEMA");
    EXPECT_GE(sistema.serial(), antes.serial() - segundo);
    EXPECT_LE(sistema.serial(), despues.serial() + segundo);
    const DateTime programa = fila.fieldAsDateTime("FECHA_PROGRAMA");
    EXPECT_EQ(programa.date(), QDate(2013, 6, 15)) << "the working date, not today";
    EXPECT_NEAR(horaDelDia(programa), horaDelDia(sistema), segundo) << "with the time of day of now";
}

TEST_F(AuditRecordTest, UnknownUserIsRecordedUnknownOptionRefusedAndDatabaseErrorsThrown)
{
    TBDAcceso desconocido(&db, nullptr, &db);
    desconocido.RegistrarAcceso(999, 4001, 0, DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(desconocido.UsuarioNom(), "Desconocido");
    ASSERT_EQ(filas(), 1);

    TBDAcceso sinOpcion(&db, nullptr, &db);
    sinOpcion.RegistrarAcceso(7, 4999, 0, DateTime::fromYmd(2013, 6, 15));
    EXPECT_EQ(sinOpcion.Insertar(), TBDAcceso::ErrorNombreOpcion);
    EXPECT_EQ(filas(), 1) << "the unknown option wrote nothing";

    // A database error reaches the caller.
    TBDAcceso largo(&db, nullptr, &db);
    completar(largo);
    largo.SetUsuarioNom(QString(60, QLatin1Char('x')));   // longer than the column
    EXPECT_THROW(largo.Insertar(), DatabaseError);
    EXPECT_EQ(filas(), 1);
}

TEST_F(AuditRecordTest, ChecksRefuseIncompleteRowsInOrder)
{
    const std::tuple<const char*, std::function<void(TBDAcceso&)>, int> casos[] = {
        {"complete row is inserted", [](TBDAcceso&) {}, 0},
        {"no option", [](TBDAcceso& r) { r.SetIdOpcion(-1); }, TBDAcceso::ErrorOpcion},
        {"no user", [](TBDAcceso& r) { r.SetIdUsuario(-1); }, TBDAcceso::ErrorUsuario},
        {"operation type 12", [](TBDAcceso& r) { r.SetOperacionTip(12); }, TBDAcceso::ErrorTipoOperacion},
        {"negative operation type", [](TBDAcceso& r) { r.SetOperacionTip(-1); }, TBDAcceso::ErrorTipoOperacion},
        {"operation type 11 is valid", [](TBDAcceso& r) { r.SetOperacionTip(11); }, 0},
        {"empty user name", [](TBDAcceso& r) { r.SetUsuarioNom(""); }, TBDAcceso::ErrorNombreUsuario},
        {"empty option name", [](TBDAcceso& r) { r.SetOpcionNom(""); }, TBDAcceso::ErrorNombreOpcion},
        {"zero system date", [](TBDAcceso& r) { r.SetFechaSistema(DateTime::zero()); }, TBDAcceso::ErrorFechaSistema},
        {"zero program date", [](TBDAcceso& r) { r.SetFechaPrograma(DateTime::zero()); }, TBDAcceso::ErrorFechaPrograma},
        {"option checked before user", [](TBDAcceso& r) { r.SetIdOpcion(-1); r.SetIdUsuario(-1); }, TBDAcceso::ErrorOpcion},
        {"user name checked before option name",
         [](TBDAcceso& r) { r.SetUsuarioNom(""); r.SetOpcionNom(""); }, TBDAcceso::ErrorNombreUsuario},
        {"system date checked before program date",
         [](TBDAcceso& r) { r.SetFechaSistema(DateTime::zero()); r.SetFechaPrograma(DateTime::zero()); },
         TBDAcceso::ErrorFechaSistema},
    };
    for (const auto& [nombre, romper, esperado] : casos) {
        SCOPED_TRACE(nombre);
        const int antes = filas();
        TBDAcceso registro(&db, nullptr, &db);
        completar(registro);
        romper(registro);
        EXPECT_EQ(registro.Insertar(), esperado);
        EXPECT_EQ(filas(), antes + (esperado == 0 ? 1 : 0));
    }
}

} // namespace
