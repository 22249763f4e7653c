// The listing window's condition builders and the builders of the cash sheet and of the card and
// group reports: each takes its texts from the request and has the data module load them.
#include "window/frmHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "common/Guarded.h"
#include "hostapi/HostParams.h"
#include "platform/ui/Interaction.h"

namespace lumetra {

namespace {

const char* const kNoExisten = "No existen operaciones en las fechas seleccionadas";

} // namespace

int TfrmHojaCaja::SinOperaciones()
{
    Interaction::current().message(parametros_->Propietario, QStringLiteral("ERROR"), QString::fromUtf8(kNoExisten),
                                   Interaction::Icon::Error);
    return -5;
}

QString TfrmHojaCaja::CondicionFecha(qint16 columna, const SolicitudListado& solicitud)
{
    bool fallo = true;
    const QString texto = Guarded(*this, QStringLiteral("CondicionFecha"), [&] {
        const QString condicion = solicitud.CondicionFecha(columna);
        // Without dates the readable texts stay as the last condition with dates left them.
        if (solicitud.ConFechas()) {
            TextoFechas = solicitud.TextoFechas();
            TextoFechaPie = solicitud.TextoFechaPie();
        }
        CondicionFechas = condicion;
        fallo = false;
        return condicion;
    }, QString());
    if (fallo)
        throw ErrorReportado();
    return texto;
}

QString TfrmHojaCaja::CondicionTienda(qint16 columna, const SolicitudListado& solicitud)
{
    bool fallo = true;
    const QString texto = Guarded(*this, QStringLiteral("CondicionTienda"), [&] {
        tiendasSeleccionadas_ = solicitud.TiendasSeleccionadas();
        CondicionTiendas = solicitud.CondicionTienda(columna);
        fallo = false;
        return CondicionTiendas;
    }, QString());
    if (fallo)
        throw ErrorReportado();
    return texto;
}

int TfrmHojaCaja::GenerarSQLHojaCaja(const SolicitudListado& solicitud)
{
    resultado_ = Guarded(*this, QStringLiteral("GenerarSQLHojaCaja"), [&] {
        dmHojaCaja_->memHojaCaja.close();
        dmHojaCaja_->memHojaCaja.open();
        dmHojaCaja_->MostrarPorcentaje();
        int r = GenerarSQLHojaCajaCaja(solicitud);
        if (r == 0)
            r = GenerarSQLHojaCajaVentasEncargos(solicitud);
        if (r == 0)
            r = GenerarSQLHojaCajaEncargosDia(solicitud);
        dmHojaCaja_->CerrarConsultas();
        resultado_ = r;
        // The card and group data load only with the cash sheet's: they never turn a failed or
        // cancelled cash sheet into a success.
        if (r == 0 && solicitud.informeTarjetas)
            GenerarSQLTarjetas(solicitud);
        if (resultado_ == 0 && solicitud.informeGrupos)
            GenerarSQLGrupos(solicitud);
        dmHojaCaja_->LiberarPorcentaje();
        if (resultado_ == 0 && dmHojaCaja_->memHojaCaja.isEmpty()) {
            resultado_ = SinOperaciones();
        }
        return resultado_;
    }, -1);
    if (resultado_ == -1 && dmHojaCaja_)
        dmHojaCaja_->LiberarPorcentaje();
    return resultado_;
}

// One fill step of the cash sheet: open the step's query and append its rows; a query that
// does not open closes everything and fails the step.
int TfrmHojaCaja::cargarHojaCaja(qint16 consulta, const QString& detalle, qint16 tabla, qint16 modo)
{
    if (dmHojaCaja_->AbrirQuery(consulta, SQLPrincipal, detalle) != 0) {
        dmHojaCaja_->CerrarConsultas();
        return -1;
    }
    return dmHojaCaja_->TablaHojaCaja(tabla, modo);
}

int TfrmHojaCaja::GenerarSQLHojaCajaCaja(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("GenerarSQLHojaCajaCaja"), [&] {
        CondicionFecha(SolicitudListado::FechaCaja, solicitud);
        CondicionTienda(SolicitudListado::TiendaCaja, solicitud);
        SQLPrincipal = solicitud.SQLCaja();
        return cargarHojaCaja(TdmHojaCaja::ConsultaCaja, QString(), TdmHojaCaja::TablaCaja, -1);
    }, -1);
}

