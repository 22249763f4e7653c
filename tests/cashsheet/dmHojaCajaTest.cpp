#include "cashsheet/dmHojaCaja.h"
#include "hostapi/HostSession.h"
#include "platform/format/FormatFloat.h"
#include "platform/format/PrintQString.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "window/SolicitudListado.h"

#include <QPushButton>
#include <QWidget>
#include <QThread>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

// The window's texts for every day and store.
const SolicitudListado kTodo = [] {
    SolicitudListado s;
    s.MarcarTiendas(TiendasListado::Todas({}, {}), {0});
    return s;
}();
const QString kLineas = SolicitudListado::SQLLineasCobro();

// Two days of one store: sale 1 (direct, collected twice on the 15th, two lines), sale 2 (an
// order taken on the 15th, collected on the 15th and the 16th) and three cash-box movements,
// the expense entered before the opening float.
class HojaCajaTest : public test::FirebirdFixture {
protected:
    void SetUp() override
    {
        FirebirdFixture::SetUp();
        exec({
            "insert into AGENTE (ID_AGENTE, CODIGO) values (5, '5')",
            "insert into AGENTE (ID_AGENTE, CODIGO) values (7, '7')",
            "insert into GRUPO (ID_GRUPO, CODIGO) values (1, 'GA')",
            "insert into GRUPO (ID_GRUPO, CODIGO) values (2, 'GB')",
            "insert into GRUPO (ID_GRUPO, CODIGO) values (3, 'GAB')",
            "insert into MVENTA (ID_MVENTA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, ID_PACIENTE, "
            "PORCENTAJE_DESCUENTO, FS_ENCARGO, FS_COBRO, FS_SERIE) values (1, '2013-06-15 10:30', '2013-06-15', 0, 101, 11, 5, 900, 20, 'A')",
            "insert into MVENTA (ID_MVENTA, FECHA, TIPO_OPERACION, N_TALON, ID_PACIENTE, LIQUIDO_M1, FS_ENCARGO, FS_COBRO) "
            "values (2, '2013-06-15 11:00', 1, 102, 12, 121, 30, 10)",
            "insert into DVENTA (ID_MVENTA, DESCRIPCION, PORCENTAJE_DESCUENTO, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, "
            "ID_AGENTE_1, ID_AGENTE_2, ID_AGENTE_3) values (1, 'Montura A', 10, 50, 10.5, 21, 1, 0, 7, 0)",
            "insert into DVENTA (ID_MVENTA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO) values (1, 'Cristal B', 66.12, 13.88, 21, 2)",
            "insert into DVENTA (ID_MVENTA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA, ID_GRUPO, ID_AGENTE_1, ID_AGENTE_3) "
            "values (2, 'Lentes C', 100, 21, 21, 3, 5, 7)",
            "insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (1, '2013-06-15 10:35', 100, 1)",
            "insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (1, '2013-06-15 10:36', 40, 4)",
            "insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (2, '2013-06-15 11:05', 50, 1)",
            "insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO) values (2, '2013-06-16 09:00', 71, 4)",
            "insert into CAJA (FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values ('2013-06-15 08:00', 1, 'Gasto', -12.5, 1)",
            "insert into CAJA (FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values ('2013-06-15 09:00', 5, 'Fondo', 150, 1)",
            "insert into CAJA (FECHA, TIPO, DESCRIPCION, IMPORTE_M1, ID_FORMA_PAGO) values ('2013-06-16 18:00', 3, 'Ingreso', 30, 1)",
        });
    }
    void TearDown() override
    {
        delete dm;
        sesion.reset();
        FirebirdFixture::TearDown();
    }

    // The session reads a snapshot: rows inserted after this call are not seen.
    TdmHojaCaja& modulo()
    {
        if (!dm) {
            HostOptions opciones;
            opciones.baseDatos = path;
            sesion = std::make_unique<HostSession>(opciones, &propietario);
            dm = new TdmHojaCaja(&propietario);
            EXPECT_EQ(dm->Inicializar(sesion->params()), 0);
        }
        return *dm;
    }

