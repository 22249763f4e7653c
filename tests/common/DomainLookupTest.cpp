#include "common/Base.h"
#include "common/FPago.h"
#include "common/Iva.h"
#include "common/Paciente.h"
#include "common/Tienda.h"
#include "platform/format/PrintQString.h"
#include "support/FirebirdFixture.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {

using DomainLookupTest = test::FirebirdFixture;

// A slot outside the lookup's seven is refused, not read out of bounds; a query without rows
// says so.
TEST_F(DomainLookupTest, SlotStatuses)
{
    TBase base(&db, nullptr, &db);
    for (int slot : {-1, 7}) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(base.SetSQL(slot, "select * from TIENDA"), TBase::EstadoSlotInvalido);
        EXPECT_EQ(base.Open(slot), TBase::EstadoSlotInvalido);
        EXPECT_EQ(base.Close(slot), TBase::EstadoSlotInvalido);
        EXPECT_EQ(base.Estado(), TBase::EstadoSlotInvalido);
    }
    base.SetSQL(4, "select * from TIENDA where ID_TIENDA = 12345");
    EXPECT_EQ(base.Open(4), TBase::EstadoSinFilas);
    EXPECT_EQ(base.Estado(), TBase::EstadoSinFilas);
}

TEST_F(DomainLookupTest, ASearchSeesWhatAnotherConnectionCommittedSinceTheLast)
{
    exec({"insert into PACIENTE (ID_PACIENTE, CODIGO, NOMBRE, APELLIDOS) values (1, 1, 'Ana', 'Sol')"});
    TPaciente paciente(&db, nullptr, &db);
    TFPago forma(&db, nullptr, &db);
    paciente.SetId(1);
    ASSERT_EQ(paciente.Buscar(TPaciente::BorradosYNoBorrados), 0);
    EXPECT_EQ(paciente.NombreCompleto(), "Sol, Ana");
    forma.SetCodigo(1);
    ASSERT_EQ(forma.BuscarCodigo(-1), 0);
    ASSERT_NE(forma.Descripcion(), "Otra forma");

    Database otra;
    otra.open(path);
    otra.execute("update PACIENTE set NOMBRE = 'Anabel' where ID_PACIENTE = 1");
    otra.execute("update FORMA_PAGO set DESCRIPCION = 'Otra forma' where CODIGO = 1");
    otra.execute("insert into PACIENTE (ID_PACIENTE, CODIGO, NOMBRE, APELLIDOS) values (2, 2, 'Eva', '')");

    paciente.SetId(1);
    ASSERT_EQ(paciente.Buscar(TPaciente::BorradosYNoBorrados), 0);
    EXPECT_EQ(paciente.NombreCompleto(), "Sol, Anabel");
    paciente.SetId(2);
    ASSERT_EQ(paciente.Buscar(TPaciente::BorradosYNoBorrados), 0);
    EXPECT_EQ(paciente.NombreCompleto(), "Eva");
    forma.SetCodigo(1);
    ASSERT_EQ(forma.BuscarCodigo(-1), 0);
    EXPECT_EQ(forma.Descripcion(), "Otra forma");
}

TEST_F(DomainLookupTest, AStoreSearchThatMissesLeavesNoStore)
{
    addStores();
    TTienda tienda(&db, nullptr, &db);
    tienda.SetId(3);
    ASSERT_EQ(tienda.BuscarId(), 0);
    EXPECT_EQ(tienda.Descripcion(), "Lumetra Sabadell");
    tienda.SetId(42);
    EXPECT_EQ(tienda.BuscarId(), TBase::EstadoNoEncontrado);
    EXPECT_EQ(tienda.Id(), -1) << "a missed store must not read as the placeholder 0";
    EXPECT_EQ(tienda.Descripcion(), "");
}

TEST_F(DomainLookupTest, VatListLeavesOutIntraCommunityAndPlaceholder)
{
    exec({
        "insert into IVA (ID_IVA, TIPO, DESCRIPCION, PORCENTAJE, INTRACOMUNITARIO, IVA_INCLUIDO) values (20, 6, 'Especial', 5.5, 0, 1)",
        "insert into IVA (ID_IVA, TIPO, DESCRIPCION, PORCENTAJE, INTRACOMUNITARIO, IVA_INCLUIDO) values (21, 7, 'Compras', 21, 0, 0)",
    });
    TIva iva(&db, nullptr, &db);
    EXPECT_EQ(iva.CargarIvas(), 0);
    EXPECT_EQ(iva.Ids(), QStringList({"20", "4", "1", "2", "3"}));
    EXPECT_EQ(iva.Descripciones(), QStringList({"Especial", "Exento", "General", "Reducido", "Superreducido"}));
    EXPECT_EQ(iva.Porcentajes(), QStringList({"5,50 %", "0,00 %", "21,00 %", "10,00 %", "4,00 %"}));
    iva.CargarIvas();
    EXPECT_EQ(iva.Ids().size(), 5) << "loading again replaces the lists";
}

} // namespace
