#include "conditions/ConditionsFixture.h"

#include "platform/db/Dataset.h"
#include "platform/format/DateTime.h"
#include "platform/ui/CheckComboBox.h"


namespace lumetra::test {

void ConditionsFixture::SetUp()
{
    FirebirdFixture::SetUp();
    addStores();
    exec({"insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, ID_LOCALIDAD) values (4, 40, 'Lumetra Duplicada', 2)",
          "insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, ID_LOCALIDAD) values (5, 50, 'Lumetra Duplicada', 2)",
          "insert into GRUPO (ID_GRUPO, CODIGO) values (1, 'GA')",
          "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1) "
          "values (1, 2, '2013-06-15 10:00', '2013-06-15', 0, 101, 100)",
          "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, TIPO_OPERACION, N_TALON, LIQUIDO_M1) "
          "values (2, 2, '2013-06-15 11:00', 1, 102, 121)",
          "insert into MVENTA (ID_MVENTA, ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, LIQUIDO_M1) "
          "values (3, 3, '2013-07-01 12:00', '2013-07-01', 0, 103, 30)",
          "insert into DVENTA (ID_MVENTA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO) values (1, 'Montura', 82.64, 17.36, 21, 1)",
          "insert into DVENTA (ID_MVENTA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO) values (2, 'Lentes', 100, 21, 21, 1)",
          "insert into DVENTA (ID_MVENTA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO) values (3, 'Funda', 24.79, 5.21, 21, 1)",
          "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (1, 2, '2013-06-15 10:05', 100, 4)",
          "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (2, 2, '2013-06-15 11:05', 50, 1)",
          "insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (3, 3, '2013-07-01 12:05', 30, 4)",
          "insert into CAJA (ID_TIENDA, FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values (2, '2013-06-15 09:00', 5, 'Fondo', 150, 1)",
          "insert into CAJA (ID_TIENDA, FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values (3, '2013-07-01 09:00', 1, 'Gasto', -20, 1)"});
    interaction = std::make_unique<RecordingInteraction>();
}

void ConditionsFixture::TearDown()
{
    // The window writes its audit row through the session when it goes.
    delete w;
    w = nullptr;
    session.reset();
    owner.reset();
    interaction.reset();
    FirebirdFixture::TearDown();
}

TfrmHojaCaja* ConditionsFixture::open(int idUsuario, int idTienda)
{
    HostOptions options;
    options.baseDatos = path;
    options.idUsuario = idUsuario;
    options.idTienda = idTienda;
    options.fechaTrabajo = DateTime::fromYmd(2013, 6, 15);
    owner = std::make_unique<QWidget>();
    session = std::make_unique<HostSession>(options, owner.get());
    w = new TfrmHojaCaja(owner.get());
    w->SetParametros(session->params());
    EXPECT_EQ(w->CrearObjetos(), 0);
    EXPECT_EQ(w->ConstruirArbol(), 0);
    EXPECT_EQ(w->Etiquetas(), 0);
    EXPECT_EQ(w->Recursos(), 0);
    EXPECT_EQ(w->ValoresIniciales(), 0);
    EXPECT_EQ(interaction->dialogs, QStringList());
    return w;
}

void ConditionsFixture::tick(CheckComboBox* stores, const QList<int>& items)
{
    for (int i = 0; i < stores->count(); ++i)
        stores->setChecked(i, items.contains(i));
}

int ConditionsFixture::run(const QString& sql)
{
    Dataset check(QStringLiteral("dstComprobar"));
    check.setDatabase(&db);
    check.setSql(sql);
    if (sql.contains(QLatin1String(":ID_MVENTA")))
        check.setParam(QStringLiteral("ID_MVENTA"), 1);
    check.open();
    return check.recordCount();
}

} // namespace lumetra::test
