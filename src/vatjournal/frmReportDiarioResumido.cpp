#include "vatjournal/frmReportDiarioResumido.h"

#include "common/BloqueEmpresa.h"
#include "common/CalculoIva.h"
#include "common/Guarded.h"
#include "common/LstUtil.h"
#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/format/FormatFloat.h"
#include "vatjournal/dmDiarioIva.h"

#include <stdexcept>

namespace lumetra {

namespace {

const QString kPantalla = QStringLiteral("Diario de Iva - Diario Resumido");
constexpr qreal kAncho = 718;   // A4 portrait between the 10 mm margins

// Left edges of the three columns; each is 150 wide, right-aligned.
constexpr qreal kBase = 170;
constexpr qreal kPorcentaje = 340;
constexpr qreal kImporteIva = 510;
constexpr qreal kColumna = 150;

} // namespace

TfrmReportDiarioResumido::TfrmReportDiarioResumido(QObject* propietario)
    : TfrmInformeDe(propietario, QStringLiteral("frmReportDiarioResumido"), QStringLiteral("qrpReportResumido"), kPantalla)
{
    construir();
}

void TfrmReportDiarioResumido::construir()
{
    report_.setTitle(QStringLiteral("Diario de I.V.A"));
    report_.setOrientation(QPageLayout::Portrait);
    report_.setMarginsMm(QMarginsF(10, 10, 10, 10));
    report_.setFont(FuenteInforme("Tahoma", 8));
    report_.setBeforePrint([this] { qrpReportResumidoBeforePrint(); });

    bndCabecera_ = &report_.setPageHeader(QStringLiteral("bndCabecera"), 172);
    ReportBand& cab = *bndCabecera_;
    bloque_ = TBloqueEmpresa::Crear(cab, QString(), 0, 4, kAncho, TBloqueEmpresa::Orden::DireccionNif);
    const auto titulo = [&](const char* nombre, qreal left, const QString& texto) {
        ReportLabel* l = cab.addLabel(QString::fromLatin1(nombre), {left, 144, kColumna, 16}, texto);
        l->setFont(FuenteInforme("Verdana", 9, true));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    titulo("lblBaseImponible", kBase, QStringLiteral("B. Imponible"));
    titulo("lblPorcentajeIva", kPorcentaje, QStringLiteral("% I.V.A"));
    titulo("lblImporteIva", kImporteIva, QStringLiteral("Importe I.V.A"));
    cab.addShape(QStringLiteral("linTitulos"), {0, 166, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    cab.setBeforePrint([this](bool& imprimir) { bndCabeceraBeforePrint(imprimir); });

    bndDetalle_ = &report_.setDetail(QStringLiteral("bndDetalle"), 20);
    const auto celda = [this](const char* nombre, qreal left) {
        ReportDataText* t = bndDetalle_->addDataText(QString::fromLatin1(nombre), {left, 2, kColumna, 16}, QString());
        t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return t;
    };
    qxtBaseImponible = celda("qxtBaseImponible", kBase);
    qxtIva = celda("qxtIva", kPorcentaje);
    qxtImporteIva = celda("qxtImporteIva", kImporteIva);
    qxtBaseImponible->setOnPrintNumber([this](double base) { return lstUtil_->TextoImporte(false, base); });
    qxtIva->setOnPrintNumber([this](double porcentaje) { return lstUtil_->TextoPorcentajeIva(porcentaje); });
    qxtImporteIva->setOnPrintNumber([this](double iva) { return lstUtil_->TextoImporte(false, iva); });
    bndDetalle_->setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });

    bndPiePagina_ = &report_.setPageFooter(QStringLiteral("bndPiePagina"), 28);
    bndPiePagina_->addShape(QStringLiteral("linPie"), {0, 2, kAncho, 2}, ReportShape::Shape::HorizontalLine);
    ReportSysData* pagina =
        bndPiePagina_->addSysData(QStringLiteral("qrsPagina"), {kAncho / 2 - 30, 8, 60, 16}, ReportSysData::Data::PageNumber);
    pagina->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    qxtFechaPie = bndPiePagina_->addLabel(QStringLiteral("qxtFechaPie"), {kAncho - 200, 8, 200, 16});
    qxtFechaPie->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bndPiePagina_->setBeforePrint([this](bool& imprimir) { bndPiePaginaBeforePrint(imprimir); });
}

void TfrmReportDiarioResumido::SetTipoCalculo(qint16 tipo) { if (tipoCalculo_ != tipo) tipoCalculo_ = tipo; }
void TfrmReportDiarioResumido::SetTextoFechas(const QString& texto) { if (textoFechas_ != texto) textoFechas_ = texto; }
void TfrmReportDiarioResumido::SetTextoFechaPie(const QString& texto) { if (textoFechaPie_ != texto) textoFechaPie_ = texto; }

int TfrmReportDiarioResumido::Inicializar(HostParams* parametros)
{
    return Guarded(*this, QStringLiteral("Inicializar"), [&] {
        CrearUtilidades(parametros, false);
        return tipoCalculo_ == 2 ? TotalizarIvas() : 0;
    }, -1);
}

int TfrmReportDiarioResumido::TotalizarIvas()
{
    return Guarded(*this, QStringLiteral("TotalizarIvas"), [&] {
        if (!dm_)
            throw std::logic_error("No se ha asignado el módulo de datos");
        MemTable& ivas = dm_->memIvas;
        MemTable& diario = dm_->memDiario;
        ivas.close();
        ivas.open();
        for (diario.first(); !diario.eof(); diario.next())
            TCalculoIva::Acumular(ivas, {diario.fieldAsFloat(QStringLiteral("BaseImponible")), diario.fieldAsFloat(QStringLiteral("Porcentaje")),
                                         diario.fieldAsFloat(QStringLiteral("Iva"))});
        return 0;
    }, -1);
}

// ---- band events ---------------------------------------------------------------------------

void TfrmReportDiarioResumido::qrpReportResumidoBeforePrint()
{
    if (tipoCalculo_ == 2) {
        report_.setDataSet(dm_->memIvas);
        qxtBaseImponible->setField(QStringLiteral("BaseImponible"));
        qxtIva->setField(QStringLiteral("PorcentajeIva"));
        qxtImporteIva->setField(QStringLiteral("Iva"));
    } else {
        report_.setDataSet(dm_->dstMVenta);
        qxtBaseImponible->setField(QStringLiteral("BASE_IMPONIBLE"));
        qxtIva->setField(QStringLiteral("IVA"));
        qxtImporteIva->setField(QStringLiteral("IMPORTE_IVA"));
    }
}

// A rate whose base adds up to 0 in cents has nothing to declare.
void TfrmReportDiarioResumido::bndDetalleBeforePrint(bool& imprimir)
{
    const double base = tipoCalculo_ == 2 ? dm_->memIvas.fieldAsFloat(QStringLiteral("BaseImponible"))
                                          : dm_->dstMVenta.fieldAsFloat(QStringLiteral("BASE_IMPONIBLE"));
    if (TCalculoIva::Redondear(base) == 0)
        imprimir = false;
}

void TfrmReportDiarioResumido::bndCabeceraBeforePrint(bool&)
{
    const TConfiguracion& conf = *parametros_->Configuracion;
    bloque_.Rellenar(QStringLiteral("Diario de I.V.A ") + textoFechas_, filtro_, conf, lstUtil_->TextoLocalidad(conf.Localidad.IdLocalidad));
}

void TfrmReportDiarioResumido::bndPiePaginaBeforePrint(bool&)
{
    qxtFechaPie->setCaption(textoFechaPie_);
}

} // namespace lumetra
