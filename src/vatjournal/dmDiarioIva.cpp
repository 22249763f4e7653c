#include "vatjournal/dmDiarioIva.h"

#include "common/FPago.h"
#include "common/Guarded.h"
#include "common/frmError.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/format/FormatFloat.h"
#include "platform/ui/Interaction.h"

#include <QMap>
#include <stdexcept>

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Hoja de Caja - Módulo de Datos Diario Iva");

// Field positions of memDiario, in the order CrearTablas declares them.
enum CampoDiario {
    fTalon,
    fReferencia,
    fDescripcion,
    fBaseImponible,
    fPorcentaje,
    fIva,
    fFecha,
    fIdMVenta,
    fOrden,
    fIdCobro,
    fIdTienda,
    fFacSimple,
    fFacSimpleSerie,
};

// The day part of Orden: the date's serial as the general float-to-text conversion writes it.
QString textoDia(const DateTime& fecha)
{
    return FloatToStr(fecha.serial());
}

QString diezDigitos(double numero)
{
    return FormatFloat(QStringLiteral("0000000000"), numero);
}

} // namespace

// One row of memDiario as the passes build it.
struct TdmDiarioIva::Linea {
    double talon = 0;
    QString referencia;
    QString descripcion;
    double base = 0;
    double porcentaje = 0;
    double iva = 0;
    DateTime fecha;
    double idMVenta = 0;
    QString orden;
    double idTienda = 0;
    double facSimple = -1;
    QString serie;
};

TdmDiarioIva::TdmDiarioIva(QObject* propietario)
    : QObject(propietario)
{
    setObjectName(QStringLiteral("dmDiarioIva"));
    dstDetalle.setMaster(&dstMaestro);
    dstDetalle2.setMaster(&dstMaestro);
    CrearTablas();
}

TdmDiarioIva::~TdmDiarioIva()
{
    CerrarConsultas();
    LiberarPorcentaje();
}

void TdmDiarioIva::CrearTablas()
{
    using T = MemTable::FieldType;
    memDiario.addField(QStringLiteral("Talon"), T::Float);
    memDiario.addField(QStringLiteral("Referencia"), T::Text, 13);
    memDiario.addField(QStringLiteral("Descripcion"), T::Text, 50);
    memDiario.addField(QStringLiteral("BaseImponible"), T::Float);
    memDiario.addField(QStringLiteral("Porcentaje"), T::Float);
    memDiario.addField(QStringLiteral("Iva"), T::Float);
    memDiario.addField(QStringLiteral("Fecha"), T::Date);
    memDiario.addField(QStringLiteral("IdMVenta"), T::Float);
    memDiario.addField(QStringLiteral("Orden"), T::Text, 30);
    memDiario.addField(QStringLiteral("IdCobro"), T::Float);
    memDiario.addField(QStringLiteral("IdTienda"), T::Float);
    memDiario.addField(QStringLiteral("FacSimple"), T::Float);
    memDiario.addField(QStringLiteral("FacSimpleSerie"), T::Text, 2);
    memDiario.setSortField(QStringLiteral("Orden"));
    memDiario.open();

    TCalculoIva::DefinirTabla(memIvas);
}

int TdmDiarioIva::Inicializar(HostParams* parametros)
{
    return Guarded(*this, QStringLiteral("Inicializar"), [&] {
        parametros_ = parametros;
        if (!parametros)
            throw std::invalid_argument("No se ha recibido el bloque de parámetros");
        // The transaction belongs to the connection: every dataset on it reads inside it.
        for (Dataset* ds : {&dstMaestro, &dstMVenta, &dstAux, &dstDetalle, &dstDetalle2})
            ds->setDatabase(parametros->BaseDatos);
        dstDetalle.setMaster(&dstMaestro);
        dstDetalle2.setMaster(&dstMaestro);
        tiendas_.clear();
        return EstadoCorrecto;
    }, EstadoError);
}

