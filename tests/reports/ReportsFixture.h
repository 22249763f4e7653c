// ReportsFixture: a fresh real database with the rows a test adds, then a host session and a
// cash-sheet data module whose datasets are opened with the listing window's own query texts
// (June 2013, every store).
#pragma once

#include "cashsheet/dmHojaCaja.h"
#include "hostapi/HostSession.h"
#include "platform/report/ReportBand.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"

#include <QWidget>
#include <memory>

namespace lumetra::test {

class ReportsFixture : public FirebirdFixture {
protected:
    static inline const QString kTarjetas = QStringLiteral(
        "Select CO.ID_COBRO ID, MV.N_TALON, MV.TIPO_OPERACION, CO.IMPORTE_M1, CO.ID_FORMA_PAGO, "
        "CAST(CO.FECHA AS DATE) FECHA, FP.TIPO_PAGO, FP.DESCRIPCION, CO.TICKET "
        "from COBRO CO INNER JOIN MVENTA MV On (MV.ID_MVENTA = CO.ID_MVENTA AND MV.TIPO_OPERACION != 3)  "
        "INNER JOIN FORMA_PAGO FP On (FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO And FP.TIPO_PAGO = 2) "
        "Where CAST(CO.FECHA AS DATE) BETWEEN '06/01/2013'  AND '06/30/2013' Order By CAST(CO.FECHA AS DATE), CO.ID_FORMA_PAGO, CO.FECHA");
    static inline const QString kGrupos = QStringLiteral(
        "Select MV.ID_MVENTA, MV.N_TALON, CAST(MV.FECHA AS DATE) FECHA, MV.TIPO_OPERACION, MV.ID_PACIENTE, DV.REFERENCIA, "
        "DV.DESCRIPCION, (COALESCE(DV.BI_BASE_M1, 0) + COALESCE(DV.BI_IVA_M1, 0)) IMPORTE, DV.PRECIO_UNITARIO_M1, DV.UNIDADES, GR.CODIGO "
        "from MVENTA MV INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ) INNER JOIN GRUPO GR On GR.ID_GRUPO = DV.ID_GRUPO "
        "Where MV.TIPO_OPERACION != 3 AND GR.ID_GRUPO <> 0  And CAST(MV.FECHA AS DATE) BETWEEN ' 06/01/2013'  AND '06/30/2013' "
        "Order By MV.FECHA, N_TALON, MV.ID_MVENTA, 11");

    void TearDown() override
    {
        delete dm;
        session.reset();
        FirebirdFixture::TearDown();
    }

    void venta(int id, const QString& fecha, int tipo, int talon)
    {
        exec({QStringLiteral("insert into MVENTA (ID_MVENTA, FECHA, TIPO_OPERACION, N_TALON) values (%1, '%2', %3, %4)")
                  .arg(id).arg(fecha).arg(tipo).arg(talon)});
    }
    void cobro(int venta, const QString& fecha, double importe, int forma)
    {
        // Each collection's receipt number: 1000 + the sale.
        exec({QStringLiteral("insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (%1, '%2', %3, %4, %5)")
                  .arg(venta).arg(fecha).arg(importe).arg(forma).arg(1000 + venta)});
    }
    void grupo(int id, const QString& codigo)
    {
        exec({QStringLiteral("insert into GRUPO (ID_GRUPO, CODIGO) values (%1, '%2')").arg(id).arg(codigo)});
    }
    // A sale line: its amount is base + VAT.
    void linea(int venta, const QString& ref, int grupo, double unidades, double precio, double base, double iva = 0)
    {
        exec({QStringLiteral("insert into DVENTA (ID_MVENTA, REFERENCIA, ID_GRUPO, UNIDADES, PRECIO_UNITARIO_M1, BI_BASE_M1, "
                             "BI_IVA_M1) values (%1, '%2', %3, %4, %5, %6, %7)")
                  .arg(venta).arg(ref).arg(grupo).arg(unidades).arg(precio).arg(base).arg(iva)});
    }

    // The session reads a snapshot: open the datasets after the rows are in.
    TdmHojaCaja& modulo()
    {
        if (!dm) {
            HostOptions opciones;
            opciones.baseDatos = path;
            session = std::make_unique<HostSession>(opciones, &owner);
            dm = new TdmHojaCaja(&owner);
            EXPECT_EQ(dm->Inicializar(session->params()), 0);
        }
        return *dm;
    }
    void abrirTarjetas(const QString& sql = kTarjetas) { ASSERT_EQ(modulo().AbrirQuery(TdmHojaCaja::ConsultaTarjetas, sql, {}), 0); }
    void abrirGrupos(const QString& sql = kGrupos)
    {
        ASSERT_EQ(modulo().AbrirQuery(TdmHojaCaja::ConsultaMVenta, sql, {}), 0);
        ASSERT_EQ(dm->TablaGrupos(), 0);
    }

    // Drives a report form as the print dispatch does; its laid-out pages.
    template <class Form> ReportDocument imprimir(const QString& filtro = QStringLiteral("[Todas las Tiendas Seleccionadas]"))
    {
        Form form(&owner);
        form.SetDmHojaCaja(dm);
        EXPECT_EQ(form.Inicializar(session->params()), 0);
        form.SetFiltro(filtro);
        ReportDocument doc = form.Documento();
        EXPECT_EQ(form.Finalizar(), 0);
        EXPECT_FALSE(doc.failed()) << doc.error.toStdString();
        EXPECT_TRUE(ui.dialogs.isEmpty()) << ui.dialogs.join('\n').toStdString();
        return doc;
    }

    // The printed bands of that name, of one page or of all.
    static QList<PrintedBand> bands(const ReportDocument& doc, const QString& name, int page = -1)
    {
        QList<PrintedBand> found;
        for (const PrintedBand& b : doc.bands)
            if (b.name == name && (page < 0 || b.page == page))
                found << b;
        return found;
    }

    RecordingInteraction ui;
    QWidget owner;
    std::unique_ptr<HostSession> session;
    TdmHojaCaja* dm = nullptr;
};

} // namespace lumetra::test
