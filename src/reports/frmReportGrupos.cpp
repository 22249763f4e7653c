#include "reports/frmReportGrupos.h"

#include "cashsheet/dmHojaCaja.h"
#include "common/BloqueEmpresa.h"
#include "common/Guarded.h"
#include "common/LstUtil.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/db/DatabaseError.h"
#include "platform/format/FormatFloat.h"

#include <cmath>

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Hoja De Caja - Report Grupos");
const QString kTitulo = QStringLiteral("Informe Por Grupos del día ");
const QString kOperRef = QStringLiteral("Oper. / Ref.");

constexpr qreal kAncho = 1046;          // A4 landscape between the 10 mm margins
constexpr qreal kAnchoPrimera = 116;    // the "Oper. / Ref." column
constexpr qreal kInicioGrupos = 120;
constexpr qreal kAnchoGrupo = 66;

} // namespace

TfrmReportGrupos::TfrmReportGrupos(QObject* propietario)
    : TfrmInformeDe(propietario, QStringLiteral("frmReportGrupos"), QStringLiteral("qrpReport"), kPantalla)
{
    construir();
}

// The label of column k (0-based) of a band, right-aligned in the column's width.
ReportLabel* TfrmReportGrupos::etiquetaColumna(ReportBand& band, const QString& nombre, int k, qreal top)
{
    ReportLabel* l = band.addLabel(nombre + QString::number(k + 1), {kInicioGrupos + k * kAnchoGrupo, top, kAnchoGrupo - 2, 16});
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

void TfrmReportGrupos::construir()
{
    report_.setTitle(QStringLiteral("Informe Por Grupos"));
    report_.setOrientation(QPageLayout::Landscape);
    report_.setMarginsMm(QMarginsF(10, 10, 10, 10));
    report_.setFont(FuenteInforme("Arial", 8));
    report_.setBeforePrint([this] { qrpReportBeforePrint(); });

    // Page header: a copy of the date header for the pages a date continues on.
    bndCabecera_ = &report_.setPageHeader(QStringLiteral("bndCabecera"), 146);
    bloqueCabecera_ = TBloqueEmpresa::Crear(*bndCabecera_, QStringLiteral("Cabecera"), 0, -4, kAncho,
                                            TBloqueEmpresa::Orden::NifDireccion, false);
    bndCabecera_->addLabel(QStringLiteral("lblOperRefCabecera"), {0, 122, kAnchoPrimera, 16}, kOperRef)->setFont(FuenteInforme("Arial", 8, true));
    for (int k = 0; k < ColumnasGrupos; ++k) {
        qxtCabeceraGrupo[size_t(k)] = etiquetaColumna(*bndCabecera_, QStringLiteral("qxtCabeceraGrupo"), k, 122);
        qxtCabeceraGrupo[size_t(k)]->setFont(FuenteInforme("Arial", 8, true));
    }
    bndCabecera_->addShape(QStringLiteral("linCabecera"), {0, 142, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    bndCabecera_->setBeforePrint([this](bool& imprimir) { bndCabeceraBeforePrint(imprimir); });

    // Date header: the shop's identity in a silver frame and the group headings.
    bndGrupoFecha_ = &report_.addGroup(QStringLiteral("bndGrupoFecha"), QStringLiteral("FECHA"), 162);
    bndGrupoFecha_->setNewPage(true);
    ReportBand& fecha = bndGrupoFecha_->header();
    bloque_ = TBloqueEmpresa::Crear(fecha, QString(), 0, 4, kAncho, TBloqueEmpresa::Orden::NifDireccion);
    fecha.addLabel(QStringLiteral("lblOperRef"), {0, 138, kAnchoPrimera, 16}, kOperRef)->setFont(FuenteInforme("Arial", 8, true));
    for (int k = 0; k < ColumnasGrupos; ++k) {
        qxtGrupo[size_t(k)] = etiquetaColumna(fecha, QStringLiteral("qxtGrupo"), k, 138);
        qxtGrupo[size_t(k)]->setFont(FuenteInforme("Arial", 8, true));
    }
    fecha.addShape(QStringLiteral("linGrupoFecha"), {0, 158, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    fecha.setBeforePrint([this](bool& imprimir) { bndGrupoFechaBeforePrint(imprimir); });
    fecha.setAfterPrint([this](bool impreso) { bndGrupoFechaAfterPrint(impreso); });

    // Sale header, repeated at the top of a page its lines continue on.
    bndGrupoOperacion_ = &report_.addGroup(QStringLiteral("bndGrupoOperacion"), QStringLiteral("ID_MVENTA"), 18);
    bndGrupoOperacion_->setRepeatOnNewPage(true);
    ReportBand& operacion = bndGrupoOperacion_->header();
    qxtOperacion = operacion.addLabel(QStringLiteral("qxtOperacion"), {0, 1, 400, 16});
    qxtOperacion->setFont(FuenteInforme("Tahoma", 8, true));
    operacion.setBeforePrint([this](bool& imprimir) { bndGrupoOperacionBeforePrint(imprimir); });

    // Detail: one sale line, its amount under its group's column.
    bndDetalle_ = &report_.setDetail(QStringLiteral("bndDetalle"), 16);
    bndDetalle_->setFont(FuenteInforme("Tahoma", 8));
    qxtReferencia = bndDetalle_->addDataText(QStringLiteral("qxtReferencia"), {8, 0, kAnchoPrimera - 8, 16}, QStringLiteral("Referencia"));
    for (int k = 0; k < ColumnasGrupos; ++k)
        qxtImpGrupo[size_t(k)] = etiquetaColumna(*bndDetalle_, QStringLiteral("qxtImpGrupo"), k, 0);
    bndDetalle_->setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });

    // Date footer: four rows of figures per group.
    bndPieGrupo_ = &bndGrupoFecha_->addFooter(QStringLiteral("bndPieGrupo"), 82);
    bndPieGrupo_->addShape(QStringLiteral("linPieGrupo"), {0, 1, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    const struct {
        const char* titulo;
        const char* nombre;
        const char* texto;
        Columnas* etiquetas;
    } filas[] = {
        {"lblTotal", "qxtTotalGrupo", "Total...........................", &qxtTotalGrupo},
        {"lblTotalUnds", "qxtUndGrupo", "Total Unds.........", &qxtUndGrupo},
        {"lblMedia", "qxtMediaGrupo", "Media.....................", &qxtMediaGrupo},
        {"lblTotalDtos", "qxtDtoGrupo", "Total Dtos.........", &qxtDtoGrupo},
    };
    qreal top = 6;
    for (const auto& fila : filas) {
        bndPieGrupo_->addLabel(QString::fromLatin1(fila.titulo), {0, top, kAnchoPrimera, 16}, QString::fromUtf8(fila.texto))
            ->setFont(FuenteInforme("Arial", 8, true));
        for (int k = 0; k < ColumnasGrupos; ++k)
            (*fila.etiquetas)[size_t(k)] = etiquetaColumna(*bndPieGrupo_, QString::fromLatin1(fila.nombre), k, top);
        top += 18;
    }
    bndPieGrupo_->setBeforePrint([this](bool& imprimir) { bndPieGrupoBeforePrint(imprimir); });
    bndPieGrupo_->setAfterPrint([this](bool impreso) { bndPieGrupoAfterPrint(impreso); });

    // Page footer: page number and the date of the last line printed.
    bndPie_ = &report_.setPageFooter(QStringLiteral("bndPie"), 28);
    bndPie_->addShape(QStringLiteral("linPie"), {0, 2, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    ReportSysData* pagina = bndPie_->addSysData(QStringLiteral("qrsPagina"), {kAncho / 2 - 30, 8, 60, 16}, ReportSysData::Data::PageNumber);
    pagina->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    qxtFechaPie = bndPie_->addLabel(QStringLiteral("qxtFechaPie"), {kAncho - 120, 8, 120, 16});
    qxtFechaPie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bndPie_->setBeforePrint([this](bool& imprimir) { bndPieBeforePrint(imprimir); });
}

int TfrmReportGrupos::Inicializar(HostParams* parametros)
{
    // Silent, but for a failing database: the caller only learns that the form cannot print, and
    // a connection that has gone is said once, here.
    try {
        parametros_ = parametros;
        LiberarUtilidades();
        if (!dm_)
            return -1;
        CrearUtilidades(parametros, false);
        dm_->memGrupos.first();
        return 0;
    } catch (const DatabaseError& e) {
        MostrarError(QStringLiteral("Inicializar"), e.message());
        return -1;
    } catch (...) {
        return -1;
    }
}

QString TfrmReportGrupos::fechaActual() const
{
    return dm_->dstMVenta.fieldAsText(QStringLiteral("FECHA"));
}

void TfrmReportGrupos::limpiarAcumuladores()
{
    unidadesGrupo_.fill(0);
    importeGrupo_.fill(0);
    descuentoGrupo_.fill(0);
}

// ---- band events ---------------------------------------------------------------------------

void TfrmReportGrupos::qrpReportBeforePrint()
{
    report_.setDataSet(dm_->dstMVenta);
    qxtReferencia->setField(QStringLiteral("Referencia"));
    bndGrupoFecha_->setExpression(QStringLiteral("FECHA"));
    bndGrupoOperacion_->setExpression(QStringLiteral("ID_MVENTA"));
    limpiarAcumuladores();
    fechaCabecera_.clear();
    fechaPie_.clear();
    // A second layout of the same form starts from the same columns.
    dm_->memGrupos.first();
}

void TfrmReportGrupos::bndCabeceraBeforePrint(bool& imprimir)
{
    // Every date starts a page, which its date header heads: a page begun while the rows are
    // still on the date of the last date header continues that date. The first page is begun
    // before any row is read.
    if (fechaCabecera_.isEmpty() || fechaActual() != fechaCabecera_) {
        imprimir = false;
        return;
    }
    GuardedVoid(*this, QStringLiteral("bndCabecera ->BeforePrint"), [&] {
        const TConfiguracion& conf = *parametros_->Configuracion;
        bloqueCabecera_.Rellenar(kTitulo + fechaActual(), filtro_, conf, lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad));
    });
}

void TfrmReportGrupos::bndGrupoFechaBeforePrint(bool&)
{
    fechaCabecera_ = fechaActual();
    const TConfiguracion& conf = *parametros_->Configuracion;
    bloque_.Rellenar(kTitulo + fechaCabecera_, filtro_, conf, lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad));

    // Column assignment, in column order: the next code of memGrupos, empty once it runs out.
    MemTable& grupos = dm_->memGrupos;
    for (int k = 0; k < ColumnasGrupos; ++k) {
        QString codigo;
        if (!grupos.eof()) {
            codigo = grupos.fieldAsText(QStringLiteral("Grupo"));
            grupos.next();
        }
        qxtGrupo[size_t(k)]->setCaption(codigo);
        qxtCabeceraGrupo[size_t(k)]->setCaption(codigo);
    }
}

void TfrmReportGrupos::bndGrupoFechaAfterPrint(bool)
{
    // Every date gets the same columns.
    dm_->memGrupos.first();
}

void TfrmReportGrupos::bndGrupoOperacionBeforePrint(bool&)
{
    const Dataset& ds = dm_->dstMVenta;
    const int tipo = ds.fieldAsInteger(QStringLiteral("TIPO_OPERACION"));
    const QString prefijo = tipo == 1 || tipo == 2 ? QStringLiteral("Encargo Nº") : QStringLiteral("Venta Nº ");
    qxtOperacion->setCaption(prefijo + FloatToStr(ds.fieldAsFloat(QStringLiteral("N_TALON"))));
}

void TfrmReportGrupos::ImprimirColumna(int k, const QString& codigo)
{
    ReportLabel* celda = qxtImpGrupo[size_t(k)];
    try {
        const QString cabecera = qxtGrupo[size_t(k)]->caption();
        if (cabecera.isEmpty() || codigo != cabecera) {
            celda->setCaption(QString());
            return;
        }
        const Dataset& ds = dm_->dstMVenta;
        // Read everything first, so a failed read adds nothing to the totals.
        const double importe = ds.fieldAsFloat(QStringLiteral("IMPORTE"));
        const double unidades = ds.fieldAsFloat(QStringLiteral("UNIDADES"));
        const double precio = ds.fieldAsFloat(QStringLiteral("PRECIO_UNITARIO_M1"));
        celda->setCaption(lstUtil_->TextoImporte(false, importe));
        unidadesGrupo_[size_t(k)] += unidades;
        importeGrupo_[size_t(k)] += importe;
        descuentoGrupo_[size_t(k)] += unidades * precio - importe;
    } catch (...) {
        celda->setCaption(lstUtil_->TextoImporte(false, 0));
    }
}

void TfrmReportGrupos::bndDetalleBeforePrint(bool&)
{
    const QString codigo = dm_->dstMVenta.fieldAsText(QStringLiteral("CODIGO"));
    for (int k = 0; k < ColumnasGrupos; ++k)
        ImprimirColumna(k, codigo);
    fechaPie_ = fechaActual();
}

void TfrmReportGrupos::bndPieGrupoBeforePrint(bool&)
{
    for (size_t k = 0; k < size_t(ColumnasGrupos); ++k) {
        if (qxtGrupo[k]->caption().isEmpty()) {
            for (Columnas* fila : {&qxtTotalGrupo, &qxtUndGrupo, &qxtMediaGrupo, &qxtDtoGrupo})
                (*fila)[k]->setCaption(QString());
            continue;
        }
        const double importe = importeGrupo_[k];
        const double unidades = unidadesGrupo_[k];
        qxtTotalGrupo[k]->setCaption(lstUtil_->TextoImporte(false, importe));
        qxtUndGrupo[k]->setCaption(lstUtil_->TextoDecimal(unidades));
        // Units that add up to nothing but float dust (0,10 + 0,20 - 0,30) are no units.
        const bool sinUnidades = std::abs(unidades) < 0.0005;
        qxtMediaGrupo[k]->setCaption(lstUtil_->TextoImporte(false, sinUnidades ? 0 : importe / unidades));
        qxtDtoGrupo[k]->setCaption(lstUtil_->TextoImporte(false, descuentoGrupo_[k]));
    }
}

void TfrmReportGrupos::bndPieGrupoAfterPrint(bool)
{
    limpiarAcumuladores();
}

void TfrmReportGrupos::bndPieBeforePrint(bool&)
{
    qxtFechaPie->setCaption(fechaPie_);
}

} // namespace lumetra