    // One cash sheet as the listing window drives it.
    int llenar(qint16 modo, const QString& lineas = kLineas)
    {
        TdmHojaCaja& m = modulo();
        m.memHojaCaja.close();
        m.memHojaCaja.open();
        m.MostrarPorcentaje();
        int r = m.AbrirQuery(0, kTodo.SQLCaja(), QString()) == 0 ? m.TablaHojaCaja(0, -1) : -1;
        if (r == 0)
            r = m.AbrirQuery(4, kTodo.SQLCobros(), lineas) == 0 ? m.TablaHojaCaja(1, modo) : -1;
        if (r == 0)
            r = m.AbrirQuery(4, kTodo.SQLEncargosDia(), SolicitudListado::SQLReferenciasEncargo())
                    == 0 ? m.TablaHojaCaja(2, -1) : -1;
        m.CerrarConsultas();
        m.LiberarPorcentaje();
        return r;
    }

    QStringList volcado()
    {
        QStringList filas;
        MemTable& t = dm->memHojaCaja;
        for (t.first(); !t.eof(); t.next())
            filas << t.fieldAsText("Fecha") + " " + t.fieldAsText("TipoRegistros") + " " + t.fieldAsText("Descripcion");
        return filas;
    }

    test::RecordingInteraction ui;
    QWidget propietario;
    std::unique_ptr<HostSession> sesion;
    TdmHojaCaja* dm = nullptr;
};

TEST_F(HojaCajaTest, DayRowsInPrintOrderWithLinesUnderFirstCollectionOfEachDay)
{
    ASSERT_EQ(llenar(0), 0);
    EXPECT_EQ(volcado(), QStringList({
        "15/06/2013 0 Fondo", "15/06/2013 2 ENCARGOS HECHOS EN EL DIA",
        "15/06/2013 1 12", "15/06/2013 3 Lentes C",
        "15/06/2013 1 11", "15/06/2013 3 Montura A", "15/06/2013 3 Cristal B", "15/06/2013 1 11",
        "15/06/2013 0 Gasto",
        "16/06/2013 1 12", "16/06/2013 3 Lentes C",
        "16/06/2013 0 Ingreso",
    }));
    EXPECT_TRUE(ui.dialogs.isEmpty());

    MemTable& t = dm->memHojaCaja;
    ASSERT_TRUE(t.locate("Descripcion", "Montura A"));
    EXPECT_EQ(t.fieldAsText("Agentes"), ";7");
    EXPECT_DOUBLE_EQ(t.fieldAsFloat("Liquido"), 60.5);
    EXPECT_DOUBLE_EQ(t.fieldAsFloat("DtoLinea"), 10);
    EXPECT_DOUBLE_EQ(t.fieldAsFloat("DtoGlobal"), 5);
    EXPECT_EQ(t.fieldAsDateTime("FechaPagado"), DateTime::fromYmd(2013, 6, 15));
    ASSERT_TRUE(t.locate("Descripcion", "Cristal B"));
    EXPECT_EQ(t.fieldAsText("Agentes"), "");
    ASSERT_TRUE(t.locate("Descripcion", "Lentes C"));
    EXPECT_EQ(t.fieldAsText("Agentes"), "5;7");
}

// The invoice number follows the VAT basis: FS_COBRO by collection or cash date, FS_ENCARGO by order date.
TEST_F(HojaCajaTest, InvoiceNumberFollowsVatBasis)
{
    for (const auto& [modo, numero] : {std::pair<qint16, double>{0, 20}, {1, 900}, {2, 20}}) {
        SCOPED_TRACE(modo);
        ASSERT_EQ(llenar(modo), 0);
        MemTable& t = dm->memHojaCaja;
        ASSERT_TRUE(t.locate("Descripcion", "Montura A"));
        EXPECT_DOUBLE_EQ(t.fieldAsFloat("FacSimple"), numero);
        EXPECT_TRUE(t.fieldAsText("Orden").endsWith(FormatFloat("0000000000", numero)));
    }
}