int TfrmHojaCaja::GenerarSQLHojaCajaVentasEncargos(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("GenerarSQLHojaCajaVentasEncargos"), [&] {
        CondicionFecha(SolicitudListado::FechaCobro, solicitud);
        CondicionTienda(SolicitudListado::TiendaCobro, solicitud);
        SQLPrincipal = solicitud.SQLCobros();
        SQLDetalle = SolicitudListado::SQLLineasCobro();
        return cargarHojaCaja(TdmHojaCaja::ConsultaMaestro, SQLDetalle, TdmHojaCaja::TablaCobros, qint16(solicitud.calculoIva));
    }, -1);
}

int TfrmHojaCaja::GenerarSQLHojaCajaEncargosDia(const SolicitudListado& solicitud)
{
    return Guarded(*this, QStringLiteral("GenerarSQLHojaCajaEncargosDia"), [&] {
        CondicionFecha(SolicitudListado::FechaVenta, solicitud);
        CondicionTienda(SolicitudListado::TiendaVenta, solicitud);
        SQLPrincipal = solicitud.SQLEncargosDia();
        SQLDetalle = SolicitudListado::SQLReferenciasEncargo();
        return cargarHojaCaja(TdmHojaCaja::ConsultaMaestro, SQLDetalle, TdmHojaCaja::TablaEncargosDia, -1);
    }, -1);
}

int TfrmHojaCaja::GenerarSQLTarjetas(const SolicitudListado& solicitud)
{
    const bool solo = solicitud.listado == ListadoTarjetas;
    resultado_ = Guarded(*this, QStringLiteral("GenerarSQLTarjetas"), [&] {
        if (solo)
            dmHojaCaja_->MostrarPorcentaje();
        CondicionFecha(SolicitudListado::FechaCobro, solicitud);
        CondicionTienda(SolicitudListado::TiendaCobro, solicitud);
        SQLPrincipal = solicitud.SQLTarjetas();
        int r = dmHojaCaja_->AbrirQuery(TdmHojaCaja::ConsultaTarjetas, SQLPrincipal, QString());
        if (r != 0) {
            dmHojaCaja_->CerrarConsultas();
            if (solo)
                dmHojaCaja_->LiberarPorcentaje();
            return -1;
        }
        if (solo) {
            dmHojaCaja_->LiberarPorcentaje();
            if (dmHojaCaja_->dstTarjetas.fieldAsFloat(QStringLiteral("ID")) == 0) {
                r = SinOperaciones();
            }
        }
        return r;
    }, -1);
    if (resultado_ == -1 && solo && dmHojaCaja_)
        dmHojaCaja_->LiberarPorcentaje();
    return resultado_;
}

int TfrmHojaCaja::GenerarSQLGrupos(const SolicitudListado& solicitud)
{
    const bool solo = solicitud.listado == ListadoGrupos;
    resultado_ = Guarded(*this, QStringLiteral("GenerarSQLGrupos"), [&] {
        if (solo)
            dmHojaCaja_->MostrarPorcentaje();
        CondicionFecha(SolicitudListado::FechaVenta, solicitud);
        CondicionTienda(SolicitudListado::TiendaVenta, solicitud);
        SQLPrincipal = solicitud.SQLGrupos();
        if (dmHojaCaja_->AbrirQuery(TdmHojaCaja::ConsultaMVenta, SQLPrincipal, QString()) != 0) {
            dmHojaCaja_->CerrarConsultas();
            if (solo)
                dmHojaCaja_->LiberarPorcentaje();
            return -1;
        }
        int r = dmHojaCaja_->TablaGrupos();
        if (solo) {
            dmHojaCaja_->LiberarPorcentaje();
            if (dmHojaCaja_->memGrupos.isEmpty()) {
                r = SinOperaciones();
            }
        }
        return r;
    }, -1);
    if (resultado_ == -1 && solo && dmHojaCaja_)
        dmHojaCaja_->LiberarPorcentaje();
    return resultado_;
}

} // namespace lumetra