void TdmDiarioIva::SetTipoListado(qint16 tipo)
{
    if (tipoListado_ != tipo)
        tipoListado_ = tipo;
}

void TdmDiarioIva::MostrarError(const QString& funcion, const QString& descripcion)
{
    TfrmError::Mostrar(parametros_, kPantalla, funcion, descripcion);
}

int TdmDiarioIva::AbrirQuery(qint16 tipo, const QString& sql, const QString& sqlDetalle)
{
    return Guarded(*this, QStringLiteral("AbrirQuery"), [&] {
        switch (tipo) {
        case ConsultaMVenta:
            dstMVenta.close();
            dstMVenta.setSql(sql);
            dstMVenta.prepare();
            dstMVenta.open();
            dstMVenta.first();
            estado_ = ComprobarCancelacion();
            break;
        case ConsultaMaestro:
            if (dstMaestro.isOpen()) {
                dstMaestro.close();
                dstDetalle.close();
            }
            dstMaestro.setSql(sql);
            dstDetalle.setSql(sqlDetalle);
            dstMaestro.prepare();
            dstMaestro.open();
            dstDetalle.prepare();
            dstDetalle.open();
            dstMaestro.first();
            break;
        default:
            break;
        }
        return estado_;
    }, EstadoError);
}

int TdmDiarioIva::AbrirQueryMDD(const QString& sqlMaestro, const QString& sqlDetalle, const QString& sqlDetalle2)
{
    return Guarded(*this, QStringLiteral("AbrirQueryMDD"), [&] {
        estado_ = EstadoCorrecto;
        if (dstMaestro.isOpen()) {
            dstMaestro.close();
            dstDetalle.close();
        }
        dstMaestro.setSql(sqlMaestro);
        dstDetalle.setSql(sqlDetalle);
        dstDetalle2.setSql(sqlDetalle2);
        for (Dataset* ds : {&dstMaestro, &dstDetalle, &dstDetalle2}) {
            ds->prepare();
            ds->open();
        }
        dstMaestro.first();
        return estado_;
    }, EstadoError);
}

int TdmDiarioIva::Cancelar()
{
    estado_ = ComprobarCancelacion();
    if (estado_ == EstadoCancelado)
        CerrarConsultas();
    return estado_;
}

void TdmDiarioIva::AnadirLinea(const Linea& l)
{
    memDiario.append();
    memDiario.setField(fTalon, l.talon);
    memDiario.setField(fReferencia, l.referencia);
    memDiario.setField(fDescripcion, l.descripcion);
    memDiario.setField(fBaseImponible, l.base);
    memDiario.setField(fPorcentaje, l.porcentaje);
    memDiario.setField(fIva, l.iva);
    memDiario.setField(fFecha, l.fecha);
    memDiario.setField(fIdMVenta, l.idMVenta);
    memDiario.setField(fOrden, l.orden);
    memDiario.setField(fIdTienda, l.idTienda);
    memDiario.setField(fFacSimple, l.facSimple);
    memDiario.setField(fFacSimpleSerie, l.serie);
    memDiario.post();
}

