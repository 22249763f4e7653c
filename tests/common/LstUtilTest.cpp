#include "common/LstUtil.h"
#include "platform/db/DatabaseCalls.h"
#include "platform/db/DatabaseError.h"
#include "platform/format/PrintQString.h"
#include "support/FirebirdFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

using namespace lumetra;

namespace {

class LstUtilTest : public test::FirebirdFixture {
protected:
    void SetUp() override
    {
        FirebirdFixture::SetUp();
        exec({
            "insert into PACIENTE (ID_PACIENTE, CODIGO, NOMBRE, APELLIDOS, BORRADO) values (1, 1, 'Ana', 'García López', 0)",
            "insert into PACIENTE (ID_PACIENTE, CODIGO, NOMBRE, APELLIDOS, BORRADO) values (2, 2, 'Luis', 'Pérez', 1)",
            "insert into FAMILIA (ID_FAMILIA, CODIGO, DESCRIPCION) values (5, 'MON', 'Monturas')",
            "insert into ARTICULO (REFERENCIA, DESCRIPCION, ID_FAMILIA) values ('MON-001', 'Montura metal', 5)",
            "insert into ARTICULO (REFERENCIA, DESCRIPCION, ID_FAMILIA) values ('ABCDEFGHIJKLM', 'Trece', 5)",
            "insert into ARTICULO (REFERENCIA, DESCRIPCION, ID_FAMILIA) values ('SINFAM', 'Sin familia', 77)",
            // A locality whose province row does not exist.
            "insert into LOCALIDAD (ID_LOCALIDAD, ID_PROVINCIA, CODIGO_POSTAL, DESCRIPCION) values (50, 77, 46100, 'Burjassot')",
        });
    }

    std::unique_ptr<TLstUtil> utilidad() { return std::make_unique<TLstUtil>(&db, nullptr, &db); }
};

struct Caso {
    const char* nombre;
    std::function<QString(TLstUtil&)> texto;
    QString esperado;
};

void comprobar(TLstUtil& u, const std::vector<Caso>& casos)
{
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(c.texto(u), c.esperado);
    }
}

TEST_F(LstUtilTest, NumberDateDocumentLocalityAndFamilyTexts)
{
    auto u = utilidad();
    comprobar(*u, {
        {"zero amount before any other", [](TLstUtil& u) { return u.TextoImporte(false, 0); }, "0,00 €"},
        {"second currency has no decimals", [](TLstUtil& u) { return u.TextoImporte(true, 1663.86); }, "1.664 Pts"},
        {"main currency after a second-currency one", [](TLstUtil& u) { return u.TextoImporte(false, 1234.5); }, "1.234,50 €"},
        {"negative amount", [](TLstUtil& u) { return u.TextoImporte(false, -2.675); }, "-2,68 €"},
        {"percent not scaled", [](TLstUtil& u) { return u.TextoPorcentaje(12.5); }, "12,50 %"},
        {"decimal grouped", [](TLstUtil& u) { return u.TextoDecimal(1234.5); }, "1.234,50"},
        {"integer grouped and rounded", [](TLstUtil& u) { return u.TextoEntero(1234.5); }, "1.235"},
        {"postcode padded", [](TLstUtil& u) { return u.TextoCodigoPostal(8001); }, "08001"},
        {"document number grouped", [](TLstUtil& u) { return u.TextoNumeroDocumento("B", "-", 1234); }, "B-1.234"},
        {"document without series", [](TLstUtil& u) { return u.TextoNumeroDocumento("", "/", 15); }, "15"},
        {"document with series 0", [](TLstUtil& u) { return u.TextoNumeroDocumento("0", "/", 15); }, "15"},
        {"document number 0", [](TLstUtil& u) { return u.TextoNumeroDocumento("A", "/", 0); }, ""},
        {"document number -1", [](TLstUtil& u) { return u.TextoNumeroDocumento("A", "/", -1); }, ""},
        {"zero date", [](TLstUtil& u) { return u.TextoFecha("30/12/1899"); }, ""},
        {"far-future date", [](TLstUtil& u) { return u.TextoFecha("30/05/2079"); }, ""},
        {"ordinary date", [](TLstUtil& u) { return u.TextoFecha("15/06/2013"); }, "15/06/2013"},
        {"whole text compared", [](TLstUtil& u) { return u.TextoFecha(" 30/12/1899"); }, " 30/12/1899"},
        // Locality lines.
        {"id 0 is undefined", [](TLstUtil& u) { return u.TextoLocalidad(0); }, "[No definida]"},
        {"known locality", [](TLstUtil& u) { return u.TextoLocalidad(1); }, "08001 - Barcelona (Barcelona)"},
        {"missing province not taken from the last line", [](TLstUtil& u) { return u.TextoLocalidad(50); },
         "46100 - Burjassot ()"},
        {"unknown id", [](TLstUtil& u) { return u.TextoLocalidad(999); }, "[No Definida]"},
        {"found again after a miss", [](TLstUtil& u) { return u.TextoLocalidad(3); }, "28001 - Madrid (Madrid)"},
        // Article families.
        {"reference 0", [](TLstUtil& u) { return u.FamiliaArticulo("0", "Otros"); }, "Otros"},
        {"found article", [](TLstUtil& u) { return u.FamiliaArticulo("MON-001", "Otros"); }, "Monturas"},
        {"13-character reference is searched", [](TLstUtil& u) { return u.FamiliaArticulo("ABCDEFGHIJKLM", "Otros"); },
         "Monturas"},
        {"14-character reference", [](TLstUtil& u) { return u.FamiliaArticulo("ABCDEFGHIJKLMN", "Otros"); }, "Otros"},
        {"unknown reference", [](TLstUtil& u) { return u.FamiliaArticulo("NO-EXISTE", "Otros"); }, "Otros"},
        {"empty reference", [](TLstUtil& u) { return u.FamiliaArticulo("", "Otros"); }, "Otros"},
        {"article whose family is missing", [](TLstUtil& u) { return u.FamiliaArticulo("SINFAM", "Otros"); }, ""},
    });
}

