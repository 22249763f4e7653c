#include "cashsheet/frmReportHojaCaja.h"

#include "cashsheet/dmHojaCaja.h"
#include "common/BloqueEmpresa.h"
#include "common/Guarded.h"
#include "common/Iva.h"
#include "common/LstUtil.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/format/DateTexts.h"
#include "platform/format/FormatFloat.h"

#include <cmath>

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Hoja de Caja");

QFont tahoma(qreal size, bool bold = false, bool italic = false)
{
    return FuenteInforme(QStringLiteral("Tahoma"), size, bold, italic);
}

struct Columna {
    const char* nombre;
    qreal left;
    qreal width;
    Qt::Alignment align;
};

// The detail columns: left edge and width in report units, all inside the side margins. Each
// holds its longest text in the widest font a row prints with (bold for a deleted patient): a
// series and nine-digit invoice number ("A/130.000.901"), "A Cuenta", three two-digit agents,
// a description of forty characters on one line.
const Columna kColumnas[] = {
    {"qxtFacSimple", 0, 76, Qt::AlignRight},   {"qxtTalon", 78, 40, Qt::AlignRight},
    {"qxtGrupo", 122, 22, Qt::AlignLeft},      {"qxtAgente", 146, 48, Qt::AlignLeft},
    {"qxtReferencia", 196, 60, Qt::AlignLeft}, {"qxtDescripcion", 258, 177, Qt::AlignLeft},
    {"qxtDtoLinea", 437, 30, Qt::AlignRight},  {"qxtDtoGlobal", 468, 30, Qt::AlignRight},
    {"qxtEfectivo", 500, 60, Qt::AlignRight},  {"qxtTalones", 562, 60, Qt::AlignRight},
    {"qxtTarjetas", 624, 60, Qt::AlignRight},  {"qxtGastos", 686, 60, Qt::AlignRight},
};

constexpr qreal kAlturaDetalle = 24;
constexpr qreal kAnchoPagina = 748;   // between the 6 mm side margins

// The row's payment is a delivery note (payment type 3), which no cash-basis VAT counts.
bool albaran(const Dataset& d)
{
    return d.fieldAsInteger(QStringLiteral("TIPO_PAGO")) == 3;
}

} // namespace

TfrmReportHojaCaja::TfrmReportHojaCaja(QObject* propietario)
    : TfrmInformeDe(propietario, QStringLiteral("frmReportHojaCaja"), QStringLiteral("qrpReport"), kPantalla)
{
    construir();
}

void TfrmReportHojaCaja::cabeceraColumnas(ReportBand& band, qreal top, const QString& primera, const QString& sufijo)
{
    const auto titulo = [&](const QString& nombre, qreal left, qreal width, const QString& texto, Qt::Alignment align) {
        ReportLabel* l = band.addLabel(nombre + sufijo, {left, top, width, 16}, texto);
        l->setAlignment(align | Qt::AlignVCenter);
    };
    // Each title over its column, aligned as the column is.
    const auto sobre = [&](const char* nombre, const char* columna, const QString& texto) {
        for (const Columna& c : kColumnas)
            if (qstrcmp(c.nombre, columna) == 0)
                titulo(QString::fromLatin1(nombre), c.left, c.width, texto, c.align);
    };
    sobre("lblFacSimple", "qxtFacSimple", primera);
    sobre("lblTalon", "qxtTalon", QStringLiteral("Talón"));
    sobre("lblGrupo", "qxtGrupo", QStringLiteral("Gr."));
    sobre("lblAgente", "qxtAgente", QStringLiteral("Agen."));
    sobre("lblReferencia", "qxtReferencia", QStringLiteral("Referencia"));
    sobre("lblDescripcion", "qxtDescripcion", QStringLiteral("Pacientes/Art/Concep"));
    ReportLabel* dtos = band.addLabel(QStringLiteral("lblDtos") + sufijo, {437, top - 12, 61, 12}, QStringLiteral("% Dtos."));
    dtos->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    band.addShape(QStringLiteral("linDtos") + sufijo, {445, top - 1, 45, 2}, ReportShape::Shape::HorizontalLine);
    // Centred under "% Dtos.", so the two titles stand apart.
    titulo(QStringLiteral("lblLinea"), 437, 30, QStringLiteral("Linea"), Qt::AlignHCenter);
    titulo(QStringLiteral("lblGlobal"), 468, 30, QStringLiteral("Global"), Qt::AlignHCenter);
    for (const char* nombre : {"lblFacSimple", "lblLinea", "lblGlobal"})
        band.find(QString::fromLatin1(nombre) + sufijo)->setFont(tahoma(6, true));
    titulo(QStringLiteral("lblEfectivo"), 500, 60, QStringLiteral("Efectivo"), Qt::AlignRight);
    titulo(QStringLiteral("lblTalones"), 562, 60, QStringLiteral("Talones"), Qt::AlignRight);
    titulo(QStringLiteral("lblTarjetas"), 624, 60, QStringLiteral("Tarjetas"), Qt::AlignRight);
    titulo(QStringLiteral("lblGastos"), 686, 60, QStringLiteral("Gastos"), Qt::AlignRight);
}

