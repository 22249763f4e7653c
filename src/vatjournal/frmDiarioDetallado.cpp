#include "vatjournal/frmDiarioDetallado.h"

#include "common/BloqueEmpresa.h"
#include "common/Guarded.h"
#include "common/Iva.h"
#include "common/TablaIvas.h"
#include "common/LstUtil.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/format/FormatFloat.h"
#include "vatjournal/dmDiarioIva.h"

#include <algorithm>
#include <stdexcept>

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Diario de Iva - Diario Detallado");
constexpr qreal kAncho = 718;   // A4 portrait between the 10 mm margins

struct Columna {
    qreal left;
    qreal width;
    Qt::Alignment align;
};
// Wide enough for the bold title "Nº Fac. Simple" and a series with a nine-digit number
// ("A/130.000.901").
constexpr Columna kFacSimple{0, 96, Qt::AlignRight};
constexpr Columna kTalon{100, 46, Qt::AlignRight};
constexpr Columna kReferencia{152, 74, Qt::AlignLeft};
constexpr Columna kDescripcion{230, 246, Qt::AlignLeft};
constexpr Columna kBase{480, 90, Qt::AlignRight};
constexpr Columna kPorcentaje{574, 54, Qt::AlignRight};
constexpr Columna kIvaCol{632, 86, Qt::AlignRight};

// The run-time VAT table of the day footer.
constexpr qreal kTablaBase = 250, kTablaPorcentaje = 338, kTablaIva = 400, kTablaArriba = 78, kTablaFila = 20;

} // namespace

TfrmDiarioDetallado::TfrmDiarioDetallado(QObject* propietario)
    : TfrmInformeDe(propietario, QStringLiteral("frmDiarioDetallado"), QStringLiteral("qrpReportDetallado"), kPantalla)
{
    construir();
}

void TfrmDiarioDetallado::titulosColumnas(ReportBand& band, qreal top, const QString& sufijo)
{
    const auto titulo = [&](const QString& nombre, const Columna& c, const QString& texto) {
        ReportLabel* l = band.addLabel(nombre, {c.left, top, c.width, 16}, texto);
        l->setFont(FuenteInforme("Verdana", 8, true));
        l->setAlignment(c.align | Qt::AlignVCenter);
    };
    const bool grupo = sufijo == QLatin1String("Grupo");
    titulo(grupo ? QStringLiteral("qxtTituloFacSimpleGrupo") : QStringLiteral("lblFacSimplePagina"), kFacSimple,
           QStringLiteral("Nº Fac. Simple"));
    titulo(QStringLiteral("qxtTTalon") + sufijo, kTalon, QStringLiteral("Talón"));
    titulo(QStringLiteral("qxtTReferencia") + sufijo, kReferencia, QStringLiteral("Referencia"));
    titulo(QStringLiteral("qxtTDescripcion") + sufijo, kDescripcion, QStringLiteral("Descripción"));
    titulo(QStringLiteral("qxtTBase") + sufijo, kBase, QStringLiteral("B.Imponible"));
    titulo(QStringLiteral("qxtTPorcentaje") + sufijo, kPorcentaje, QStringLiteral("%"));
    titulo(QStringLiteral("qxtTIva") + sufijo, kIvaCol, QStringLiteral("I.V.A"));
}