int TdmDiarioIva::TablaDiarioVentas()
{
    // The progress window stays on top: free it before the error window shows.
    try {
        memDiario.close();
        memDiario.open();
        if (Cancelar() == EstadoCancelado)
            return EstadoCancelado;
        const Dataset& maestro = dstMaestro;
        // A delivery note is not money collected: a sale settled by one enters nothing, and a
        // down payment made by one was never declared, so it is not taken back either.
        const double albaran = FormasPagoAlbaran();
        for (dstMaestro.first(); !dstMaestro.eof(); dstMaestro.next()) {
            if (CanceladoEnCurso())
                return EstadoCancelado;
            if (maestro.fieldAsFloat(QStringLiteral("ID_FORMA_PAGO")) == albaran)
                continue;
            const DateTime pagado = maestro.fieldAsDateTime(QStringLiteral("FECHA_PAGADO"));
            const double talon = maestro.fieldAsFloat(QStringLiteral("N_TALON"));
            const int tipoOperacion = maestro.fieldAsInteger(QStringLiteral("TIPO_OPERACION"));
            // Both kinds of order (1 and 2) take down payments and are settled when finished.
            const bool encargo = tipoOperacion == 1 || tipoOperacion == 2;
            const double idMVenta = maestro.fieldAsFloat(QStringLiteral("ID_MVENTA"));
            const double idTienda = maestro.fieldAsFloat(QStringLiteral("ID_TIENDA"));
            const double facSimple = maestro.fieldAsFloat(QStringLiteral("FAC_SIMPLE"));
            const QString serie = maestro.fieldAsText(QStringLiteral("FS_SERIE"));
            double importe = 0;

            if (TiendaSeleccionada(idTienda)) {
                for (dstDetalle.first(); !dstDetalle.eof(); dstDetalle.next()) {
                    Linea l;
                    l.talon = talon;
                    l.referencia = dstDetalle.fieldAsText(QStringLiteral("REFERENCIA"));
                    l.descripcion = dstDetalle.fieldAsText(QStringLiteral("DESCRIPCION"));
                    l.base = dstDetalle.fieldAsFloat(QStringLiteral("BI_BASE_M1"));
                    l.iva = dstDetalle.fieldAsFloat(QStringLiteral("BI_IVA_M1"));
                    l.porcentaje = dstDetalle.fieldAsFloat(QStringLiteral("IVA"));
                    if (encargo)
                        importe += l.base + l.iva;
                    l.fecha = pagado;
                    l.idMVenta = idMVenta;
                    l.idTienda = idTienda;
                    l.facSimple = facSimple;
                    l.serie = serie;
                    l.orden = textoDia(pagado) + claveLinea(l.porcentaje, facSimple);
                    AnadirLinea(l);
                }
            }

            // An order's day takes back its down payments, each at the rate it was declared with on
            // its own day, and shows at the day's rate what the lines and the payments still
            // differ by: one adjustment row per rate.
            if (encargo) {
                importe = -importe;
                QMap<double, TDesgloseIva> ajustes;
                const auto ajustar = [&](const TDesgloseIva& d) {
                    TDesgloseIva& a = ajustes[d.Porcentaje];
                    a.Porcentaje = d.Porcentaje;
                    a.Base += d.Base;
                    a.Iva += d.Iva;
                };
                const TCalculoIva calculo = CalculoIva();
                for (dstDetalle2.first(); !dstDetalle2.eof(); dstDetalle2.next()) {
                    if (!TiendaSeleccionada(dstDetalle2.fieldAsFloat(QStringLiteral("ID_TIENDA")))
                        || dstDetalle2.fieldAsFloat(QStringLiteral("ID_FORMA_PAGO")) == albaran)
                        continue;
                    const DateTime fecha = dstDetalle2.fieldAsDateTime(QStringLiteral("FECHA"));
                    const double cobrado = dstDetalle2.fieldAsFloat(QStringLiteral("IMPORTE_M1"));
                    if (fecha > pagado)
                        continue;   // collected after the order closed: a collection of its own day
                    if (fecha < pagado && cobrado != 0)
                        ajustar(calculo.DesglosarFecha(-cobrado, fecha));
                    importe += cobrado;
                }
                // Amounts are in cents: a sum that only differs from 0 by float noise is 0.
                importe = TCalculoIva::Redondear(importe);
                if (importe != 0)
                    ajustar(calculo.DesglosarFecha(importe, pagado));
                for (const TDesgloseIva& a : ajustes) {
                    if (TCalculoIva::Redondear(a.Base) == 0 && TCalculoIva::Redondear(a.Iva) == 0)
                        continue;
                    Linea l;
                    l.talon = talon;
                    l.descripcion = QStringLiteral("Entrega a Cuenta y ajustes Nº Talón ") + FloatToStr(talon);
                    l.base = TCalculoIva::Redondear(a.Base);
                    l.iva = TCalculoIva::Redondear(a.Iva);
                    l.porcentaje = a.Porcentaje;
                    l.fecha = pagado;
                    l.idMVenta = idMVenta;
                    l.idTienda = idTienda;
                    l.orden = textoDia(pagado) + claveLinea(l.porcentaje, facSimple);
                    AnadirLinea(l);
                }
            }
        }
        return EstadoCorrecto;
    } catch (const std::exception& e) {
        LiberarPorcentaje();
        MostrarError(QStringLiteral("TablaDiario"), QString::fromUtf8(e.what()));
    } catch (...) {
        LiberarPorcentaje();
        MostrarError(QStringLiteral("TablaDiario"), QStringLiteral("Error desconocido"));
    }
    return EstadoError;
}