void TfrmReportHojaCaja::construir()
{
    report_.setTitle(QStringLiteral("Listado de Hoja de Caja"));
    report_.setOrientation(QPageLayout::Portrait);
    report_.setMarginsMm(QMarginsF(6, 10, 6, 10));
    report_.setFont(QFont(QStringLiteral("Arial"), 8));
    report_.setBeforePrint([this] { qrpReportBeforePrint(); });
    report_.setAfterPrint([this] { qrpReportAfterPrint(); });

    // Page header: the column titles.
    bndCabeceraPagina_ = &report_.setPageHeader(QStringLiteral("bndCabeceraPagina"), 40);
    bndCabeceraPagina_->setFont(tahoma(7, true));
    cabeceraColumnas(*bndCabeceraPagina_, 18, QStringLiteral("Ticket"), QStringLiteral("Pagina"));
    bndCabeceraPagina_->addShape(QStringLiteral("linCabeceraPagina"), {0, 37, kAnchoPagina, 2}, ReportShape::Shape::HorizontalLine);
    bndCabeceraPagina_->setBeforePrint([this](bool& imprimir) { bndCabeceraPaginaBeforePrint(imprimir); });

    // Day header.
    bndGrupoCabecera_ = &report_.addGroup(QStringLiteral("bndGrupoCabecera"), QStringLiteral("Fecha"), 183);
    bndGrupoCabecera_->setNewPage(true);
    ReportBand& cab = bndGrupoCabecera_->header();
    cab.setFont(tahoma(7, true));
    bloque_ = TBloqueEmpresa::Crear(cab, QString(), 0, 4, kAnchoPagina, TBloqueEmpresa::Orden::NifDireccion);
    cabeceraColumnas(cab, 160, QStringLiteral("Nº Fac. Simple"), QStringLiteral("Grupo"));
    cab.addShape(QStringLiteral("linCabeceraGrupo"), {0, 179, kAnchoPagina, 2}, ReportShape::Shape::HorizontalLine);
    cab.setBeforePrint([this](bool& imprimir) { bndGrupoCabeceraBeforePrint(imprimir); });

    // Detail.
    bndDetalle_ = &report_.setDetail(QStringLiteral("bndDetalle"), kAlturaDetalle);
    bndDetalle_->setFont(tahoma(7));
    for (const Columna& c : kColumnas) {
        const QString nombre = QString::fromLatin1(c.nombre);
        const QRectF g(c.left, 2, c.width, 20);
        ReportElement* e;
        if (nombre == QLatin1String("qxtGrupo"))
            e = qxtGrupo = bndDetalle_->addDataText(nombre, g, QStringLiteral("GrupoVenta"));
        else if (nombre == QLatin1String("qxtAgente"))
            e = qxtAgente = bndDetalle_->addDataText(nombre, g, QStringLiteral("Agentes"));
        else
            e = bndDetalle_->addLabel(nombre, g);
        e->setAlignment(c.align | Qt::AlignVCenter);
        // Figures up to 999.999.999,99 € fit whole in a smaller size.
        e->setShrinkToFit(c.align == Qt::AlignRight);
    }
    const auto etiqueta = [this](const char* nombre) { return static_cast<ReportLabel*>(bndDetalle_->find(QString::fromLatin1(nombre))); };
    qxtFacSimple = etiqueta("qxtFacSimple");
    qxtTalon = etiqueta("qxtTalon");
    qxtReferencia = etiqueta("qxtReferencia");
    qxtDescripcion = etiqueta("qxtDescripcion");
    qxtDescripcion->setWordWrap(true);
    qxtDescripcion->setStretch(true);
    qxtDtoLinea = etiqueta("qxtDtoLinea");
    qxtDtoGlobal = etiqueta("qxtDtoGlobal");
    qxtEfectivo = etiqueta("qxtEfectivo");
    qxtTalones = etiqueta("qxtTalones");
    qxtTarjetas = etiqueta("qxtTarjetas");
    qxtGastos = etiqueta("qxtGastos");
    qxtAgente->setOnPrint([](QString& texto) {
        if (texto == QLatin1String("0"))
            texto.clear();
    });
    bndDetalle_->setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });

    // Day footer.
    bndGrupoPie_ = &bndGrupoCabecera_->addFooter(QStringLiteral("bndGrupoPie"), 188);
    bndGrupoPie_->setFont(tahoma(7));
    bndGrupoPie_->addShape(QStringLiteral("linTotales"), {500, 1, 246, 2}, ReportShape::Shape::HorizontalLine);
    const auto titulo = [this](const char* nombre, qreal left, qreal top, qreal width, const QString& texto) {
        ReportLabel* l = bndGrupoPie_->addLabel(QString::fromLatin1(nombre), {left, top, width, 16}, texto);
        l->setFont(tahoma(7, true));
        return l;
    };
    const auto valor = [this](const char* nombre, qreal left, qreal top, qreal width = 80) {
        ReportLabel* l = bndGrupoPie_->addLabel(QString::fromLatin1(nombre), {left, top, width, 16});
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setShrinkToFit(true);
        return l;
    };
    titulo("lblTotales", 390, 4, 100, QStringLiteral("Totales...."));
    qxtSumaEfectivo = valor("qxtSumaEfectivo", 500, 4, 60);
    qxtSumaTalon = valor("qxtSumaTalon", 562, 4, 60);
    qxtSumaTarjetas = valor("qxtSumaTarjetas", 624, 4, 60);
    qxtSumaGastos = valor("qxtSumaGastos", 686, 4, 60);
    // Titles wide enough for their dots, values beside them.
    const qreal fila = 18;
    titulo("lblDineroCaja", 0, 26, 162, QStringLiteral("Dinero En Caja ......................"));
    qxtDineroCaja = valor("qxtDineroCaja", 164, 26);
    titulo("lblSaldoCaja", 250, 26, 90, QStringLiteral("Saldo Caja......."));
    qxtSaldoCaja = valor("qxtSaldoCaja", 344, 26);
    titulo("lblTotalCobros", 0, 26 + fila, 162, QStringLiteral("Total Cobros Día ..................."));
    qxtTotalCobros = valor("qxtTotalCobros", 164, 26 + fila);
    titulo("lblTotalAlbaran", 0, 26 + 2 * fila, 162, QStringLiteral("Total Albarán ......................."));
    qxtTotalAlbaran = valor("qxtTotalAlbaran", 164, 26 + 2 * fila);
    qxtNVentas = valor("qxtNVentas", 0, 26 + 3 * fila, 24);
    lblVentasDirectas = titulo("lblVentasDirectas", 28, 26 + 3 * fila, 122, QStringLiteral("Ventas Directas ........"));
    qxtTotalVentas = valor("qxtTotalVentas", 164, 26 + 3 * fila);
    qxtNEncargos = valor("qxtNEncargos", 0, 26 + 4 * fila, 24);
    lblEncargos = titulo("lblEncargos", 28, 26 + 4 * fila, 122, QStringLiteral("Encargos ..................."));
    qxtTotalEncargos = valor("qxtTotalEncargos", 164, 26 + 4 * fila);
    lblTotalVentasDia = titulo("lblTotalVentasDia", 0, 26 + 5 * fila, 162, QStringLiteral("Total Ventas del Día ............."));
    qxtTotalVentasDia = valor("qxtTotalVentasDia", 164, 26 + 5 * fila);
    lblTotalVentasMes = titulo("lblTotalVentasMes", 0, 26 + 6 * fila, 162, QStringLiteral("Total Ventas del Mes ............"));
    qxtTotalVentasMes = valor("qxtTotalVentasMes", 164, 26 + 6 * fila);
    lblTotalCobrosMes = titulo("lblTotalCobrosMes", 0, 26 + 7 * fila, 162, QStringLiteral("Total Cobros del Mes ............"));
    qxtTotalCobrosMes = valor("qxtTotalCobrosMes", 164, 26 + 7 * fila);
    bndGrupoPie_->setBeforePrint([this](bool& imprimir) { bndGrupoPieBeforePrint(imprimir); });
    bndGrupoPie_->setAfterPrint([this](bool impreso) { bndGrupoPieAfterPrint(impreso); });

    // Page footer.
    bndPiePagina_ = &report_.setPageFooter(QStringLiteral("bndPiePagina"), 32);
    ReportShape* sobre = bndPiePagina_->addShape(QStringLiteral("linPiePagina"), {0, 2, kAnchoPagina, 2}, ReportShape::Shape::HorizontalLine);
    sobre->setPen(QColor(192, 192, 192));
    ReportSysData* pagina = bndPiePagina_->addSysData(QStringLiteral("qrsPagina"), {354, 10, 60, 16}, ReportSysData::Data::PageNumber);
    pagina->setFont(tahoma(8));
    pagina->setColor(QColor(160, 160, 160));
    qxtFechaPie = bndPiePagina_->addLabel(QStringLiteral("qxtFechaPie"), {646, 10, 100, 16});
    qxtFechaPie->setFont(tahoma(8));
    qxtFechaPie->setColor(QColor(160, 160, 160));
    qxtFechaPie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bndPiePagina_->setBeforePrint([this](bool& imprimir) { bndPiePaginaBeforePrint(imprimir); });
}