void TfrmDiarioDetallado::construir()
{
    report_.setTitle(QStringLiteral("Diario de I.V.A"));
    report_.setOrientation(QPageLayout::Portrait);
    report_.setMarginsMm(QMarginsF(10, 10, 10, 10));
    report_.setFont(FuenteInforme("Tahoma", 8));
    report_.setBeforePrint([this] { qrpReportDetalladoBeforePrint(); });

    bndCabecera_ = &report_.setPageHeader(QStringLiteral("bndCabecera"), 164);
    // The company block, on the page header and on the day header.
    bloquePagina_ = TBloqueEmpresa::Crear(*bndCabecera_, QStringLiteral("Pagina"), 0, 4, kAncho, TBloqueEmpresa::Orden::DireccionNif);
    titulosColumnas(*bndCabecera_, 140, QStringLiteral("Pagina"));
    bndCabecera_->addShape(QStringLiteral("linCabecera"), {0, 160, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    bndCabecera_->setBeforePrint([this](bool& imprimir) { bndCabeceraBeforePrint(imprimir); });

    bndCabeceraGrupo_ = &report_.addGroup(QStringLiteral("bndCabeceraGrupo"), QStringLiteral("FECHA"), 164);
    bndCabeceraGrupo_->setNewPage(true);
    ReportBand& grupo = bndCabeceraGrupo_->header();
    bloque_ = TBloqueEmpresa::Crear(grupo, QString(), 0, 4, kAncho, TBloqueEmpresa::Orden::DireccionNif);
    titulosColumnas(grupo, 140, QStringLiteral("Grupo"));
    linCabeceraGrupo_ = grupo.addShape(QStringLiteral("linCabeceraGrupo"), {0, 160, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    grupo.setBeforePrint([this](bool& imprimir) { bndCabeceraGrupoBeforePrint(imprimir); });

    bndDetalle_ = &report_.setDetail(QStringLiteral("bndDetalle"), 18);
    const auto geometria = [](const Columna& c) { return QRectF(c.left, 1, c.width, 16); };
    qxtFacSimple = bndDetalle_->addLabel(QStringLiteral("qxtFacSimple"), geometria(kFacSimple));
    qxtFacSimple->setAlignment(kFacSimple.align | Qt::AlignVCenter);
    const auto celda = [&](const char* nombre, const Columna& c) {
        ReportDataText* t = bndDetalle_->addDataText(QString::fromLatin1(nombre), geometria(c), QString());
        t->setAlignment(c.align | Qt::AlignVCenter);
        return t;
    };
    qxtTalon = celda("qxtTalon", kTalon);
    qxtReferencia = celda("qxtReferencia", kReferencia);
    qxtDescripcion = bndDetalle_->addLabel(QStringLiteral("qxtDescripcion"), geometria(kDescripcion));
    qxtBaseImponible = celda("qxtBaseImponible", kBase);
    qxtPorcentaje = celda("qxtPorcentaje", kPorcentaje);
    qxtIva = celda("qxtIva", kIvaCol);
    qxtTalon->setOnPrintNumber([this](double talon) { return lstUtil_->TextoEntero(talon); });
    qxtReferencia->setOnPrint([](QString& t) {
        if (t == QLatin1String("Sin"))
            t.clear();
    });
    qxtBaseImponible->setOnPrintNumber([this](double base) { return lstUtil_->TextoImporte(false, base); });
    qxtPorcentaje->setOnPrintNumber([this](double porcentaje) { return lstUtil_->TextoPorcentaje(porcentaje); });
    qxtIva->setOnPrintNumber([this](double iva) { return lstUtil_->TextoImporte(false, iva); });
    bndDetalle_->setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });

    bndPieGrupo_ = &bndCabeceraGrupo_->addFooter(QStringLiteral("bndPieGrupo"), kTablaArriba + kTablaFila);
    ReportBand& pie = *bndPieGrupo_;
    qxtLineaTotal = pie.addShape(QStringLiteral("qxtLineaTotal"), {kBase.left, 2, kAncho - kBase.left, 2}, ReportShape::Shape::HorizontalLine);
    qxtTotales = pie.addLabel(QStringLiteral("qxtTotales"), {330, 8, 140, 16}, QStringLiteral("Totales......."));
    qxtTotales->setFont(FuenteInforme("Verdana", 8, true));
    qxtTotalBase = pie.addLabel(QStringLiteral("qxtTotalBase"), {kBase.left, 8, kBase.width, 16});
    qxtTotalBase->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    qxtTotalIva = pie.addLabel(QStringLiteral("qxtTotalIva"), {kIvaCol.left, 8, kIvaCol.width, 16});
    qxtTotalIva->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto tituloTabla = [&](const char* nombre, qreal left, qreal width, const QString& texto) {
        ReportLabel* l = pie.addLabel(QString::fromLatin1(nombre), {left, 54, width, 16}, texto);
        l->setFont(FuenteInforme("Verdana", 8, true));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    lblTablaBase = tituloTabla("lblTablaBase", kTablaBase, kTablaPorcentaje - kTablaBase - 4, QStringLiteral("B. Imponible"));
    lblTablaPorcentaje = tituloTabla("lblTablaPorcentaje", kTablaPorcentaje, kTablaIva - kTablaPorcentaje - 4 + 20, QStringLiteral("% I.V.A"));
    lblTablaIva = tituloTabla("lblTablaIva", kTablaIva + 20, 70, QStringLiteral("I.V.A"));
    qxtLineaIva = pie.addShape(QStringLiteral("qxtLineaIva"), {kTablaBase, 72, kTablaIva + 90 - kTablaBase, 2}, ReportShape::Shape::HorizontalLine);
    pie.setBeforePrint([this](bool& imprimir) { bndPieGrupoBeforePrint(imprimir); });
    pie.setAfterPrint([this](bool impreso) { bndPieGrupoAfterPrint(impreso); });

    bndPiePagina_ = &report_.setPageFooter(QStringLiteral("bndPiePagina"), 28);
    bndPiePagina_->addShape(QStringLiteral("linPie"), {0, 2, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    ReportSysData* pagina =
        bndPiePagina_->addSysData(QStringLiteral("qrsPagina"), {kAncho / 2 - 30, 8, 60, 16}, ReportSysData::Data::PageNumber);
    pagina->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    qxtFechaPie = bndPiePagina_->addLabel(QStringLiteral("qxtFechaPie"), {kAncho - 200, 8, 200, 16});
    qxtFechaPie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bndPiePagina_->setBeforePrint([this](bool& imprimir) { bndPiePaginaBeforePrint(imprimir); });
}

void TfrmDiarioDetallado::SetTipoListado(qint16 tipo) { if (tipoListado_ != tipo) tipoListado_ = tipo; }
void TfrmDiarioDetallado::SetTipoCalculo(qint16 tipo) { if (tipoCalculo_ != tipo) tipoCalculo_ = tipo; }
void TfrmDiarioDetallado::SetSustituirFamilia(bool valor) { if (sustituirFamilia_ != valor) sustituirFamilia_ = valor; }

int TfrmDiarioDetallado::Inicializar(HostParams* parametros)
{
    return Guarded(*this, QStringLiteral("Inicializar"), [&] {
        parametros_ = parametros;
        if (!parametros || !dm_)
            throw std::invalid_argument("Faltan los parámetros o el módulo de datos");
        CrearUtilidades(parametros, true);
        dm_->memIvas.close();
        dm_->memIvas.open();
        baseDia_ = 0;
        ivaDia_ = 0;
        return CrearEtiquetasIva();
    }, -1);
}

int TfrmDiarioDetallado::CrearEtiquetasIva()
{
    return Guarded(*this, QStringLiteral("CrearEtiquetasIva"), [&] {
        iva_->CargarIvas();
        tabla_.Crear(*bndPieGrupo_, int(iva_->Porcentajes().size()), kTablaArriba, kTablaFila,
                     {kTablaBase, kTablaPorcentaje - kTablaBase - 4}, {kTablaPorcentaje, kTablaIva - kTablaPorcentaje + 16},
                     {kTablaIva + 20, 70});
        bndPieGrupo_->setHeight(kTablaArriba + kTablaFila * tabla_.Filas() + kTablaFila);
        return 0;
    }, -1);
}

void TfrmDiarioDetallado::AcumularIva(const TDesgloseIva& importe)
{
    dm_->AcumularIva(importe);
}

QString TfrmDiarioDetallado::texto(const char* campoVenta, const char* campoDiario) const
{
    return dm_->TextoDiario(cajaDiario(), campoVenta, campoDiario);
}

double TfrmDiarioDetallado::numero(const char* campoVenta, const char* campoDiario) const
{
    return dm_->NumeroDiario(cajaDiario(), campoVenta, campoDiario);
}

// ---- band events ---------------------------------------------------------------------------

void TfrmDiarioDetallado::qrpReportDetalladoBeforePrint()
{
    if (cajaDiario()) {
        report_.setDataSet(dm_->memDiario);
        bndCabeceraGrupo_->setExpression(QStringLiteral("Fecha"));
        qxtTalon->setField(QStringLiteral("Talon"));
        qxtReferencia->setField(QStringLiteral("Referencia"));
        qxtBaseImponible->setField(QStringLiteral("BaseImponible"));
        qxtPorcentaje->setField(QStringLiteral("Porcentaje"));
        qxtIva->setField(QStringLiteral("Iva"));
    } else {
        report_.setDataSet(dm_->dstMVenta);
        bndCabeceraGrupo_->setExpression(QStringLiteral("FECHA"));
        qxtTalon->setField(QStringLiteral("N_TALON"));
        qxtReferencia->setField(QStringLiteral("REFERENCIA"));
        qxtBaseImponible->setField(QStringLiteral("BI_BASE_M1"));
        qxtPorcentaje->setField(QStringLiteral("IVA"));
        qxtIva->setField(QStringLiteral("BI_IVA_M1"));
    }
    fechaPie_.clear();
    // The first page opens with the first day's header, which holds the block: no page header.
    pieImpreso_ = true;
    baseDia_ = 0;
    ivaDia_ = 0;
}

void TfrmDiarioDetallado::bndCabeceraBeforePrint(bool& imprimir)
{
    // A new day's page shows the day header's own block instead.
    if (pieImpreso_) {
        imprimir = false;
        pieImpreso_ = false;
    }
}

void TfrmDiarioDetallado::bndCabeceraGrupoBeforePrint(bool&)
{
    const TConfiguracion& conf = *parametros_->Configuracion;
    const QString titulo = QStringLiteral("Diario de I.V.A del día ") + texto("FECHA", "Fecha");
    const QString localidad = lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad);
    bloque_.Rellenar(titulo, filtro_, conf, localidad);
    bloquePagina_.Rellenar(titulo, filtro_, conf, localidad);
    // Every day starts its page: the pages from here to the day's footer are that day's.
    fechaPie_ = texto("FECHA", "Fecha");

    const bool columnas = tipoListado_ != 2;
    ReportBand& grupo = bndCabeceraGrupo_->header();
    for (const char* nombre : {"qxtTituloFacSimpleGrupo", "qxtTTalonGrupo", "qxtTReferenciaGrupo", "qxtTDescripcionGrupo",
                               "qxtTBaseGrupo", "qxtTPorcentajeGrupo", "qxtTIvaGrupo"})
        grupo.find(QString::fromLatin1(nombre))->setEnabled(columnas);
    linCabeceraGrupo_->setEnabled(columnas);
}

void TfrmDiarioDetallado::bndDetalleBeforePrint(bool& imprimir)
{
    const QString referencia = texto("REFERENCIA", "Referencia");
    const QString descripcion = texto("DESCRIPCION", "Descripcion");
    const double base = numero("BI_BASE_M1", "BaseImponible");
    const double porcentaje = numero("IVA", "Porcentaje");
    const double iva = numero("BI_IVA_M1", "Iva");
    const double facSimple = numero("FAC_SIMPLE", "FacSimple");
    const QString serie = texto("FS_SERIE", "FacSimpleSerie");

    if (cajaDiario() && referencia == QLatin1String(" "))
        imprimir = false;
    baseDia_ += base;
    ivaDia_ += iva;
    if (tipoListado_ != 2) {
        qxtDescripcion->setCaption(sustituirFamilia_ ? lstUtil_->FamiliaArticulo(referencia, descripcion) : descripcion);
        qxtFacSimple->setCaption(
            lstUtil_->TextoNumeroDocumento(serie, parametros_->Configuracion->SeparadorDocumento, facSimple));
    } else {
        imprimir = false;
    }
    AcumularIva({base, porcentaje, iva});
}

void TfrmDiarioDetallado::bndPieGrupoBeforePrint(bool&)
{
    const bool detallado = tipoListado_ == 1;
    if (detallado) {
        qxtTotalBase->setCaption(lstUtil_->TextoImporte(false, baseDia_));
        qxtTotalIva->setCaption(lstUtil_->TextoImporte(false, ivaDia_));
    }
    for (ReportElement* e : {static_cast<ReportElement*>(qxtTotales), static_cast<ReportElement*>(qxtTotalBase),
                             static_cast<ReportElement*>(qxtTotalIva), static_cast<ReportElement*>(qxtLineaTotal)})
        e->setEnabled(detallado);
    for (ReportElement* e : {static_cast<ReportElement*>(lblTablaBase), static_cast<ReportElement*>(lblTablaPorcentaje),
                             static_cast<ReportElement*>(lblTablaIva), static_cast<ReportElement*>(qxtLineaIva)})
        e->setEnabled(!detallado);

    tabla_.Rellenar(dm_->memIvas, *lstUtil_);
    bndPieGrupo_->setHeight(tabla_.Fondo() + kTablaFila);
}

void TfrmDiarioDetallado::bndPieGrupoAfterPrint(bool)
{
    baseDia_ = 0;
    ivaDia_ = 0;
    tabla_.Vaciar();
    dm_->memIvas.close();
    dm_->memIvas.open();
    pieImpreso_ = true;
}

void TfrmDiarioDetallado::bndPiePaginaBeforePrint(bool&)
{
    qxtFechaPie->setCaption(fechaPie_);
}

} // namespace lumetra