int TdmDiarioIva::TablaDiarioCobros()
{
    try {
        if (Cancelar() == EstadoCancelado)
            return EstadoCancelado;
        const Dataset& maestro = dstMaestro;
        const double albaran = FormasPagoAlbaran();
        for (dstMaestro.first(); !dstMaestro.eof(); dstMaestro.next()) {
            if (CanceladoEnCurso())
                return EstadoCancelado;
            if (maestro.fieldAsFloat(QStringLiteral("ID_FORMA_PAGO")) == albaran)
                continue;
            const DateTime fecha = maestro.fieldAsDateTime(QStringLiteral("FECHA"));
            // The detail streams: keep the last sale row's values while walking it.
            bool hayVenta = false;
            DateTime pagado;
            double talon = 0;
            for (dstDetalle.first(); !dstDetalle.eof(); dstDetalle.next()) {
                hayVenta = true;
                pagado = dstDetalle.fieldAsDateTime(QStringLiteral("FECHA_PAGADO"));
                talon = dstDetalle.fieldAsFloat(QStringLiteral("N_TALON"));
            }
            // Collected the day the sale closed: the sales pass already has it.
            if (!hayVenta || pagado == fecha)
                continue;
            CalcularBase(maestro.fieldAsFloat(QStringLiteral("IMPORTE_M1")), fecha);
            Linea l;
            l.talon = talon;
            l.referencia = QStringLiteral("Sin");
            l.descripcion = QStringLiteral("Entrega a Cuenta Nº Talón ") + FloatToStr(talon);
            l.base = baseCalculada_;
            l.iva = ivaCalculado_;
            l.porcentaje = PorcentajeIvaFecha(fecha);
            l.fecha = fecha;
            l.idMVenta = maestro.fieldAsFloat(QStringLiteral("ID_MVENTA"));
            l.orden = textoDia(fecha) + claveLinea(l.porcentaje, maestro.fieldAsFloat(QStringLiteral("TICKET")));
            AnadirLinea(l);
        }
        return EstadoCorrecto;
    } catch (const std::exception& e) {
        LiberarPorcentaje();
        MostrarError(QStringLiteral("TablaDiario"), QString::fromUtf8(e.what()));
    } catch (...) {
        LiberarPorcentaje();
        MostrarError(QStringLiteral("TablaDiario"), QStringLiteral("Error desconocido"));
    }
    return EstadoError;
}

double TdmDiarioIva::FormasPagoAlbaran()
{
    return Guarded(*this, QStringLiteral("FormasPagoAlbaran"), [&] {
        if (!parametros_)
            throw std::logic_error("El módulo de datos no se ha inicializado");
        if (!fPago_)
            fPago_ = new TFPago(parametros_->BaseDatosMaestros, parametros_->Propietario, parametros_->BaseDatos);
        fPago_->SetCodigo(3);
        // Delivery notes are a collection from customers (payment-form kind 0).
        fPago_->BuscarCodigo(0);
        return static_cast<double>(fPago_->Id());
    }, -1.0);
}