TEST_F(LstUtilTest, CurrencyPatternFollowsDecimalsAndSymbol)
{
    const std::tuple<const char*, int, const char*, double, QString> casos[] = {
        {"two decimals", 2, "€", 1234.6, "1.234,60 €"},
        {"no decimals rounds half up", 0, "€", 1234.6, "1.235 €"},
        {"three decimals", 3, "$", 0.5, "0,500 $"},
        {"a symbol with a period keeps it", 2, "S/.", 1234.5, "1.234,50 S/."},
        {"a symbol with a quote", 2, "o''", 1, "1,00 o'"},
    };
    for (const auto& [nombre, decimales, simbolo, importe, esperado] : casos) {
        SCOPED_TRACE(nombre);
        exec({QStringLiteral("update MONEDA set DECIMALES_M1 = %1, SIMBOLO_M1 = '%2'").arg(decimales).arg(simbolo)});
        EXPECT_EQ(utilidad()->TextoImporte(false, importe), esperado);
    }
}

// Counts the procedure calls and queries that reach the database.
struct CallCounter : DatabaseCalls::Observer {
    int procedures = 0;
    int queries = 0;
    void call(DatabaseCalls::Operation op, const QString&) override
    {
        if (op == DatabaseCalls::Operation::Procedure)
            ++procedures;
        else if (op == DatabaseCalls::Operation::Execute)
            ++queries;
    }
    CallCounter() { DatabaseCalls::setObserver(this); }
    ~CallCounter() override { DatabaseCalls::setObserver(nullptr); }
};

