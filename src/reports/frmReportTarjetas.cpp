#include "reports/frmReportTarjetas.h"

#include "cashsheet/dmHojaCaja.h"
#include "common/BloqueEmpresa.h"
#include "common/LstUtil.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/db/DatabaseError.h"
#include "platform/format/FormatFloat.h"

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Hoja De Caja - Report Tarjetas");
const QColor kPlata(192, 192, 192);

constexpr qreal kAncho = 718;   // A4 portrait between the 10 mm margins

// The detail columns and their titles: left edge and width in report units.
struct Columna {
    qreal left;
    qreal width;
    Qt::Alignment align;
};
constexpr Columna kTicket{0, 80, Qt::AlignRight};
constexpr Columna kTalon{96, 100, Qt::AlignRight};
constexpr Columna kTipoOperacion{220, 200, Qt::AlignLeft};
constexpr Columna kImporte{598, 120, Qt::AlignRight};

} // namespace

TfrmReportTarjetas::TfrmReportTarjetas(QObject* propietario)
    : TfrmInformeDe(propietario, QStringLiteral("frmReportTarjetas"), QStringLiteral("qrpReport"), kPantalla)
{
    construir();
}

void TfrmReportTarjetas::construir()
{
    report_.setTitle(QStringLiteral("Informe Por Tarjetas de Crédito"));
    report_.setOrientation(QPageLayout::Portrait);
    report_.setMarginsMm(QMarginsF(10, 10, 10, 10));
    report_.setFont(FuenteInforme("Tahoma", 8));
    report_.setBeforePrint([this] { qrpReportBeforePrint(); });

    // Date header: the shop's identity in a silver frame, on every page of the date.
    bndGrupoFecha_ = &report_.addGroup(QStringLiteral("bndGrupoFecha"), QStringLiteral("FECHA"), 140);
    bndGrupoFecha_->setNewPage(true);
    bndGrupoFecha_->setRepeatOnNewPage(true);
    ReportBand& fecha = bndGrupoFecha_->header();
    fecha.setFont(FuenteInforme("Verdana", 8));
    bloque_ = TBloqueEmpresa::Crear(fecha, QString(), 0, 4, kAncho, TBloqueEmpresa::Orden::NifDireccion);
    fecha.setBeforePrint([this](bool& imprimir) { bndGrupoFechaBeforePrint(imprimir); });

    // Payment-form header: its name and the column titles, once per payment form.
    bndGrupoTarjeta_ = &report_.addGroup(QStringLiteral("bndGrupoTarjeta"), QStringLiteral("ID_FORMA_PAGO"), 50);
    ReportBand& tarjeta = bndGrupoTarjeta_->header();
    ReportLabel* forma = tarjeta.addLabel(QStringLiteral("lblFormaPago"), {0, 6, 110, 18}, QStringLiteral("Forma de Pago:"));
    forma->setFont(FuenteInforme("Verdana", 8, true));
    qxtTarjeta = tarjeta.addDataText(QStringLiteral("qxtTarjeta"), {114, 6, 400, 18}, QStringLiteral("DESCRIPCION"));
    qxtTarjeta->setFont(FuenteInforme("Tahoma", 9));
    const auto titulo = [&](const char* nombre, const Columna& c, const QString& texto) {
        ReportLabel* l = tarjeta.addLabel(QString::fromLatin1(nombre), {c.left, 28, c.width, 16}, texto);
        l->setFont(FuenteInforme("Verdana", 9, true));
        l->setAlignment(c.align | Qt::AlignVCenter);
    };
    titulo("lblTicket", kTicket, QStringLiteral("Ticket"));
    titulo("lblTalon", kTalon, QStringLiteral("Talón"));
    titulo("lblTipoOperacion", kTipoOperacion, QStringLiteral("Tipo Operación"));
    titulo("lblImporte", kImporte, QStringLiteral("Importe"));
    tarjeta.addShape(QStringLiteral("linTitulos"), {0, 46, kAncho, 2}, ReportShape::Shape::HorizontalLine)->setPen(kPlata);
    tarjeta.setBeforePrint([this](bool& imprimir) { bndGrupoTarjetaBeforePrint(imprimir); });

    // Detail: one payment.
    bndDetalle_ = &report_.setDetail(QStringLiteral("bndDetalle"), 18);
    bndDetalle_->setFont(FuenteInforme("Tahoma", 8));
    const auto celda = [this](const char* nombre, const Columna& c) {
        ReportDataText* t = bndDetalle_->addDataText(QString::fromLatin1(nombre), {c.left, 1, c.width, 16}, QString());
        t->setAlignment(c.align | Qt::AlignVCenter);
        return t;
    };
    // The collection's receipt number.
    qxtTicket = celda("qxtTicket", kTicket);
    qxtTalon = celda("qxtTalon", kTalon);
    qxtTipoOperacion = celda("qxtTipoOperacion", kTipoOperacion);
    qxtImporte = celda("qxtImporte", kImporte);
    qxtTalon->setOnPrintNumber([this](double talon) { return lstUtil_->TextoEntero(talon); });
    qxtTicket->setOnPrintNumber([this](double ticket) { return lstUtil_->TextoEntero(ticket); });
    qxtTipoOperacion->setOnPrint([](QString& texto) {
        if (texto == QLatin1String("0"))
            texto = QStringLiteral(" Venta Directa ");
        else if (texto == QLatin1String("1") || texto == QLatin1String("2"))
            texto = QStringLiteral(" Encargo ");
    });
    qxtImporte->setOnPrintNumber([this](double importe) { return lstUtil_->TextoImporte(false, importe); });
    bndDetalle_->setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });

    // Payment-form footer: the form's total.
    bndPieTarjeta_ = &bndGrupoTarjeta_->addFooter(QStringLiteral("bndPieTarjeta"), 30);
    bndPieTarjeta_->addShape(QStringLiteral("linTotal"), {kImporte.left, 1, kImporte.width, 2}, ReportShape::Shape::HorizontalLine)
        ->setPen(kPlata);
    ReportLabel* total = bndPieTarjeta_->addLabel(QStringLiteral("lblTotal"), {400, 6, 190, 18}, QStringLiteral("Total....................."));
    total->setFont(FuenteInforme("Verdana", 9, true));
    qxtTotal = bndPieTarjeta_->addLabel(QStringLiteral("qxtTotal"), {kImporte.left, 6, kImporte.width, 18});
    qxtTotal->setFont(FuenteInforme("Tahoma", 8));
    qxtTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bndPieTarjeta_->setBeforePrint([this](bool& imprimir) { bndPieTarjetaBeforePrint(imprimir); });
    bndPieTarjeta_->setAfterPrint([this](bool impreso) { bndPieTarjetaAfterPrint(impreso); });

    // Page footer: page number and the date of the page.
    PageFooterBand1_ = &report_.setPageFooter(QStringLiteral("PageFooterBand1"), 28);
    PageFooterBand1_->addShape(QStringLiteral("linPie"), {0, 2, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    ReportSysData* pagina =
        PageFooterBand1_->addSysData(QStringLiteral("qrsPagina"), {kAncho / 2 - 30, 8, 60, 16}, ReportSysData::Data::PageNumber);
    pagina->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    qxtFechaPie = PageFooterBand1_->addLabel(QStringLiteral("qxtFechaPie"), {kAncho - 120, 8, 120, 16});
    qxtFechaPie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PageFooterBand1_->setBeforePrint([this](bool& imprimir) { PageFooterBand1BeforePrint(imprimir); });
}

int TfrmReportTarjetas::Inicializar(HostParams* parametros)
{
    // Silent, but for a failing database: the caller only learns that the form cannot print, and
    // a connection that has gone is said once, here.
    try {
        CrearUtilidades(parametros, false);
        return 0;
    } catch (const DatabaseError& e) {
        MostrarError(QStringLiteral("Inicializar"), e.message());
        return -1;
    } catch (...) {
        return -1;
    }
}

// ---- band events ---------------------------------------------------------------------------

void TfrmReportTarjetas::qrpReportBeforePrint()
{
    report_.setDataSet(dm_->dstTarjetas);
    bndGrupoFecha_->setExpression(QStringLiteral("FECHA"));
    bndGrupoTarjeta_->setExpression(QStringLiteral("ID_FORMA_PAGO"));
    qxtTarjeta->setField(QStringLiteral("DESCRIPCION"));
    qxtTicket->setField(QStringLiteral("TICKET"));
    qxtTalon->setField(QStringLiteral("N_TALON"));
    qxtTipoOperacion->setField(QStringLiteral("TIPO_OPERACION"));
    qxtImporte->setField(QStringLiteral("IMPORTE_M1"));
    totalTarjeta_ = 0;
    fechaGrupo_.clear();
}

void TfrmReportTarjetas::bndGrupoFechaBeforePrint(bool&)
{
    const TConfiguracion& conf = *parametros_->Configuracion;
    bloque_.Rellenar(QStringLiteral("Informe Por Tarjetas del día ") + dm_->dstTarjetas.fieldAsText(QStringLiteral("FECHA")), filtro_,
                     conf, lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad));
}

void TfrmReportTarjetas::bndGrupoTarjetaBeforePrint(bool&)
{
    fechaGrupo_ = dm_->dstTarjetas.fieldAsText(QStringLiteral("FECHA"));
}

void TfrmReportTarjetas::bndDetalleBeforePrint(bool&)
{
    totalTarjeta_ += dm_->dstTarjetas.fieldAsFloat(QStringLiteral("IMPORTE_M1"));
}

void TfrmReportTarjetas::bndPieTarjetaBeforePrint(bool&)
{
    qxtTotal->setCaption(lstUtil_->TextoImporte(false, totalTarjeta_));
}

void TfrmReportTarjetas::bndPieTarjetaAfterPrint(bool)
{
    totalTarjeta_ = 0;
}

void TfrmReportTarjetas::PageFooterBand1BeforePrint(bool&)
{
    qxtFechaPie->setCaption(fechaGrupo_);
}

} // namespace lumetra