void TfrmReportHojaCaja::SetCondicionVentas(const QString& c) { if (condicionVentas_ != c) condicionVentas_ = c; }
void TfrmReportHojaCaja::SetCondicionCobros(const QString& c) { if (condicionCobros_ != c) condicionCobros_ = c; }
void TfrmReportHojaCaja::SetTipoCalculo(qint16 tipo) { if (tipoCalculo_ != tipo) tipoCalculo_ = tipo; }
void TfrmReportHojaCaja::SetTotalesMes(bool v) { if (totalesMes_ != v) totalesMes_ = v; }
void TfrmReportHojaCaja::SetTotalesDia(bool v) { if (totalesDia_ != v) totalesDia_ = v; }
void TfrmReportHojaCaja::SetDetalleCaja(bool v) { if (detalleCaja_ != v) detalleCaja_ = v; }
void TfrmReportHojaCaja::SetInformeGrupos(bool v) { if (informeGrupos_ != v) informeGrupos_ = v; }
void TfrmReportHojaCaja::SetInformeTarjetas(bool v) { if (informeTarjetas_ != v) informeTarjetas_ = v; }

int TfrmReportHojaCaja::Inicializar(HostParams* parametros)
{
    parametros_ = parametros;
    return Guarded(*this, QStringLiteral("Inicializar"), [&] {
        CrearUtilidades(parametros, true);
        dm_->memIvas.close();
        dm_->memIvas.open();
        if (dm_->memGrupos.isOpen())
            dm_->memGrupos.first();
        dia_ = Acumuladores{};
        ventaContada_ = -1;
        ventasMesAcumuladas_ = 0;
        cobrosMesAcumulados_ = 0;
        ventasDiasMes_ = {};
        cobrosDiasMes_ = {};
        pieImpreso_ = false;
        mesNuevo_ = true;
        int anio = 0, mes = 0, diaMes = 0;
        if (!dm_->memHojaCaja.isEmpty()) {
            dm_->memHojaCaja.first();
            diaActual().decode(anio, mes, diaMes);
        }
        mes_ = qint16(mes);
        return CrearEtiquetasIva();
    }, -1);
}

