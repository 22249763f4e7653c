// DiarioFixture: a fresh real database with the sales, lines and collections a test adds, a host
// session on it, and the VAT-journal data module loaded with the listing window's own query
// texts (SolicitudListado's): the two passes of the cash-sheet basis, or the journal query of the
// collection-date basis (January 2013 unless a test says otherwise).
#pragma once

#include "hostapi/Configuracion.h"
#include "hostapi/HostSession.h"
#include "platform/report/ReportDocument.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "support/TestTools.h"
#include "vatjournal/dmDiarioIva.h"
#include "window/SolicitudListado.h"

#include <QWidget>
#include <memory>

namespace lumetra::test {

class DiarioFixture : public FirebirdFixture {
protected:
    using S = SolicitudListado;

    // The window's request for the days (January 2013 unless given) and the stores, by id (every
    // store when none), on the collection-date basis with the journal layout `tipo`.
    static SolicitudListado pedido(const QStringList& tiendas = {}, int tipo = 0, const DateTime& desde = DateTime::fromYmd(2013, 1, 1),
                                   const DateTime& hasta = DateTime::fromYmd(2013, 1, 31))
    {
        SolicitudListado s;
        s.listado = SolicitudListado::ListadoDiario;
        s.operador = TCondiciones::Entre;
        s.desde = desde;
        s.hasta = hasta;
        s.calculoIva = SolicitudListado::IvaCobro;
        s.tipoDiario = tipo;
        QList<int> marcadas;
        for (int i = 1; i <= tiendas.size(); ++i)
            marcadas << i;
        s.MarcarTiendas(TiendasListado::Todas(tiendas, tiendas), tiendas.isEmpty() ? QList<int>{0} : marcadas);
        return s;
    }

    void TearDown() override
    {
        delete dm;
        dm = nullptr;
        session.reset();
        FirebirdFixture::TearDown();
    }

    // A sale (type 0 direct, 1 order) paid in full on `pagado`.
    void venta(int id, const QString& pagado, int tipo, int talon, int tienda = 1, int facSimple = 0, int forma = 1)
    {
        exec({QStringLiteral("insert into MVENTA (ID_MVENTA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, ID_TIENDA, FS_COBRO, "
                             "FS_SERIE, ID_FORMA_PAGO) values (%1, '%2 10:00', '%2 12:00', %3, %4, %5, %6, 'A', %7)")
                  .arg(id).arg(pagado).arg(tipo).arg(talon).arg(tienda).arg(facSimple).arg(forma)});
    }
    void linea(int venta, const QString& ref, const QString& desc, double base, double iva, double porcentaje)
    {
        exec({QStringLiteral("insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, BI_BASE_M1, BI_IVA_M1, IVA) "
                             "values (%1, '%2', '%3', %4, %5, %6)")
                  .arg(venta).arg(ref, desc).arg(base).arg(iva).arg(porcentaje)});
    }
    void cobro(int venta, const QString& fecha, double importe, int tienda = 1, int ticket = 0, int forma = 1)
    {
        exec({QStringLiteral("insert into COBRO (ID_MVENTA, FECHA, IMPORTE_M1, ID_TIENDA, TICKET, ID_FORMA_PAGO) "
                             "values (%1, '%2 11:00', %3, %4, %5, %6)")
                  .arg(venta).arg(fecha).arg(importe).arg(tienda).arg(ticket).arg(forma)});
    }

    // The session reads a snapshot: call this after the rows are in.
    TdmDiarioIva& modulo(double ivaDefecto = 21)
    {
        if (!dm) {
            HostOptions opciones;
            opciones.baseDatos = path;
            session = std::make_unique<HostSession>(opciones, &owner);
            session->params()->Configuracion->IvaDefecto.Porcentaje = ivaDefecto;
            dm = new TdmDiarioIva(&owner);
            EXPECT_EQ(dm->Inicializar(session->params()), 0);
        }
        return *dm;
    }

    // The cash-sheet journal as the window builds it; the status of the first step that fails.
    int construirCaja(const QStringList& tiendas = {}, qint16 tipoListado = 1, const DateTime& desde = DateTime::fromYmd(2013, 1, 1),
                      const DateTime& hasta = DateTime::fromYmd(2013, 1, 31))
    {
        const SolicitudListado s = pedido(tiendas, 0, desde, hasta);
        TdmDiarioIva& m = modulo();
        m.SetTipoListado(tipoListado);
        m.MostrarPorcentaje();
        m.Tiendas() = s.TiendasSeleccionadas();
        int r = m.AbrirQueryMDD(s.SQLVentasDiarioCaja(), S::SQLLineasDiarioCaja(), S::SQLCobrosVentaDiarioCaja());
        if (r == 0)
            r = m.TablaDiarioVentas();
        m.CerrarConsultas();
        m.Tiendas() = s.TiendasSeleccionadas();
        if (r == 0)
            r = m.AbrirQuery(TdmDiarioIva::ConsultaMaestro, s.SQLCobrosDiarioCaja(), S::SQLVentaCobroDiarioCaja());
        if (r == 0)
            r = m.TablaDiarioCobros();
        m.LiberarPorcentaje();
        return r;
    }
    // The collection-date journal's query of that layout.
    void abrirMVenta(int tipo)
    {
        ASSERT_EQ(modulo().AbrirQuery(TdmDiarioIva::ConsultaMVenta, pedido({}, tipo).SQLDiario(S::IvaCobro), {}), 0);
    }

    // memDiario in Orden order: "date|description|base|percentage|VAT".
    QStringList diario()
    {
        QStringList filas;
        MemTable& t = dm->memDiario;
        for (t.first(); !t.eof(); t.next())
            filas << QStringList{t.fieldAsText("Fecha"), t.fieldAsText("Descripcion"), t.fieldAsText("BaseImponible"),
                                 t.fieldAsText("Porcentaje"), t.fieldAsText("Iva")}
                         .join('|');
        return filas;
    }

    // Drives a journal form as the print dispatch does; its laid-out pages.
    template <class Form> ReportDocument documento(Form& form, qint16 tipoCalculo)
    {
        form.SetDmDiarioIva(dm);
        form.SetTipoCalculo(tipoCalculo);
        EXPECT_EQ(form.Inicializar(session->params()), 0);
        form.SetFiltro(QStringLiteral("[Todas las Tiendas Seleccionadas]"));
        ReportDocument doc = form.Documento();
        EXPECT_FALSE(doc.failed()) << doc.error.toStdString();
        EXPECT_TRUE(ui.dialogs.isEmpty()) << ui.dialogs.join('\n').toStdString();
        return doc;
    }

    static QList<PrintedBand> bands(const ReportDocument& doc, const QString& name) { return test::bands(doc, name); }
    // Each printed band of that name as its texts joined by "|"; empty texts (blank run-time VAT
    // rows) dropped on request.
    static QStringList textos(const ReportDocument& doc, const QString& banda, bool sinVacios = false)
    {
        QStringList t;
        for (QStringList textosBanda : bandTexts(doc, banda)) {
            if (sinVacios)
                textosBanda.removeAll(QString());
            t << textosBanda.join('|');
        }
        return t;
    }

    RecordingInteraction ui;
    QWidget owner;
    std::unique_ptr<HostSession> session;
    TdmDiarioIva* dm = nullptr;
};

} // namespace lumetra::test
