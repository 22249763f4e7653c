// DiarioFixture: a fresh real database with the sales, lines and collections a test adds, a host
// session on it, and the VAT-journal data module loaded with the listing window's own query
// texts: the two passes of the cash-sheet basis, or the journal query of the collection-date
// basis (January 2013 unless a test says otherwise).
#pragma once

#include "hostapi/Configuracion.h"
#include "hostapi/HostSession.h"
#include "platform/report/ReportDocument.h"
#include "support/FirebirdFixture.h"
#include "support/RecordingInteraction.h"
#include "vatjournal/dmDiarioIva.h"

#include <QWidget>
#include <memory>

namespace lumetra::test {

class DiarioFixture : public FirebirdFixture {
protected:
    static inline const QString kEntre = QStringLiteral(" BETWEEN '01/01/2013'  AND '01/31/2013' ");

    static QString ventasCaja(const QString& fechas)
    {
        return QStringLiteral("Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.N_TALON, MV.ID_FORMA_PAGO, "
                              "MV.TIPO_OPERACION, MV.ID_TIENDA, MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE, MV.ID_FORMA_PAGO "
                              "From MVENTA MV where MV.TIPO_OPERACION IN (0, 1, 2) AND MV.FECHA_PAGADO < '2079-05-30' AND "
                              "CAST(MV.FECHA_PAGADO AS DATE)")
            + fechas;
    }
    static inline const QString kLineasCaja = QStringLiteral(
        "Select DV.ID_MVENTA, DV.BI_BASE_M1, DV.BI_IVA_M1, IVA, DV.REFERENCIA, DV.DESCRIPCION from DVENTA DV "
        " Where DV.ID_MVENTA = :ID_MVENTA ");
    static inline const QString kCobrosVenta = QStringLiteral(
        "Select CO.IMPORTE_M1, CO.TICKET, CO.ID_TIENDA, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO from COBRO CO "
        "where CO.ID_MVENTA = :ID_MVENTA ORDER BY CO.FECHA, CO.ID_COBRO ");
    static QString cobrosCaja(const QString& fechas, const QString& tiendas)
    {
        return QStringLiteral("Select CO.ID_MVENTA, CO.IMPORTE_M1, CAST(CO.FECHA AS DATE) FECHA, CO.ID_FORMA_PAGO, CO.TICKET "
                              "from COBRO CO where CAST(CO.FECHA AS DATE)")
            + fechas + (tiendas.isEmpty() ? QString() : QStringLiteral(" AND ") + tiendas);
    }
    static inline const QString kVentaCobro = QStringLiteral(
        "Select MV.ID_MVENTA, CAST(MV.FECHA_PAGADO AS DATE) FECHA_PAGADO, MV.ID_TIENDA, MV.N_TALON from MVENTA MV "
        "Where MV.ID_MVENTA = :ID_MVENTA AND MV.TIPO_OPERACION IN (1, 2) ");
    // Collection-date basis: the sale lines, ordered for the day listings.
    static QString lineasCobro(bool porIva)
    {
        return QStringLiteral("Select MV.N_TALON, DV.REFERENCIA, DV.DESCRIPCION, DV.BI_BASE_M1, DV.BI_IVA_M1, DV.IVA, "
                              "MV.FS_COBRO FAC_SIMPLE, MV.FS_SERIE , CAST(MV.FECHA_PAGADO AS DATE) FECHA "
                              "From MVENTA MV INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ) "
                              "Where MV.TIPO_OPERACION IN (0, 1, 2) AND MV.FECHA_PAGADO < '2079-05-30'  AND CAST(MV.FECHA_PAGADO AS DATE)")
            + kEntre
            + (porIva ? QStringLiteral(" ORDER BY CAST(MV.FECHA_PAGADO AS DATE), DV.IVA")
                      : QStringLiteral(" ORDER BY MV.FECHA_PAGADO, MV.FS_COBRO, MV.ID_MVENTA"));
    }
    // Collection-date basis, "Resumido": one row per rate.
    static inline const QString kResumenCobro = QStringLiteral(
        "Select SUM(DV.BI_BASE_M1) BASE_IMPONIBLE, SUM(DV.BI_IVA_M1) IMPORTE_IVA, DV.IVA from MVENTA MV "
        "INNER JOIN DVENTA DV ON (DV.ID_MVENTA = MV.ID_MVENTA ) Where MV.TIPO_OPERACION IN (0, 1, 2) AND MV.FECHA_PAGADO < '2079-05-30'  "
        "AND CAST(MV.FECHA_PAGADO AS DATE) BETWEEN '01/01/2013'  AND '01/31/2013'  GROUP BY DV.IVA Order BY IVA");

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
    int construirCaja(const QStringList& tiendas = {}, qint16 tipoListado = 1, const QString& fechas = kEntre)
    {
        TdmDiarioIva& m = modulo();
        m.SetTipoListado(tipoListado);
        m.MostrarPorcentaje();
        m.Tiendas() = tiendas;
        int r = m.AbrirQueryMDD(ventasCaja(fechas), kLineasCaja, kCobrosVenta);
        if (r == 0)
            r = m.TablaDiarioVentas();
        m.CerrarConsultas();
        QString condicion;
        for (const QString& t : tiendas)
            condicion += (condicion.isEmpty() ? QStringLiteral(" (") : QStringLiteral(" Or ")) + "CO.ID_TIENDA = " + t;
        if (!condicion.isEmpty())
            condicion += QStringLiteral(") ");
        m.Tiendas() = tiendas;
        if (r == 0)
            r = m.AbrirQuery(TdmDiarioIva::ConsultaMaestro, cobrosCaja(fechas, condicion), kVentaCobro);
        if (r == 0)
            r = m.TablaDiarioCobros();
        m.LiberarPorcentaje();
        return r;
    }
    void abrirMVenta(const QString& sql) { ASSERT_EQ(modulo().AbrirQuery(TdmDiarioIva::ConsultaMVenta, sql, {}), 0); }

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

    static QList<PrintedBand> bands(const ReportDocument& doc, const QString& name)
    {
        QList<PrintedBand> found;
        for (const PrintedBand& b : doc.bands)
            if (b.name == name)
                found << b;
        return found;
    }

    RecordingInteraction ui;
    QWidget owner;
    std::unique_ptr<HostSession> session;
    TdmDiarioIva* dm = nullptr;
};

} // namespace lumetra::test