int TfrmReportHojaCaja::Finalizar()
{
    return Guarded(*this, QStringLiteral("Finalizar"), [&] {
        LiberarUtilidades();
        tiendas_.clear();
        return EliminarEtiquetas();
    }, -1);
}

// ---- band events ---------------------------------------------------------------------------

void TfrmReportHojaCaja::qrpReportBeforePrint()
{
    report_.setDataSet(dm_->memHojaCaja);
    bndGrupoCabecera_->setExpression(QStringLiteral("Fecha"));
    qxtGrupo->setField(QStringLiteral("GrupoVenta"));
    qxtAgente->setField(QStringLiteral("Agentes"));
    pieImpreso_ = false;
    fechaPie_.clear();
}

void TfrmReportHojaCaja::qrpReportAfterPrint()
{
    if (posteriores_ && (informeGrupos_ || informeTarjetas_))
        posteriores_(informeGrupos_, informeTarjetas_);
}

void TfrmReportHojaCaja::bndCabeceraPaginaBeforePrint(bool& imprimir)
{
    if (pieImpreso_) {
        imprimir = false;
        pieImpreso_ = false;
    }
}

void TfrmReportHojaCaja::bndGrupoCabeceraBeforePrint(bool&)
{
    const TConfiguracion& conf = *parametros_->Configuracion;
    const QString fecha = dm_->memHojaCaja.fieldAsText(QStringLiteral("Fecha"));
    bloque_.Rellenar(QStringLiteral("Hoja de Caja del día ") + fecha, filtro_, conf, lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad));
    bndPiePagina_->setEnabled(true);
    // Every day starts its page: the pages from here to the day's footer are that day's.
    fechaPie_ = fecha;
}

void TfrmReportHojaCaja::fijarFuente(bool negrita, bool cursiva)
{
    bndDetalle_->setFont(tahoma(7, negrita, cursiva));
}

void TfrmReportHojaCaja::bndDetalleBeforePrint(bool& imprimir)
{
    const MemTable& t = dm_->memHojaCaja;
    const int T = t.fieldAsInteger(QStringLiteral("TipoRegistros"));
    const int O = t.fieldAsInteger(QStringLiteral("TipoOperacion"));
    const int P = t.fieldAsInteger(QStringLiteral("TipoPago"));
    const double L = t.fieldAsFloat(QStringLiteral("Liquido"));
    imprimir = false;
    if (P == 3) {
        if (T != TdmHojaCaja::RegistroLinea)
            dia_.SumaAlbaran += L;
    } else if (T == TdmHojaCaja::RegistroCaja) {
        imprimir = true;
        fijarFuente(false, false);
        for (ReportLabel* l : {qxtFacSimple, qxtTalon, qxtReferencia, qxtDtoLinea, qxtDtoGlobal})
            l->setCaption(QString());
        qxtDescripcion->setCaption(t.fieldAsText(QStringLiteral("Descripcion")));
        ImprimirImporteCaja();
    } else if (T == TdmHojaCaja::RegistroEncargos) {
        if (O == 1 || O == 2) {
            dia_.NumEncargos += 1;
            dia_.SumaEncargos += L;
        }
    } else if (T == TdmHojaCaja::RegistroCobro) {
        if (O == 0) {
            // The money of a direct sale counts by what was collected. Paid at once, the sale
            // prints as its lines; paid in parts, each part prints too.
            if (t.fieldAsInteger(QStringLiteral("CobroParcial")) != 0) {
                imprimir = true;
                Imprimir(0);
            } else if (P >= 0 && P <= 2) {
                double* sumas[] = {&dia_.SumaEfectivo, &dia_.SumaTalon, &dia_.SumaTarjetas};
                *sumas[P] += L;
            }
        } else if (O >= 1 && O <= 3) {
            imprimir = true;
            Imprimir(O);
        }
    } else if (T == TdmHojaCaja::RegistroLinea) {
        if (O == 0) {
            imprimir = true;
            Imprimir(0);
            // A sale counts once, with its lines, whatever the collections it was paid in.
            const double venta = t.fieldAsFloat(QStringLiteral("IdMVenta"));
            if (venta != ventaContada_) {
                ventaContada_ = venta;
                dia_.NumVentas += 1;
            }
            const TDesgloseIva linea{t.fieldAsFloat(QStringLiteral("BaseImponible")), t.fieldAsFloat(QStringLiteral("porcentajeIva")),
                                     t.fieldAsFloat(QStringLiteral("Iva"))};
            dia_.SumaVentas += linea.Importe();
            EditarTablaIvas(linea);
        } else if ((O == 1 || O == 2) && detalleCaja_) {
            imprimir = true;
            Imprimir(O);
        }
    }
    bndDetalle_->setHeight(imprimir ? kAlturaDetalle : 0);
}

