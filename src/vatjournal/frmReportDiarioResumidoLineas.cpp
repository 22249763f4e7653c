#include "vatjournal/frmReportDiarioResumidoLineas.h"

#include "common/BloqueEmpresa.h"
#include "common/Guarded.h"
#include "common/Iva.h"
#include "common/TablaIvas.h"
#include "common/LstUtil.h"
#include "hostapi/Condiciones.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "vatjournal/dmDiarioIva.h"

#include <algorithm>
#include <stdexcept>

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Diario de Iva - Diario Resumido por Días");
constexpr qreal kAncho = 718;   // A4 portrait between the 10 mm margins

struct Columna {
    qreal left;
    qreal width;
    Qt::Alignment align;
};
constexpr Columna kFecha{0, 120, Qt::AlignLeft};
constexpr Columna kBase{200, 150, Qt::AlignRight};
constexpr Columna kPorcentaje{370, 150, Qt::AlignRight};
constexpr Columna kIvaCol{540, 150, Qt::AlignRight};

// The run-time totals table of the summary band: one row per VAT type under its titles.
constexpr qreal kTablaBase = 250, kTablaPorcentaje = 390, kTablaIva = 490, kTablaArriba = 90, kTablaFila = 20;
constexpr qreal kTablaAnchoBase = 130, kTablaAnchoPorcentaje = 90, kTablaAnchoIva = 100;

} // namespace

TfrmReportDiarioResumidoLineas::TfrmReportDiarioResumidoLineas(QObject* propietario)
    : TfrmInformeDe(propietario, QStringLiteral("frmReportDiarioResumidoLineas"), QStringLiteral("qrpReport"), kPantalla)
{
    construir();
}

