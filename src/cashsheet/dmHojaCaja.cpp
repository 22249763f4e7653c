#include "cashsheet/dmHojaCaja.h"

#include "common/CalculoIva.h"
#include "common/Guarded.h"
#include "common/frmError.h"
#include "common/frmPorcentajeListado.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/FieldValue.h"
#include "platform/format/DateTexts.h"
#include "platform/format/FormatFloat.h"
#include "platform/ui/Interaction.h"

#include <cmath>
#include <stdexcept>

namespace lumetra {

using namespace fieldvalue;

const QString TdmHojaCaja::TextoEncargosDia = QStringLiteral("ENCARGOS HECHOS EN EL DIA");

namespace {

const QString kPantalla = QStringLiteral("Hoja de Caja - Módulo de Datos Hoja de Caja");

// Field positions of memHojaCaja, in the order CrearTablas declares them.
enum CampoHoja {
    fIdMVenta,
    fTalon,
    fTipoOperacion,
    fGrupoVenta,
    fAgentes,
    fReferencia,
    fDescripcion,
    fDtoLinea,
    fDtoGlobal,
    fTipoPago,
    fLiquido,
    fTipoRegistros,
    fIdPaciente,
    fFecha,
    fBaseImponible,
    fIva,
    fPorcentajeIva,
    fOrden,
    fFechaPagado,
    fFacSimple,
    fFacSimpleSerie,
    fCobroParcial,
};

int columna(const Dataset& dataset, const char* nombre)
{
    const QString campo = QString::fromLatin1(nombre);
    const int indice = dataset.fieldIndex(campo);
    if (indice < 0)
        throw DatabaseError(QStringLiteral("El campo «%1» no existe en la consulta «%2»").arg(campo, dataset.name()),
                            dataset.database() ? dataset.database()->location() : QString(), dataset.sql());
    return indice;
}

// The day part of Orden: the date's serial as the general float-to-text conversion writes it.
QString textoDia(const DateTime& fecha)
{
    return FloatToStr(fecha.serial());
}

// Agent codes of a line, each taken unless it is empty or the placeholder "0"; the separator
// goes before every code after the first position, taken or not before it.
QString textoAgentes(const QString& a1, const QString& a2, const QString& a3)
{
    const auto valido = [](const QString& a) { return !a.isEmpty() && a != QLatin1String("0"); };
    QString texto;
    if (valido(a1))
        texto = a1;
    if (valido(a2))
        texto += QLatin1Char(';') + a2;
    if (valido(a3))
        texto += QLatin1Char(';') + a3;
    return texto;
}

} // namespace

// Column positions are looked up once per fill, not once per row.
struct TdmHojaCaja::ColumnasCaja {
    explicit ColumnasCaja(const Dataset& caja)
        : fecha(columna(caja, "FECHA"))
        , tipo(columna(caja, "TIPO"))
        , descripcion(columna(caja, "DESCRIPCION"))
        , tipoPago(columna(caja, "TIPO_PAGO"))
        , importe(columna(caja, "IMPORTE_M1"))
    {
    }
    int fecha, tipo, descripcion, tipoPago, importe;
};

struct TdmHojaCaja::ColumnasCobros {
    ColumnasCobros(const Dataset& maestro, const Dataset& detalle)
        : fechaCobro(columna(maestro, "FECHA_COBRO"))
        , idMVenta(columna(maestro, "ID_MVENTA"))
        , talon(columna(maestro, "N_TALON"))
        , tipoOperacion(columna(maestro, "TIPO_OPERACION"))
        , fsCobro(columna(maestro, "FS_COBRO"))
        , fsEncargo(columna(maestro, "FS_ENCARGO"))
        , fsSerie(columna(maestro, "FS_SERIE"))
        , idPaciente(columna(maestro, "ID_PACIENTE"))
        , dtoGlobal(columna(maestro, "PORCENTAJE_DESCUENTO"))
        , tipoPago(columna(maestro, "TIPO_PAGO"))
        , importe(columna(maestro, "IMPORTE_M1"))
        , fechaPagado(columna(maestro, "FECHA_PAGADO"))
        , liquidoVenta(columna(maestro, "LIQUIDO_MVENTA"))
        , grupo(columna(detalle, "GR_CODIGO"))
        , agente1(columna(detalle, "AG_CODIGO1"))
        , agente2(columna(detalle, "AG_CODIGO2"))
        , agente3(columna(detalle, "AG_CODIGO3"))
        , referencia(columna(detalle, "REFERENCIA"))
        , descripcion(columna(detalle, "DESCRIPCION"))
        , dtoLinea(columna(detalle, "PORCENTAJE_DESCUENTO"))
        , base(columna(detalle, "BI_BASE_M1"))
        , iva(columna(detalle, "BI_IVA_M1"))
        , porcentajeIva(columna(detalle, "IVA"))
    {
    }
    int fechaCobro, idMVenta, talon, tipoOperacion, fsCobro, fsEncargo, fsSerie, idPaciente, dtoGlobal,
        tipoPago, importe, fechaPagado, liquidoVenta;
    int grupo, agente1, agente2, agente3, referencia, descripcion, dtoLinea, base, iva, porcentajeIva;
};

struct TdmHojaCaja::ColumnasEncargos {
    explicit ColumnasEncargos(const Dataset& maestro)
        : fecha(columna(maestro, "FECHA"))
        , talon(columna(maestro, "N_TALON"))
        , tipoOperacion(columna(maestro, "TIPO_OPERACION"))
        , liquido(columna(maestro, "LIQUIDO_M1"))
    {
    }
    int fecha, talon, tipoOperacion, liquido;
};

TdmHojaCaja::TdmHojaCaja(QObject* propietario)
    : QObject(propietario)
{
    setObjectName(QStringLiteral("dmHojaCaja"));
    dstDetalle.setMaster(&dstMaestro);
    dstDetalle2.setMaster(&dstMaestro);
    CrearTablas();
}

TdmHojaCaja::~TdmHojaCaja()
{
    CerrarConsultas();
    LiberarPorcentaje();
}

void TdmHojaCaja::CrearTablas()
{
    using T = MemTable::FieldType;
    memHojaCaja.addField(QStringLiteral("IdMVenta"), T::Float);
    memHojaCaja.addField(QStringLiteral("Talon"), T::Float);
    memHojaCaja.addField(QStringLiteral("TipoOperacion"), T::Integer);
    memHojaCaja.addField(QStringLiteral("GrupoVenta"), T::Text, 5);
    memHojaCaja.addField(QStringLiteral("Agentes"), T::Text, 15);
    memHojaCaja.addField(QStringLiteral("Referencia"), T::Text, 13);
    memHojaCaja.addField(QStringLiteral("Descripcion"), T::Text, 100);
    memHojaCaja.addField(QStringLiteral("DtoLinea"), T::Float);
    memHojaCaja.addField(QStringLiteral("DtoGlobal"), T::Float);
    memHojaCaja.addField(QStringLiteral("TipoPago"), T::Integer);
    memHojaCaja.addField(QStringLiteral("Liquido"), T::Float);
    memHojaCaja.addField(QStringLiteral("TipoRegistros"), T::Integer);
    memHojaCaja.addField(QStringLiteral("IdPaciente"), T::Float);
    memHojaCaja.addField(QStringLiteral("Fecha"), T::Text, 25);
    memHojaCaja.addField(QStringLiteral("BaseImponible"), T::Float);
    memHojaCaja.addField(QStringLiteral("Iva"), T::Float);
    memHojaCaja.addField(QStringLiteral("porcentajeIva"), T::Float);
    memHojaCaja.addField(QStringLiteral("Orden"), T::Text, 30);
    memHojaCaja.addField(QStringLiteral("FechaPagado"), T::Date);
    memHojaCaja.addField(QStringLiteral("FacSimple"), T::Float);
    memHojaCaja.addField(QStringLiteral("FacSimpleSerie"), T::Text, 2);
    memHojaCaja.addField(QStringLiteral("CobroParcial"), T::Integer);
    memHojaCaja.setSortField(QStringLiteral("Orden"));
    memHojaCaja.open();

    // Sales-group codes keep their whole text even when longer than the declared size.
    memGrupos.addField(QStringLiteral("Grupo"), T::Text, 2);
    memGrupos.setSortField(QStringLiteral("Grupo"));
    memGrupos.open();

    TCalculoIva::DefinirTabla(memIvas);
}

int TdmHojaCaja::Inicializar(HostParams* parametros)
{
    return Guarded(*this, QStringLiteral("Inicializar"), [&] {
        parametros_ = parametros;
        if (!parametros)
            throw std::invalid_argument("No se ha recibido el bloque de parámetros");
        // The transaction belongs to the connection: every dataset on it reads inside it.
        for (Dataset* ds : {&dstCaja, &dstMaestro, &dstDetalle, &dstDetalle2, &dstMVenta, &dstAux, &dstTarjetas})
            ds->setDatabase(parametros->BaseDatos);
        dstDetalle.setMaster(&dstMaestro);
        dstDetalle2.setMaster(&dstMaestro);
        // The fills read these once, front to back: no need to keep their rows.
        dstCaja.setKeepRows(false);
        dstMaestro.setKeepRows(false);
        return EstadoCorrecto;
    }, EstadoError);
}

void TdmHojaCaja::MostrarError(const QString& funcion, const QString& descripcion)
{
    TfrmError::Mostrar(parametros_, kPantalla, funcion, descripcion);
}

int TdmHojaCaja::AbrirQuery(qint16 tipo, const QString& sql, const QString& sqlDetalle)
{
    return Guarded(*this, QStringLiteral("AbrirQuery"), [&] {
        switch (tipo) {
        case ConsultaCaja:
            dstCaja.close();
            dstCaja.setSql(sql);
            dstCaja.open();
            dstCaja.first();
            estado_ = ComprobarCancelacion();
            break;
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
        case ConsultaAux:
            dstAux.close();
            dstAux.unprepare();
            dstAux.setSql(sql);
            dstAux.prepare();
            dstAux.open();
            break;
        case ConsultaTarjetas:
            dstTarjetas.close();
            dstTarjetas.setSql(sql);
            dstTarjetas.prepare();
            dstTarjetas.open();
            break;
        default:
            break;
        }
        return estado_;
    }, EstadoError);
}

int TdmHojaCaja::AbrirQueryMDD(const QString& sqlMaestro, const QString& sqlDetalle, const QString& sqlDetalle2)
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

int TdmHojaCaja::TablaHojaCaja(qint16 tipo, qint16 modo)
{
    // Names the operation a failure belongs to: the fill itself or the row being appended.
    const QString tabla = QStringLiteral("TablaHojaCaja");
    QString funcion = tabla;
    const auto informar = [&](const QString& descripcion) {
        // The progress window stays on top: free it before the error window shows.
        LiberarPorcentaje();
        MostrarError(funcion, descripcion);
        return EstadoError;
    };
    try {
        if (ComprobarYCerrar() == EstadoCancelado)
            return EstadoCancelado;
        int resultado = EstadoCorrecto;
        switch (tipo) {
        case TablaCaja:
            dstCaja.first();
            if (!dstCaja.eof()) {
                const ColumnasCaja columnas(dstCaja);
                while (!dstCaja.eof()) {
                    funcion = QStringLiteral("InsertarRegistroCaja");
                    resultado = AnadirCaja(columnas);
                    funcion = tabla;
                    if (resultado == EstadoCancelado)
                        break;
                    dstCaja.next();
                }
            }
            break;
        case TablaCobros: {
            ultimaVenta_ = -1.0;
            QString fechaAnterior;
            dstMaestro.first();
            if (!dstMaestro.eof()) {
                const ColumnasCobros columnas(dstMaestro, dstDetalle);
                while (!dstMaestro.eof()) {
                    funcion = QStringLiteral("InsertarRegistroCobros");
                    resultado = AnadirCobro(columnas, modo, fechaAnterior);
                    funcion = tabla;
                    if (resultado == EstadoCancelado)
                        break;
                    fechaAnterior = toText(dstMaestro.value(columnas.fechaCobro));
                    dstMaestro.next();
                }
            }
            break;
        }
        case TablaEncargosDia:
            dstMaestro.first();
            if (!dstMaestro.eof()) {
                const ColumnasEncargos columnas(dstMaestro);
                while (!dstMaestro.eof()) {
                    funcion = QStringLiteral("InsertarRegistroCobros");
                    resultado = AnadirEncargos(columnas);
                    funcion = tabla;
                    if (resultado == EstadoCancelado)
                        break;
                    dstMaestro.next();
                }
            }
            break;
        default:
            break;
        }
        memHojaCaja.first();
        return resultado;
    } catch (const std::exception& e) {
        return informar(QString::fromUtf8(e.what()));
    } catch (...) {
        return informar(QStringLiteral("Error desconocido"));
    }
}

int TdmHojaCaja::InsertarRegistroCaja()
{
    return Guarded(*this, QStringLiteral("InsertarRegistroCaja"), [&] {
        return AnadirCaja(ColumnasCaja(dstCaja));
    }, EstadoError);
}

int TdmHojaCaja::InsertarRegistroCobros(qint16 modo, const QString& fechaAnterior)
{
    return Guarded(*this, QStringLiteral("InsertarRegistroCobros"), [&] {
        return AnadirCobro(ColumnasCobros(dstMaestro, dstDetalle), modo, fechaAnterior);
    }, EstadoError);
}

int TdmHojaCaja::InsertarRegistroCobros()
{
    return Guarded(*this, QStringLiteral("InsertarRegistroCobros"), [&] {
        return AnadirEncargos(ColumnasEncargos(dstMaestro));
    }, EstadoError);
}

int TdmHojaCaja::AnadirCaja(const ColumnasCaja& c)
{
    const Dataset& caja = dstCaja;
    const QVariant fecha = caja.value(c.fecha);
    const int tipo = toInteger(caja.value(c.tipo));

    memHojaCaja.append();
    memHojaCaja.setField(fFecha, toText(fecha));
    memHojaCaja.setField(fIdMVenta, -1.0);
    memHojaCaja.setField(fTalon, 0.0);
    memHojaCaja.setField(fTipoOperacion, tipo);
    memHojaCaja.setField(fFacSimple, 0.0);
    memHojaCaja.setField(fDescripcion, toText(caja.value(c.descripcion)));
    memHojaCaja.setField(fDtoLinea, 0.0);
    memHojaCaja.setField(fDtoGlobal, 0.0);
    memHojaCaja.setField(fTipoPago, toInteger(caja.value(c.tipoPago)));
    memHojaCaja.setField(fLiquido, toFloat(caja.value(c.importe)));
    memHojaCaja.setField(fIdPaciente, -1.0);
    memHojaCaja.setField(fTipoRegistros, RegistroCaja);
    // The opening float (type 5) heads the day; other movements close it.
    memHojaCaja.setField(fOrden, textoDia(toDateTime(fecha)) + (tipo == 5 ? QLatin1String("0") : QLatin1String("1")));
    memHojaCaja.post();

    return ComprobarYCerrar();
}

int TdmHojaCaja::AnadirCobro(const ColumnasCobros& c, qint16 modo, const QString& fechaAnterior)
{
    const Dataset& maestro = dstMaestro;
    const Dataset& detalle = dstDetalle;
    dstDetalle.first();

    // The same values go on the collection row and on every line listed under it.
    const QVariant fechaCobroValor = maestro.value(c.fechaCobro);
    const DateTime fechaCobro = toDateTime(fechaCobroValor);
    const QString fecha = toText(fechaCobroValor);
    const double idMVenta = toFloat(maestro.value(c.idMVenta));
    const double talon = toFloat(maestro.value(c.talon));
    const int tipoOperacion = toInteger(maestro.value(c.tipoOperacion));
    const double facSimple = toFloat(maestro.value(modo == 0 || modo == 2 ? c.fsCobro : c.fsEncargo));
    const QString serie = toText(maestro.value(c.fsSerie));
    const double dtoGlobal = toFloat(maestro.value(c.dtoGlobal));
    const int tipoPago = toInteger(maestro.value(c.tipoPago));
    const DateTime fechaPagado = toDateTime(maestro.value(c.fechaPagado));
    const QString orden = textoDia(fechaCobro) + FormatFloat(QStringLiteral("0000000000"), facSimple);
    const QVariant idPaciente = maestro.value(c.idPaciente);
    const double importe = toFloat(maestro.value(c.importe));
    // A direct sale is paid by one collection of its whole amount, or in parts: then each part
    // prints on its own day with its amount, and the lines, once, without one.
    const bool directa = tipoOperacion == 0;
    const bool parcial = directa && TCalculoIva::Redondear(importe - toFloat(maestro.value(c.liquidoVenta))) != 0;
    const bool diaDeLaVenta = std::floor(fechaCobro.serial()) == std::floor(fechaPagado.serial());

    CalcularBase(fechaCobro, importe);
    const double porcentaje = PorcentajeIvaFecha(fechaCobro);

    memHojaCaja.append();
    memHojaCaja.setField(fFecha, fecha);
    memHojaCaja.setField(fIdMVenta, idMVenta);
    memHojaCaja.setField(fTalon, talon);
    memHojaCaja.setField(fTipoOperacion, tipoOperacion);
    memHojaCaja.setField(fFacSimple, facSimple);
    memHojaCaja.setField(fFacSimpleSerie, serie);
    memHojaCaja.setField(fGrupoVenta, toText(detalle.value(c.grupo)));
    memHojaCaja.setField(fAgentes, toText(detalle.value(c.agente1)));
    memHojaCaja.setField(fDescripcion, toText(idPaciente));
    memHojaCaja.setField(fDtoLinea, 0.0);
    memHojaCaja.setField(fDtoGlobal, dtoGlobal);
    memHojaCaja.setField(fTipoPago, tipoPago);
    memHojaCaja.setField(fLiquido, importe);
    memHojaCaja.setField(fIdPaciente, toFloat(idPaciente));
    memHojaCaja.setField(fFechaPagado, fechaPagado);
    memHojaCaja.setField(fOrden, orden);
    memHojaCaja.setField(fBaseImponible, baseCalculada_);
    memHojaCaja.setField(fIva, ivaCalculado_);
    memHojaCaja.setField(fPorcentajeIva, porcentaje);
    memHojaCaja.setField(fTipoRegistros, RegistroCobro);
    memHojaCaja.setField(fCobroParcial, parcial ? 1 : 0);
    memHojaCaja.post();

    if (ComprobarYCerrar() == EstadoCancelado)
        return EstadoCancelado;

    // A sale's lines go under its first collection of a day only; a direct sale's, only on the
    // day it was paid, so that they count once.
    const bool primera = idMVenta != ultimaVenta_ || fecha != fechaAnterior;
    ultimaVenta_ = idMVenta;
    if (primera && (!directa || diaDeLaVenta)) {
        while (!detalle.eof()) {
            const double base = toFloat(detalle.value(c.base));
            const double iva = toFloat(detalle.value(c.iva));
            memHojaCaja.append();
            memHojaCaja.setField(fFecha, fecha);
            memHojaCaja.setField(fIdMVenta, idMVenta);
            memHojaCaja.setField(fTalon, talon);
            memHojaCaja.setField(fTipoOperacion, tipoOperacion);
            memHojaCaja.setField(fFacSimple, facSimple);
            memHojaCaja.setField(fFacSimpleSerie, serie);
            memHojaCaja.setField(fGrupoVenta, toText(detalle.value(c.grupo)));
            memHojaCaja.setField(fAgentes, textoAgentes(toText(detalle.value(c.agente1)), toText(detalle.value(c.agente2)),
                                                        toText(detalle.value(c.agente3))));
            memHojaCaja.setField(fReferencia, toText(detalle.value(c.referencia)));
            memHojaCaja.setField(fDescripcion, toText(detalle.value(c.descripcion)));
            memHojaCaja.setField(fDtoLinea, toFloat(detalle.value(c.dtoLinea)));
            memHojaCaja.setField(fDtoGlobal, dtoGlobal);
            memHojaCaja.setField(fTipoPago, parcial ? -1 : tipoPago);
            memHojaCaja.setField(fBaseImponible, base);
            memHojaCaja.setField(fIva, iva);
            memHojaCaja.setField(fPorcentajeIva, toFloat(detalle.value(c.porcentajeIva)));
            memHojaCaja.setField(fFechaPagado, fechaPagado);
            memHojaCaja.setField(fLiquido, base + iva);
            memHojaCaja.setField(fIdPaciente, -1.0);
            memHojaCaja.setField(fOrden, orden);
            memHojaCaja.setField(fTipoRegistros, RegistroLinea);
            memHojaCaja.post();
            dstDetalle.next();
        }
    }

    return ComprobarYCerrar();
}

int TdmHojaCaja::AnadirEncargos(const ColumnasEncargos& c)
{
    const Dataset& maestro = dstMaestro;
    const QVariant fecha = maestro.value(c.fecha);

    memHojaCaja.append();
    memHojaCaja.setField(fFecha, toText(fecha));
    memHojaCaja.setField(fIdMVenta, -1.0);
    memHojaCaja.setField(fTalon, toFloat(maestro.value(c.talon)));
    memHojaCaja.setField(fTipoOperacion, static_cast<int>(toFloat(maestro.value(c.tipoOperacion))));
    memHojaCaja.setField(fFacSimple, 0.0);
    memHojaCaja.setField(fDescripcion, TextoEncargosDia);
    memHojaCaja.setField(fDtoLinea, 0.0);
    memHojaCaja.setField(fDtoGlobal, 0.0);
    memHojaCaja.setField(fTipoPago, -1);
    memHojaCaja.setField(fLiquido, toFloat(maestro.value(c.liquido)));
    memHojaCaja.setField(fIdPaciente, -1.0);
    memHojaCaja.setField(fTipoRegistros, RegistroEncargos);
    memHojaCaja.setField(fOrden, textoDia(toDateTime(fecha)) + QLatin1String("0"));
    memHojaCaja.post();

    return ComprobarYCerrar();
}

int TdmHojaCaja::TablaGrupos()
{
    return Guarded(*this, QStringLiteral("TablaGrupos"), [&] {
        memGrupos.close();
        memGrupos.open();
        const QString grupo = QStringLiteral("Grupo");
        dstMVenta.first();
        if (!dstMVenta.eof()) {
            const int codigo = columna(dstMVenta, "CODIGO");
            while (!dstMVenta.eof()) {
                const QString valor = toText(dstMVenta.value(codigo));
                // A line without a sales group (the placeholder group, code '') has no column.
                if (!valor.isEmpty() && !memGrupos.locate(grupo, valor)) {
                    memGrupos.append();
                    memGrupos.setField(0, valor);
                    memGrupos.post();
                }
                dstMVenta.next();
            }
        }
        dstMVenta.first();
        return EstadoCorrecto;
    }, EstadoError);
}

int TdmHojaCaja::CalcularBaseImponible(const DateTime& fecha, double importe)
{
    return Guarded(*this, QStringLiteral("CalcularBaseImponible"), [&] {
        CalcularBase(fecha, importe);
        return EstadoCorrecto;
    }, EstadoError);
}

void TdmHojaCaja::CalcularBase(const DateTime& fecha, double importe)
{
    const TDesgloseIva d = CalculoIva().DesglosarFecha(importe, fecha);
    baseCalculada_ = d.Base;
    ivaCalculado_ = d.Iva;
}

TCalculoIva TdmHojaCaja::CalculoIva() const
{
    if (!parametros_ || !parametros_->Configuracion)
        return TCalculoIva::Fijo(TCalculoIva::PorcentajeSinConfiguracion);
    return TCalculoIva(parametros_->Configuracion->IvaDefecto.Porcentaje);
}

double TdmHojaCaja::PorcentajeIvaFecha(const DateTime& fecha)
{
    return CalculoIva().PorcentajeFecha(fecha);
}

qint16 TdmHojaCaja::ComprobarCancelacion()
{
    // The flag is read before events run, so a click delivered now counts at the next check.
    const qint16 resultado = porcentaje_ && porcentaje_->Cancelado() ? qint16(EstadoCancelado) : qint16(EstadoCorrecto);
    // Checked for every row; events run at most every 20 ms, which keeps the window answering
    // without costing more than the rows.
    if (!ultimosEventos_.isValid() || ultimosEventos_.elapsed() >= 20) {
        ultimosEventos_.start();
        Interaction::current().processEvents();
    }
    return resultado;
}

int TdmHojaCaja::ComprobarYCerrar()
{
    estado_ = ComprobarCancelacion();
    if (estado_ == EstadoCancelado)
        CerrarConsultas();
    return estado_;
}

void TdmHojaCaja::MostrarPorcentaje()
{
    LiberarPorcentaje();
    // A new run starts uncancelled, whatever the last one ended with.
    estado_ = EstadoCorrecto;
    porcentaje_ = new TfrmPorcentajeListado(parametros_ ? parametros_->Propietario : nullptr);
    porcentaje_->PermitirCancelar(true);
    Interaction::current().showWindow(*porcentaje_);
    Interaction::current().processEvents();
}

void TdmHojaCaja::SolicitarCancelacion()
{
    if (porcentaje_)
        porcentaje_->btnCancelarClick();
}

void TdmHojaCaja::LiberarPorcentaje()
{
    delete porcentaje_.data();
    porcentaje_ = nullptr;
}

void TdmHojaCaja::CerrarConsultas()
{
    for (Dataset* ds : {&dstCaja, &dstMaestro, &dstDetalle, &dstDetalle2, &dstMVenta, &dstAux, &dstTarjetas})
        ds->close();
}

} // namespace lumetra