TEST_F(HojaCajaTest, GroupsAreDistinctSortedAndUntruncated)
{
    exec({"insert into DVENTA (ID_MVENTA, DESCRIPCION, ID_GRUPO) values (2, 'Estuche', 1)"});
    TdmHojaCaja& m = modulo();
    ASSERT_EQ(m.AbrirQuery(2, kTodo.SQLGrupos(), QString()), 0);
    ASSERT_EQ(m.TablaGrupos(), 0);
    QStringList grupos;
    for (m.memGrupos.first(); !m.memGrupos.eof(); m.memGrupos.next())
        grupos << m.memGrupos.fieldAsText("Grupo");
    EXPECT_EQ(grupos, QStringList({"GA", "GAB", "GB"}));
    EXPECT_EQ(m.dstMVenta.recNo(), 0);
}

TEST_F(HojaCajaTest, CancelDuringCollectionsKeepsRowsAndClosesDatasets)
{
    TdmHojaCaja& m = modulo();
    // Pressed while the first collection's check lets events run: seen at the next check,
    // after that sale's two lines. Each pass takes longer than the checks wait between passes,
    // so every check lets events run.
    ui.onProcessEvents = [&] {
        QThread::msleep(25);
        if (m.Porcentaje() && m.memHojaCaja.recordCount() == 4)
            m.Porcentaje()->findChild<QPushButton*>("btnCancelar")->click();
    };
    EXPECT_EQ(llenar(0), TdmHojaCaja::EstadoCancelado);
    EXPECT_EQ(m.memHojaCaja.recordCount(), 6);
    EXPECT_TRUE(ui.dialogs.isEmpty());
    for (const Dataset* ds : {&m.dstCaja, &m.dstMaestro, &m.dstDetalle, &m.dstDetalle2, &m.dstMVenta, &m.dstAux, &m.dstTarjetas})
        EXPECT_FALSE(ds->isOpen()) << ds->name().toStdString();

    // The next run starts uncancelled.
    m.LiberarPorcentaje();
    ui.onProcessEvents = nullptr;
    m.MostrarPorcentaje();
    EXPECT_EQ(m.AbrirQuery(7, "select ID_COBRO from COBRO", QString()), 0);
    EXPECT_EQ(llenar(0), 0);
    EXPECT_EQ(m.memHojaCaja.recordCount(), 12);
}

TEST_F(HojaCajaTest, FailureMidFillIsReportedOnceAndFreesProgressWindow)
{
    const struct { const char* caso; QString lineas; const char* funcion; } casos[] = {
        {"line query fails on a later line", kLineas + QStringLiteral(" and 1 / (DV.ID_DVENTA - 2) <> 0"),
         "Función: InsertarRegistroCobros"},
        {"line query without the VAT column", QString(kLineas).remove(QStringLiteral("DV.IVA, ")), "Función: TablaHojaCaja"},
    };
    // The progress window stays on top: it must be gone before the error window shows.
    int ventanasAlInformar = -1;
    ui.onDialog = [&](QDialog&) {
        ventanasAlInformar = int(propietario.findChildren<TfrmPorcentajeListado*>().size());
        return int(QDialog::Accepted);
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        ui.dialogs.clear();
        ventanasAlInformar = -1;
        EXPECT_EQ(llenar(0, c.lineas), -1);
        ASSERT_EQ(ui.dialogs.size(), 1);
        EXPECT_TRUE(ui.dialogs.first().contains(c.funcion)) << ui.dialogs.first().toStdString();
        EXPECT_TRUE(ui.dialogs.first().contains("Hoja de Caja - Módulo de Datos Hoja de Caja"));
        EXPECT_EQ(ventanasAlInformar, 0);
    }
}

} // namespace