int TfrmReportHojaCaja::Imprimir(int operacion)
{
    return Guarded(*this, QStringLiteral("Imprimir"), [&] {
        const MemTable& t = dm_->memHojaCaja;
        const int T = t.fieldAsInteger(QStringLiteral("TipoRegistros"));
        const bool cursiva = operacion == 3;
        fijarFuente(false, cursiva);
        if (operacion == 0)
            qxtFacSimple->setCaption(lstUtil_->TextoNumeroDocumento(t.fieldAsText(QStringLiteral("FacSimpleSerie")),
                                                                    parametros_->Configuracion->SeparadorDocumento,
                                                                    t.fieldAsFloat(QStringLiteral("FacSimple"))));
        else
            qxtFacSimple->setCaption(QStringLiteral("A Cuenta"));
        qxtTalon->setCaption(lstUtil_->TextoEntero(t.fieldAsFloat(QStringLiteral("Talon"))));
        if (T == TdmHojaCaja::RegistroLinea) {
            qxtDescripcion->setCaption(t.fieldAsText(QStringLiteral("Descripcion")));
        } else {
            qxtDescripcion->setCaption(lstUtil_->NombrePaciente(t.fieldAsFloat(QStringLiteral("IdPaciente"))));
            fijarFuente(lstUtil_->PacienteBorrado, cursiva);
        }
        qxtReferencia->setCaption(t.fieldAsText(QStringLiteral("Referencia")));
        qxtDtoGlobal->setCaption(lstUtil_->TextoDecimal(t.fieldAsFloat(QStringLiteral("DtoGlobal"))));
        qxtDtoLinea->setCaption(lstUtil_->TextoDecimal(t.fieldAsFloat(QStringLiteral("DtoLinea"))));

        const int P = t.fieldAsInteger(QStringLiteral("TipoPago"));
        const double L = t.fieldAsFloat(QStringLiteral("Liquido"));
        // The money counts by the collections: a line only shows its amount.
        const bool cuenta = T != TdmHojaCaja::RegistroLinea;
        ReportLabel* columnas[] = {qxtEfectivo, qxtTalones, qxtTarjetas};
        double* sumas[] = {&dia_.SumaEfectivo, &dia_.SumaTalon, &dia_.SumaTarjetas};
        // A payment type without a column prints no amount (never the previous row's).
        for (int i = 0; i < 3; ++i)
            columnas[i]->setCaption(i == P ? lstUtil_->TextoImporte(false, L) : QString());
        if (P >= 0 && P <= 2 && cuenta)
            *sumas[P] += L;
        qxtGastos->setCaption(QString());
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::ImprimirImporteCaja()
{
    return Guarded(*this, QStringLiteral("ImprimirImporteCaja"), [&] {
        const MemTable& t = dm_->memHojaCaja;
        const int O = t.fieldAsInteger(QStringLiteral("TipoOperacion"));
        const int P = t.fieldAsInteger(QStringLiteral("TipoPago"));
        const double L = t.fieldAsFloat(QStringLiteral("Liquido"));
        if (O < 1 || O > 5) {
            // A movement of no known type prints no amount (never the previous row's).
            for (ReportLabel* l : {qxtEfectivo, qxtTalones, qxtTarjetas, qxtGastos})
                l->setCaption(QString());
            return 0;
        }
        const QString importe = lstUtil_->TextoImporte(false, L);
        const bool entrada = O == 3 || O == 5;
        qxtEfectivo->setCaption(entrada ? importe : QString());
        qxtGastos->setCaption(entrada ? QString() : importe);
        qxtTalones->setCaption(QString());
        qxtTarjetas->setCaption(QString());
        dia_.SumaCaja[size_t(O)] += L;
        if (P == 0 && O == 1)
            dia_.SumaCaja1Efectivo += L;
        if (P == 0 && O == 2)
            dia_.SumaCaja2Efectivo += L;
        return 0;
    }, -1);
}

void TfrmReportHojaCaja::bndGrupoPieBeforePrint(bool&)
{
    const auto importe = [this](double valor) { return lstUtil_->TextoImporte(false, valor); };
    const Acumuladores& d = dia_;
    qxtSumaEfectivo->setCaption(importe(d.SumaEfectivo));
    qxtSumaTalon->setCaption(importe(d.SumaTalon));
    qxtSumaTarjetas->setCaption(importe(d.SumaTarjetas));
    qxtSumaGastos->setCaption(importe(d.SumaCaja[2] + d.SumaCaja[1]));
    qxtSaldoCaja->setCaption(importe(d.SumaEfectivo + d.SumaTalon + d.SumaTarjetas - d.SumaCaja[2] - d.SumaCaja[1]));
    qxtDineroCaja->setCaption(importe(d.SumaEfectivo + d.SumaCaja[5] + d.SumaCaja[3] - d.SumaCaja2Efectivo
                                      - d.SumaCaja1Efectivo - d.SumaCaja[4]));
    qxtTotalCobros->setCaption(importe(d.SumaEfectivo + d.SumaTalon + d.SumaTarjetas));
    qxtTotalAlbaran->setCaption(importe(d.SumaAlbaran));

    for (ReportLabel* l : {qxtNVentas, qxtTotalVentas, qxtNEncargos, qxtTotalEncargos, qxtTotalVentasDia, lblVentasDirectas,
                           lblEncargos, lblTotalVentasDia})
        l->setEnabled(totalesDia_);
    qxtNVentas->setCaption(lstUtil_->TextoEntero(d.NumVentas));
    qxtTotalVentas->setCaption(importe(d.SumaVentas));
    qxtNEncargos->setCaption(lstUtil_->TextoEntero(d.NumEncargos));
    qxtTotalEncargos->setCaption(importe(d.SumaEncargos));
    qxtTotalVentasDia->setCaption(importe(d.SumaEncargos + d.SumaVentas));

    for (ReportLabel* l : {qxtTotalVentasMes, qxtTotalCobrosMes, lblTotalVentasMes, lblTotalCobrosMes})
        l->setEnabled(totalesMes_);
    if (totalesMes_) {
        qxtTotalVentasMes->setCaption(VentasMes());
        qxtTotalCobrosMes->setCaption(CobrosMes());
    }
    CalcularIvas();
    // A day with more VAT rows than the footer holds grows the footer instead of losing rows.
    bndGrupoPie_->setHeight(std::max<qreal>(188, 72 + 20 * tabla_.FilasUsadas() + 16));
}

// Once the footer is on its page: a footer moved to a page of its own still gets the page header
// there, and the next day's page has none.
void TfrmReportHojaCaja::bndGrupoPieAfterPrint(bool)
{
    dia_ = Acumuladores{};
    ventaContada_ = -1;
    mesNuevo_ = false;
    dm_->memIvas.close();
    dm_->memIvas.open();
    tabla_.Vaciar();
    const MemTable& t = dm_->memHojaCaja;
    if (t.recNo() >= t.recordCount() - 1)
        mesNuevo_ = true;
    pieImpreso_ = true;
}

void TfrmReportHojaCaja::bndPiePaginaBeforePrint(bool&)
{
    qxtFechaPie->setCaption(fechaPie_);
}

// ---- month totals and day VAT ---------------------------------------------------------------

DateTime TfrmReportHojaCaja::diaActual() const
{
    return StrToDate(dm_->memHojaCaja.fieldAsText(QStringLiteral("Fecha")));
}

double TfrmReportHojaCaja::SumasDiasMes::hasta(int dia) const
{
    qint64 total = 0;
    for (int d = 1; d <= dia && d < int(centimos.size()); ++d)
        total += centimos[std::size_t(d)];
    return double(total) / 100.0;
}

// The month-to-date total of `dia`: the sum of the month's days up to it. `sqlMes` gives the query
// of the sums DIA, SUMA of the days between its two SQL date literals, one row a day. Amounts are
// exact to the cent, so adding the days gives what one sum over them gives.
bool TfrmReportHojaCaja::sumaMesHasta(SumasDiasMes& sumas, const SqlMes& sqlMes, const DateTime& dia, double& suma)
{
    int anio = 0, mes = 0, diaMes = 0;
    dia.decode(anio, mes, diaMes);
    if (sumas.anio != anio || sumas.mes != mes) {
        sumas = {};
        const QString sql = sqlMes(QStringLiteral("'") + SqlDateLiteral(DateTime::fromYmd(anio, mes, 1)) + QStringLiteral("'"),
                                   QStringLiteral("'") + SqlDateLiteral(DateTime::fromYmd(anio, mes, QDate(anio, mes, 1).daysInMonth()))
                                       + QStringLiteral("'"));
        if (dm_->AbrirQuery(TdmHojaCaja::ConsultaAux, sql, QString()) != 0)
            return false;
        Dataset& aux = dm_->dstAux;
        for (aux.first(); !aux.eof(); aux.next()) {
            int a = 0, m = 0, d = 0;
            aux.fieldAsDateTime(QStringLiteral("DIA")).decode(a, m, d);
            if (d >= 1 && d < int(sumas.centimos.size()))
                sumas.centimos[std::size_t(d)] += std::llround(aux.fieldAsFloat(QStringLiteral("SUMA")) * 100.0);
        }
        aux.close();
        sumas.anio = anio;
        sumas.mes = mes;
    }
    suma = sumas.hasta(diaMes);
    return true;
}

QString TfrmReportHojaCaja::totalMes(SumasDiasMes& sumas, double& acumulado, const SqlMes& sqlMes)
{
    const DateTime dia = diaActual();
    int anio = 0, mes = 0, diaMes = 0;
    dia.decode(anio, mes, diaMes);
    mes_ = qint16(mes);
    double suma = 0;
    if (sumaMesHasta(sumas, sqlMes, dia, suma))
        acumulado = suma;
    return lstUtil_->TextoImporte(false, acumulado);
}

QString TfrmReportHojaCaja::VentasMes()
{
    return Guarded(*this, QStringLiteral("VentasMes"), [&] {
        // Read from the database: the day totals of the report leave out delivery notes and
        // count sales by collection date, so adding them up would drift.
        return totalMes(ventasDiasMes_, ventasMesAcumuladas_, [&](const QString& desde, const QString& hasta) {
            return QStringLiteral("Select CAST(MV.FECHA AS DATE) DIA, SUM(MV.LIQUIDO_M1) SUMA from MVENTA MV "
                                  "where MV.TIPO_OPERACION != 3 AND CAST(MV.FECHA AS DATE) BETWEEN ")
                + desde + QStringLiteral(" AND ") + hasta
                + (condicionVentas_.isEmpty() ? QString() : QStringLiteral(" AND ") + condicionVentas_)
                + QStringLiteral(" GROUP BY 1");
        });
    }, QString());
}

QString TfrmReportHojaCaja::CobrosMes()
{
    return Guarded(*this, QStringLiteral("CobrosMes"), [&] {
        return totalMes(cobrosDiasMes_, cobrosMesAcumulados_, [&](const QString& desde, const QString& hasta) {
            return QStringLiteral("Select CAST(CO.FECHA AS DATE) DIA, SUM(CO.IMPORTE_M1) SUMA from COBRO CO "
                                  "INNER JOIN MVENTA MV On MV.ID_MVENTA = CO.ID_MVENTA Where CAST(CO.FECHA AS DATE) BETWEEN ")
                + desde + QStringLiteral(" AND ") + hasta
                + (condicionCobros_.isEmpty() ? QString() : QStringLiteral(" AND ") + condicionCobros_)
                + QStringLiteral(" GROUP BY 1");
        });
    }, QString());
}

int TfrmReportHojaCaja::CalcularIvas()
{
    return Guarded(*this, QStringLiteral("CalcularIvas"), [&] {
        tabla_.Vaciar();
        switch (tipoCalculo_) {
        case 0: IvaFechaCobro(); break;
        case 1: IvaFechaEncargo(); break;
        case 2: IvaFechaCaja(); break;
        default: break;
        }
        MemTable& ivas = dm_->memIvas;
        for (ivas.first(); !ivas.eof(); ivas.next())
            ImprimirEtiquetasIvas(TCalculoIva::Fila(ivas));
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::anadirIvasConsulta(const QString& sql, const QString& columnaPorcentaje)
{
    if (dm_->AbrirQuery(TdmHojaCaja::ConsultaAux, sql, QString()) != 0)
        return -1;
    Dataset& aux = dm_->dstAux;
    for (aux.first(); !aux.eof(); aux.next())
        EditarTablaIvas({aux.fieldAsFloat(QStringLiteral("BASE")), aux.fieldAsFloat(columnaPorcentaje), aux.fieldAsFloat(QStringLiteral("IVA"))});
    return 0;
}

int TfrmReportHojaCaja::IvaFechaCobro()
{
    const QString dia = SqlDateLiteral(diaActual());
    return anadirIvasConsulta(QStringLiteral("SELECT SUM(DV.BI_BASE_M1) BASE, SUM(DV.BI_IVA_M1) IVA, DV.IVA PORCENTAJE ")
                                  + QStringLiteral("from MVENTA MV INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ") + QStringLiteral(")")
                                  + QStringLiteral(" Where MV.TIPO_OPERACION IN (1, 2) AND CAST(MV.FECHA_PAGADO AS DATE) = '") + dia + QStringLiteral("'")
                                  + (condicionVentas_.isEmpty() ? QString() : QStringLiteral(" AND ") + condicionVentas_)
                                  + QStringLiteral(" GROUP BY DV.IVA ORDER BY DV.IVA"),
                              QStringLiteral("PORCENTAJE"));
}

int TfrmReportHojaCaja::IvaFechaEncargo()
{
    const QString dia = SqlDateLiteral(diaActual());
    return anadirIvasConsulta(QStringLiteral("SELECT SUM(DV.BI_BASE_M1) BASE, SUM(DV.BI_IVA_M1) IVA, DV.IVA PORCENTAJE ")
                                  + QStringLiteral("from MVENTA MV INNER JOIN DVENTA DV On (DV.ID_MVENTA = MV.ID_MVENTA ") + QStringLiteral(")")
                                  + QStringLiteral(" Where (MV.TIPO_OPERACION = 1 Or MV.TIPO_OPERACION = 2) AND CAST(MV.FECHA AS DATE) = '")
                                  + dia + QStringLiteral("'")
                                  + (condicionVentas_.isEmpty() ? QString() : QStringLiteral(" AND ") + condicionVentas_)
                                  + QStringLiteral(" GROUP BY DV.IVA ORDER  BY DV.IVA"),
                              QStringLiteral("PoRCENTAJE"));
}

int TfrmReportHojaCaja::IvaFechaCaja()
{
    const int r = IvaCajaCobrosEncargos();
    return r == 0 ? IvaCajaEncargosTerminados() : r;
}

int TfrmReportHojaCaja::IvaCajaCobrosEncargos()
{
    return Guarded(*this, QStringLiteral("IvaCajaCobrosEncargos"), [&] {
        const DateTime diaFecha = diaActual();
        const QString dia = SqlDateLiteral(diaFecha);
        const QString sql = QStringLiteral("Select CAST(CO.FECHA AS DATE) FECHA, CO.IMPORTE_M1, MV.N_TALON, CO.TICKET, CO.ID_TIENDA TIENDA_COBRO, ")
            + QStringLiteral("MV.ID_TIENDA TIENDA_VENTA, FP.TIPO_PAGO From MVENTA MV ")
            + QStringLiteral("INNER JOIN COBRO CO On (CO.ID_MVENTA = MV.ID_MVENTA AND CAST(CO.FECHA AS DATE) = '") + dia + QStringLiteral("' ")
            + (condicionCobros_.isEmpty() ? QString() : QStringLiteral(" AND ") + condicionCobros_)
            + QStringLiteral(") LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO")
            + QStringLiteral(" where MV.TIPO_OPERACION IN (1, 2) AND CAST(MV.FECHA_PAGADO AS DATE) != '") + dia + QStringLiteral("'");
        if (dm_->AbrirQuery(TdmHojaCaja::ConsultaAux, sql, QString()) != 0)
            return -1;
        const TCalculoIva calculo = dm_->CalculoIva();
        Dataset& aux = dm_->dstAux;
        for (aux.first(); !aux.eof(); aux.next()) {
            const double importe = aux.fieldAsFloat(QStringLiteral("IMPORTE_M1"));
            // A down payment by delivery note is not money collected: it is not declared.
            if (importe != 0 && !albaran(aux))
                EditarTablaIvas(calculo.DesglosarFecha(importe, diaFecha));
        }
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::IvaCajaEncargosTerminados()
{
    return Guarded(*this, QStringLiteral("IvaCajaEncargosTerminados"), [&] {
        const DateTime diaFecha = diaActual();
        const QString dia = SqlDateLiteral(diaFecha);
        const QString maestro = QStringLiteral("Select MV.ID_MVENTA, MV.ID_TIENDA, MV.N_TALON, FP.TIPO_PAGO From MVENTA MV ")
            + QStringLiteral("LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = MV.ID_FORMA_PAGO ")
            + QStringLiteral("where MV.TIPO_OPERACION IN (1, 2) AND CAST(MV.FECHA_PAGADO AS DATE) = '") + dia + QStringLiteral("'");
        const QString detalle = QStringLiteral("Select SUM(DV.BI_BASE_M1) BIBASEM1, SUM(DV.BI_IVA_M1) BIIVAM1, DV.IVA from DVENTA DV ")
            + QStringLiteral(" Where DV.ID_MVENTA = :ID_MVENTA ") + QStringLiteral(" GROUP BY DV.IVA ");
        // Every collection of the order up to that day: the earlier ones were declared on their days.
        const QString detalle2 = QStringLiteral("Select CO.IMPORTE_M1, CO.ID_TIENDA, CAST(CO.FECHA AS DATE) FECHA, FP.TIPO_PAGO from COBRO CO ")
            + QStringLiteral("LEFT JOIN FORMA_PAGO FP On FP.ID_FORMA_PAGO = CO.ID_FORMA_PAGO ")
            + QStringLiteral("where CO.ID_MVENTA = :ID_MVENTA AND CAST(CO.FECHA AS DATE) <= '") + dia + QStringLiteral("'");
        const int r = dm_->AbrirQueryMDD(maestro, detalle, detalle2);
        if (r != 0)
            return r;
        const TCalculoIva calculo = dm_->CalculoIva();
        Dataset& m = dm_->dstMaestro;
        Dataset& lineas = dm_->dstDetalle;
        Dataset& cobros = dm_->dstDetalle2;
        for (m.first(); !m.eof(); m.next()) {
            // An order settled by delivery note enters nothing on its day; its down payments
            // stay declared on theirs.
            if (albaran(m))
                continue;
            double t = 0;
            if (TiendaSeleccionada(m.fieldAsFloat(QStringLiteral("ID_TIENDA")))) {
                for (lineas.first(); !lineas.eof(); lineas.next()) {
                    const TDesgloseIva linea{lineas.fieldAsFloat(QStringLiteral("BIBASEM1")), lineas.fieldAsFloat(QStringLiteral("IVA")),
                                             lineas.fieldAsFloat(QStringLiteral("BIIVAM1"))};
                    EditarTablaIvas(linea);
                    t += linea.Importe();
                }
                t = -t;
            }
            // A down payment is taken back at the rate it was declared with; what the lines and the
            // payments still differ by is the day's, at the day's rate.
            for (cobros.first(); !cobros.eof(); cobros.next()) {
                if (!TiendaSeleccionada(cobros.fieldAsFloat(QStringLiteral("ID_TIENDA"))) || albaran(cobros))
                    continue;
                const double importe = cobros.fieldAsFloat(QStringLiteral("IMPORTE_M1"));
                const DateTime fecha = cobros.fieldAsDateTime(QStringLiteral("FECHA"));
                if (std::floor(fecha.serial()) != std::floor(diaFecha.serial()) && importe != 0)
                    EditarTablaIvas(calculo.DesglosarFecha(-importe, fecha));
                t += importe;
            }
            t = TCalculoIva::Redondear(t);
            if (t != 0)
                EditarTablaIvas(calculo.DesglosarFecha(t, diaFecha));
        }
        dm_->dstMaestro.close();
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::EditarTablaIvas(const TDesgloseIva& importe)
{
    return Guarded(*this, QStringLiteral("EditarTablaIvas"), [&] {
        if (!dm_->memIvas.locate(QStringLiteral("PorcentajeIva"), importe.Porcentaje))
            return AnadirTablaIva(importe);
        TCalculoIva::Acumular(dm_->memIvas, importe);
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::AnadirTablaIva(const TDesgloseIva& importe)
{
    return Guarded(*this, QStringLiteral("AnadirTablaIva"), [&] {
        TCalculoIva::Anadir(dm_->memIvas, importe);
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::CrearEtiquetasIva()
{
    return Guarded(*this, QStringLiteral("CrearEtiquetasIva"), [&] {
        iva_->CargarIvas();
        TTablaIvas::Forma forma;
        forma.base = QStringLiteral("lblIvaBase");
        forma.porcentaje = QStringLiteral("lblIvaPorcentaje");
        forma.iva = QStringLiteral("lblIvaImporte");
        forma.puntos = 7;
        tabla_.Crear(*bndGrupoPie_, int(iva_->Ids().size()), 72, 20, {480, 80}, {565, 70}, {640, 106}, forma);
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::EliminarEtiquetas()
{
    return Guarded(*this, QStringLiteral("EliminarEtiquetas"), [&] {
        tabla_.Eliminar();
        return 0;
    }, -1);
}

int TfrmReportHojaCaja::ImprimirEtiquetasIvas(const TDesgloseIva& importe)
{
    return Guarded(*this, QStringLiteral("ImprimirEtiquetasIvas"), [&] {
        tabla_.Anadir(importe, *lstUtil_);
        return 0;
    }, -1);
}

bool TfrmReportHojaCaja::TiendaSeleccionada(double idTienda) const
{
    return tiendas_.isEmpty() || tiendas_.contains(FloatToStr(idTienda));
}

} // namespace lumetra