TEST_F(LstUtilTest, OneListingAnswersEachLookupOnceAndTheSameThroughout)
{
    auto u = utilidad();
    {
        CallCounter calls;
        for (int i = 0; i < 20; ++i) {
            // The deleted flag is each patient's own: the next active patient clears it.
            for (const auto& [id, nombre] : std::initializer_list<std::pair<double, const char*>>{
                     {1, "García López, Ana"}, {2, "Pérez, Luis"}, {99, ""}}) {
                EXPECT_EQ(u->NombrePaciente(id), QString::fromUtf8(nombre));
                EXPECT_EQ(u->PacienteBorrado, id != 1) << id;
            }
            EXPECT_EQ(u->FamiliaArticulo("MON-001", "Otros"), "Monturas");
            EXPECT_EQ(u->FamiliaArticulo("NO-EXISTE", "Otros " + QString::number(i)), "Otros " + QString::number(i))
                << "an unknown reference gives each call's own default";
            EXPECT_EQ(u->TextoLocalidad(1), "08001 - Barcelona (Barcelona)");
        }
        EXPECT_EQ(calls.procedures, 3 + 2 + 1) << "three patients, two references and one family, each searched once";
        const int queries = calls.queries;
        u->TextoLocalidad(1);
        EXPECT_EQ(calls.queries, queries);
    }
    exec({"update PACIENTE set NOMBRE = 'Anabel' where ID_PACIENTE = 1",
          "insert into PACIENTE (ID_PACIENTE, CODIGO, NOMBRE, APELLIDOS) values (99, 99, 'Nuevo', '')",
          "update LOCALIDAD set DESCRIPCION = 'Badalona' where ID_LOCALIDAD = 1"});
    EXPECT_EQ(u->NombrePaciente(1), "García López, Ana") << "the listing reads one snapshot";
    EXPECT_EQ(u->NombrePaciente(99), "");
    EXPECT_EQ(u->TextoLocalidad(1), "08001 - Barcelona (Barcelona)");
    auto next = utilidad();
    EXPECT_EQ(next->NombrePaciente(1), "García López, Anabel") << "the next listing reads the data as it is then";
    EXPECT_EQ(next->NombrePaciente(99), "Nuevo");
    EXPECT_FALSE(next->PacienteBorrado);
    EXPECT_EQ(next->TextoLocalidad(1), "08001 - Badalona (Barcelona)");
}

// A lookup the database cannot answer is no text to print in its place: the listing fails.
TEST_F(LstUtilTest, AFailedLookupFailsAndIsAskedAgain)
{
    auto u = utilidad();
    const QString location = db.location();
    db.close();
    EXPECT_THROW(u->NombrePaciente(1), DatabaseError);
    EXPECT_FALSE(u->PacienteBorrado) << "a failed lookup does not mark the patient deleted";
    EXPECT_THROW(u->TextoLocalidad(1), DatabaseError);
    EXPECT_THROW(u->FamiliaArticulo("MON-001", "Otros"), DatabaseError);
    // What needs no database still answers.
    comprobar(*u, {
        {"id 0 needs no lookup", [](TLstUtil& u) { return u.TextoLocalidad(0); }, "[No definida]"},
        {"14-character reference never reaches the database",
         [](TLstUtil& u) { return u.FamiliaArticulo("ABCDEFGHIJKLMN", "Otros"); }, "Otros"},
        {"nor an empty one", [](TLstUtil& u) { return u.FamiliaArticulo("", "Otros"); }, "Otros"},
        {"amounts need no database", [](TLstUtil& u) { return u.TextoImporte(false, 12); }, "12,00 €"},
    });
    EXPECT_THROW(utilidad(), DatabaseError) << "the currency settings cannot load";
    db.open(location);
    EXPECT_EQ(u->NombrePaciente(1), "García López, Ana");
    EXPECT_EQ(u->TextoLocalidad(1), "08001 - Barcelona (Barcelona)");
    EXPECT_EQ(u->FamiliaArticulo("MON-001", "Otros"), "Monturas");
}

TEST_F(LstUtilTest, ALookupThatBreaksHalfwayFailsAndAConversionFallsBack)
{
    exec({"drop table PROVINCIA", "drop procedure BUSCAR_FAMILIA", "update MONEDA set CONVERSION = 0"});
    auto u = utilidad();
    EXPECT_THROW(u->TextoLocalidad(1), DatabaseError) << "the province is read after the locality";
    EXPECT_THROW(u->FamiliaArticulo("MON-001", "Otros"), DatabaseError) << "the family is read after the article";
    comprobar(*u, {
        {"second amount without conversion", [](TLstUtil& u) { return u.TextoImporte(true, 5); }, "0,00 €"},
        {"main amount still formats", [](TLstUtil& u) { return u.TextoImporte(false, 7); }, "7,00 €"},
    });
}

} // namespace