void TfrmReportDiarioResumidoLineas::construir()
{
    report_.setTitle(QStringLiteral("Diario de Iva"));
    report_.setOrientation(QPageLayout::Portrait);
    report_.setMarginsMm(QMarginsF(10, 10, 10, 10));
    report_.setFont(FuenteInforme("Tahoma", 8));
    report_.setBeforePrint([this] { qrpReportBeforePrint(); });

    bndCabecera_ = &report_.setPageHeader(QStringLiteral("bndCabecera"), 164);
    ReportBand& cab = *bndCabecera_;
    bloque_ = TBloqueEmpresa::Crear(cab, QStringLiteral("Pagina"), 0, 4, kAncho, TBloqueEmpresa::Orden::DireccionNif);
    const auto titulo = [&](const char* nombre, const Columna& c, const QString& texto) {
        ReportLabel* l = cab.addLabel(QString::fromLatin1(nombre), {c.left, 140, c.width, 16}, texto);
        l->setFont(FuenteInforme("Verdana", 9, true));
        l->setAlignment(c.align | Qt::AlignVCenter);
    };
    titulo("lblFecha", kFecha, QStringLiteral("Fecha"));
    titulo("lblBImponible", kBase, QStringLiteral("B.Imponible"));
    titulo("lblPorcentaje", kPorcentaje, QStringLiteral("% I.V.A"));
    titulo("lblIva", kIvaCol, QStringLiteral("I.V.A"));
    cab.addShape(QStringLiteral("linCabecera"), {0, 160, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    cab.setBeforePrint([this](bool& imprimir) { bndCabeceraBeforePrint(imprimir); });

    // Day outside, rate inside; the headers and the detail take no room, they only accumulate.
    bndCabGrupoFecha_ = &report_.addGroup(QStringLiteral("bndCabGrupoFecha"), QStringLiteral("FECHA"), 0);
    bndCabGrupoFecha_->header().setBeforePrint([this](bool& imprimir) { bndCabGrupoFechaBeforePrint(imprimir); });
    bdCabGrupoTipoIva_ = &report_.addGroup(QStringLiteral("bdCabGrupoTipoIva"), QStringLiteral("IVA"), 0);
    bdCabGrupoTipoIva_->header().setBeforePrint([this](bool& imprimir) { bdCabGrupoTipoIvaBeforePrint(imprimir); });
    bndDetalle_ = &report_.setDetail(QStringLiteral("bndDetalle"), 0);
    bndDetalle_->setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });

    bndPieGrupoTipoIva_ = &bdCabGrupoTipoIva_->addFooter(QStringLiteral("bndPieGrupoTipoIva"), 18);
    const auto celda = [this](const char* nombre, const Columna& c) {
        ReportLabel* l = bndPieGrupoTipoIva_->addLabel(QString::fromLatin1(nombre), {c.left, 1, c.width, 16});
        l->setAlignment(c.align | Qt::AlignVCenter);
        return l;
    };
    qxtFecha = celda("qxtFecha", kFecha);
    qxtBImponible = celda("qxtBImponible", kBase);
    qxtPorcentaje = celda("qxtPorcentaje", kPorcentaje);
    qxtIva = celda("qxtIva", kIvaCol);
    bndPieGrupoTipoIva_->setBeforePrint([this](bool& imprimir) { bndPieGrupoTipoIvaBeforePrint(imprimir); });
    bndPieGrupoTipoIva_->setAfterPrint([this](bool impreso) { bndPieGrupoTipoIvaAfterPrint(impreso); });

    bndSumario_ = &report_.setSummary(QStringLiteral("bndSumario"), kTablaArriba + kTablaFila);
    ReportBand& sum = *bndSumario_;
    qxtLinea = sum.addShape(QStringLiteral("qxtLinea"), {kBase.left, 2, kAncho - kBase.left, 2}, ReportShape::Shape::HorizontalLine);
    qxtTotalBase = sum.addLabel(QStringLiteral("qxtTotalBase"), {kBase.left, 8, kBase.width, 16});
    qxtTotalBase->setFont(FuenteInforme("Tahoma", 8, true));
    qxtTotalBase->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    qxtTotalIva = sum.addLabel(QStringLiteral("qxtTotalIva"), {kIvaCol.left, 8, kIvaCol.width, 16});
    qxtTotalIva->setFont(FuenteInforme("Tahoma", 8, true));
    qxtTotalIva->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto tituloTabla = [&](const char* nombre, qreal left, qreal width, const QString& texto) {
        ReportLabel* l = sum.addLabel(QString::fromLatin1(nombre), {left, 62, width, 16}, texto);
        l->setFont(FuenteInforme("Verdana", 8, true));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    tituloTabla("lblTablaBase", kTablaBase, kTablaAnchoBase, QStringLiteral("B. Imponible"));
    tituloTabla("lblTablaPorcentaje", kTablaPorcentaje, kTablaAnchoPorcentaje, QStringLiteral("% I.V.A"));
    tituloTabla("lblTablaIva", kTablaIva, kTablaAnchoIva, QStringLiteral("I.V.A"));
    qxtLineaIva = sum.addShape(QStringLiteral("qxtLineaIva"), {kTablaBase, 82, kTablaIva + kTablaAnchoIva - kTablaBase, 2},
                               ReportShape::Shape::HorizontalLine);
    sum.setBeforePrint([this](bool& imprimir) { bndSumarioBeforePrint(imprimir); });

    bndPiePagina_ = &report_.setPageFooter(QStringLiteral("bndPiePagina"), 28);
    bndPiePagina_->addShape(QStringLiteral("linPie"), {0, 2, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    ReportSysData* pagina =
        bndPiePagina_->addSysData(QStringLiteral("qrsPagina"), {kAncho / 2 - 30, 8, 60, 16}, ReportSysData::Data::PageNumber);
    pagina->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    qxtFechaPie = bndPiePagina_->addLabel(QStringLiteral("qxtFechaPie"), {kAncho - 200, 8, 200, 16});
    qxtFechaPie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bndPiePagina_->setBeforePrint([this](bool& imprimir) { bndPiePaginaBeforePrint(imprimir); });
}

void TfrmReportDiarioResumidoLineas::SetTipoCalculo(qint16 tipo) { if (tipoCalculo_ != tipo) tipoCalculo_ = tipo; }
void TfrmReportDiarioResumidoLineas::SetTextoFechaInicio(const QString& texto)
{
    if (textoFechaInicio_ != texto)
        textoFechaInicio_ = texto;
}
void TfrmReportDiarioResumidoLineas::SetTextoFechaFin(const QString& texto) { if (textoFechaFin_ != texto) textoFechaFin_ = texto; }
void TfrmReportDiarioResumidoLineas::SetOperador(qint16 operador) { if (operador_ != operador) operador_ = operador; }

int TfrmReportDiarioResumidoLineas::Inicializar(HostParams* parametros)
{
    return Guarded(*this, QStringLiteral("Inicializar"), [&] {
        parametros_ = parametros;
        if (!parametros || !dm_)
            throw std::invalid_argument("Faltan los parámetros o el módulo de datos");
        CrearUtilidades(parametros, true);
        dm_->memIvas.close();
        dm_->memIvas.open();
        return CrearEtiquetasIva();
    }, -1);
}

int TfrmReportDiarioResumidoLineas::CrearEtiquetasIva()
{
    return Guarded(*this, QStringLiteral("CrearEtiquetasIva"), [&] {
        iva_->CargarIvas();
        tabla_.Crear(*bndSumario_, int(iva_->Porcentajes().size()), kTablaArriba, kTablaFila, {kTablaBase, kTablaAnchoBase},
                     {kTablaPorcentaje, kTablaAnchoPorcentaje}, {kTablaIva, kTablaAnchoIva});
        bndSumario_->setHeight(kTablaArriba + kTablaFila * tabla_.Filas() + kTablaFila);
        return 0;
    }, -1);
}

void TfrmReportDiarioResumidoLineas::AcumularIva(const TDesgloseIva& importe)
{
    dm_->AcumularIva(importe);
}

QString TfrmReportDiarioResumidoLineas::texto(const char* campoVenta, const char* campoDiario) const
{
    return dm_->TextoDiario(cajaDiario(), campoVenta, campoDiario);
}

double TfrmReportDiarioResumidoLineas::numero(const char* campoVenta, const char* campoDiario) const
{
    return dm_->NumeroDiario(cajaDiario(), campoVenta, campoDiario);
}

// ---- band events ---------------------------------------------------------------------------

void TfrmReportDiarioResumidoLineas::qrpReportBeforePrint()
{
    if (cajaDiario()) {
        report_.setDataSet(dm_->memDiario);
        bndCabGrupoFecha_->setExpression(QStringLiteral("Fecha"));
        bdCabGrupoTipoIva_->setExpression(QStringLiteral("Porcentaje"));
    } else {
        report_.setDataSet(dm_->dstMVenta);
        bndCabGrupoFecha_->setExpression(QStringLiteral("FECHA"));
        bdCabGrupoTipoIva_->setExpression(QStringLiteral("IVA"));
    }
}

void TfrmReportDiarioResumidoLineas::bndCabeceraBeforePrint(bool&)
{
    QString titulo;
    switch (operador_) {
    case 0: titulo = QStringLiteral("Diario de I.V.A igual ") + textoFechaInicio_; break;
    case 1: titulo = QStringLiteral("Diario de I.V.A distinto ") + textoFechaInicio_; break;
    case 2: titulo = QStringLiteral("Diario de I.V.A mayor ") + textoFechaInicio_; break;
    case 3: titulo = QStringLiteral("Diario de I.V.A menor ") + textoFechaInicio_; break;
    case 4: titulo = QStringLiteral("Diario de I.V.A entre ") + textoFechaInicio_ + QStringLiteral(" y ") + textoFechaFin_; break;
    case TCondiciones::Todos: titulo = QStringLiteral("Diario de I.V.A"); break;   // no dates to name
    default: break;
    }
    const TConfiguracion& conf = *parametros_->Configuracion;
    bloque_.Rellenar(titulo, filtro_, conf, lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad));
}

void TfrmReportDiarioResumidoLineas::bndCabGrupoFechaBeforePrint(bool&)
{
    baseGrupo_ = 0;
    ivaGrupo_ = 0;
    fechaGrupo_ = lstUtil_->TextoFecha(texto("FECHA", "Fecha"));
}

void TfrmReportDiarioResumidoLineas::bdCabGrupoTipoIvaBeforePrint(bool&)
{
    baseGrupo_ = 0;
    ivaGrupo_ = 0;
}

void TfrmReportDiarioResumidoLineas::bndDetalleBeforePrint(bool&)
{
    baseGrupo_ += numero("BI_BASE_M1", "BaseImponible");
    ivaGrupo_ += numero("BI_IVA_M1", "Iva");
    porcentajeGrupo_ = numero("IVA", "Porcentaje");
}

void TfrmReportDiarioResumidoLineas::bndPieGrupoTipoIvaBeforePrint(bool&)
{
    qxtFecha->setCaption(fechaGrupo_);
    qxtBImponible->setCaption(lstUtil_->TextoImporte(false, baseGrupo_));
    qxtPorcentaje->setCaption(lstUtil_->TextoPorcentajeIva(porcentajeGrupo_));
    qxtIva->setCaption(lstUtil_->TextoImporte(false, ivaGrupo_));
    AcumularIva({baseGrupo_, porcentajeGrupo_, ivaGrupo_});
    baseTotal_ += baseGrupo_;
    ivaTotal_ += ivaGrupo_;
}

void TfrmReportDiarioResumidoLineas::bndPieGrupoTipoIvaAfterPrint(bool)
{
    // Only a day's first rate line shows the date.
    fechaGrupo_.clear();
}

void TfrmReportDiarioResumidoLineas::bndSumarioBeforePrint(bool&)
{
    qxtTotalBase->setCaption(lstUtil_->TextoImporte(false, baseTotal_));
    qxtTotalIva->setCaption(lstUtil_->TextoImporte(false, ivaTotal_));

    MemTable& ivas = dm_->memIvas;
    tabla_.Rellenar(ivas, *lstUtil_);
    bndSumario_->setHeight(tabla_.Fondo() + kTablaFila);
    // Zeroing in place would move rows of a table sorted by the percentage while walking it;
    // rebuilding the same number of zero rows leaves the same end state.
    const int filas = ivas.recordCount();
    ivas.empty();
    for (int i = 0; i < filas; ++i)
        TCalculoIva::Anadir(ivas, {});
    baseTotal_ = 0;
    ivaTotal_ = 0;
}

void TfrmReportDiarioResumidoLineas::bndPiePaginaBeforePrint(bool&)
{
    switch (operador_) {
    case 0:
    case 2:
    case 3: qxtFechaPie->setCaption(textoFechaInicio_); break;
    case 1: qxtFechaPie->setCaption(QString()); break;
    case 4: qxtFechaPie->setCaption(textoFechaFin_); break;
    default: break;   // other operators keep the footer as it was
    }
}

} // namespace lumetra