int TdmDiarioIva::CalcularBaseImponible(double importe, const DateTime& fecha)
{
    return Guarded(*this, QStringLiteral("CalcularBaseImponible"), [&] {
        CalcularBase(importe, fecha);
        return EstadoCorrecto;
    }, EstadoError);
}

void TdmDiarioIva::CalcularBase(double importe, const DateTime& fecha)
{
    const TDesgloseIva d = CalculoIva().DesglosarFecha(importe, fecha);
    baseCalculada_ = d.Base;
    ivaCalculado_ = d.Iva;
}

TCalculoIva TdmDiarioIva::CalculoIva() const
{
    if (!parametros_ || !parametros_->Configuracion)
        return TCalculoIva::Fijo(TCalculoIva::PorcentajeSinConfiguracion);
    return TCalculoIva(parametros_->Configuracion->IvaDefecto.Porcentaje);
}

double TdmDiarioIva::PorcentajeIvaFecha(const DateTime& fecha)
{
    return CalculoIva().PorcentajeFecha(fecha);
}

QString TdmDiarioIva::claveLinea(double porcentaje, double numero) const
{
    // Per day and rate, every row of a rate together, whatever kind of row it is; the rate with
    // its decimals, so that 5,5 and 6 stay apart.
    if (tipoListado_ == ListadoResumidoDias)
        return FormatFloat(QStringLiteral("000.00"), porcentaje);
    return diezDigitos(numero);
}

bool TdmDiarioIva::TiendaSeleccionada(double idTienda) const
{
    if (tiendas_.isEmpty())
        return true;
    return tiendas_.contains(FloatToStr(idTienda));
}

qint16 TdmDiarioIva::ComprobarCancelacion()
{
    // The flag is read before events run, so a click delivered now counts at the next check.
    const qint16 resultado = porcentaje_ && porcentaje_->Cancelado() ? qint16(EstadoCancelado) : qint16(EstadoCorrecto);
    Interaction::current().processEvents();
    return resultado;
}

void TdmDiarioIva::MostrarPorcentaje()
{
    LiberarPorcentaje();
    // A new run starts uncancelled, whatever the last one ended with.
    estado_ = EstadoCorrecto;
    porcentaje_ = new TfrmPorcentajeListado(parametros_ ? parametros_->Propietario : nullptr);
    porcentaje_->PermitirCancelar(true);
    Interaction::current().showWindow(*porcentaje_);
    Interaction::current().processEvents();
}

bool TdmDiarioIva::CanceladoEnCurso()
{
    if (ultimaComprobacion_.isValid() && ultimaComprobacion_.elapsed() < 40)
        return false;
    ultimaComprobacion_.start();
    if (ComprobarCancelacion() != EstadoCancelado)
        return false;
    estado_ = EstadoCancelado;
    CerrarConsultas();
    return true;
}

void TdmDiarioIva::SolicitarCancelacion()
{
    if (porcentaje_)
        porcentaje_->btnCancelarClick();
}

void TdmDiarioIva::LiberarPorcentaje()
{
    delete porcentaje_.data();
    porcentaje_ = nullptr;
}

void TdmDiarioIva::CerrarConsultas()
{
    for (Dataset* ds : {&dstMaestro, &dstDetalle, &dstMVenta, &dstAux, &dstDetalle2})
        ds->close();
}

void TdmDiarioIva::AcumularIva(const TDesgloseIva& importe)
{
    TCalculoIva::Acumular(memIvas, importe);
}

QString TdmDiarioIva::TextoDiario(bool caja, const char* campoVenta, const char* campoDiario) const
{
    return caja ? memDiario.fieldAsText(QString::fromLatin1(campoDiario)) : dstMVenta.fieldAsText(QString::fromLatin1(campoVenta));
}

double TdmDiarioIva::NumeroDiario(bool caja, const char* campoVenta, const char* campoDiario) const
{
    return caja ? memDiario.fieldAsFloat(QString::fromLatin1(campoDiario)) : dstMVenta.fieldAsFloat(QString::fromLatin1(campoVenta));
}

} // namespace lumetra
