// ReportsFixture: a fresh real database with the rows a test adds, then a host session and a
// cash-sheet data module whose datasets are opened with the listing window's own query texts
// (SolicitudListado's, June 2013, every store).
#pragma once

#include "cashsheet/dmHojaCaja.h"
#include "hostapi/HostSession.h"
#include "platform/report/ReportBand.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "support/TestTools.h"
#include "window/SolicitudListado.h"

#include <QWidget>
#include <memory>

namespace lumetra::test {

class ReportsFixture : public FirebirdFixture {
protected:
    // The window's texts for June 2013, every store.
    static QString texto(QString (SolicitudListado::*sql)() const)
    {
        SolicitudListado s;
        s.operador = TCondiciones::Entre;
        s.desde = DateTime::fromYmd(2013, 6, 1);
        s.hasta = DateTime::fromYmd(2013, 6, 30);
        s.MarcarTiendas(TiendasListado::Todas({}, {}), {0});
        return (s.*sql)();
    }
    static inline const QString kTarjetas = texto(&SolicitudListado::SQLTarjetas);
    static inline const QString kGrupos = texto(&SolicitudListado::SQLGrupos);

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

    static QList<PrintedBand> bands(const ReportDocument& doc, const QString& name, int page = -1)
    {
        return test::bands(doc, name, page);
    }

    RecordingInteraction ui;
    QWidget owner;
    std::unique_ptr<HostSession> session;
    TdmHojaCaja* dm = nullptr;
};

} // namespace lumetra::test
