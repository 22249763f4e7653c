#include "common/frmError.h"

#include "hostapi/Configuracion.h"
#include "hostapi/HostParams.h"
#include "platform/format/DateTexts.h"
#include "platform/format/DateTime.h"
#include "platform/report/Report.h"
#include "platform/report/ReportLayout.h"
#include "platform/ui/Interaction.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <algorithm>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace lumetra {

namespace {

const QString kFormatoFecha = QStringLiteral("dddd',' d 'de' mmmm 'de' yyyy  hh:mm");

const QString kInstrucciones = QStringLiteral(
    "Se ha producido un error inesperado:\n"
    "\n"
    "   - Envie el error mediante un correo electrónico.\n"
    "   - Imprima el error y envíelo por fax al 934 000 099, explicando qué estaba haciendo cuando "
    "se produjo el error.\n"
    "   - Llame al teléfono de soporte 934 000 098 y tenga a mano la información del error.");

// Window colour of an inactive caption bar, as the host's forms paint their title panels.
const QColor kColorTituloInactivo(0xBF, 0xCD, 0xDB);

QPixmap iconoError()
{
    QPixmap imagen(64, 64);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8B, 0x00, 0x00), 2));
    p.setBrush(QColor(0xD9, 0x1E, 0x18));
    p.drawEllipse(QRectF(4, 4, 56, 56));
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 22), QPointF(42, 42));
    p.drawLine(QPointF(42, 22), QPointF(22, 42));
    return imagen;
}

template <class W>
W* hijo(QWidget* padre, const QString& nombre, const QRect& geometria)
{
    auto* w = new W(padre);
    w->setObjectName(nombre);
    w->setGeometry(geometria);
    return w;
}

QLabel* etiqueta(QWidget* padre, const QString& nombre, const QRect& geometria, const QString& texto)
{
    auto* l = hijo<QLabel>(padre, nombre, geometria);
    l->setText(texto);
    return l;
}

QPushButton* boton(QWidget* padre, const QString& nombre, const QRect& geometria, const QString& texto)
{
    auto* b = hijo<QPushButton>(padre, nombre, geometria);
    b->setText(texto);
    b->setAutoDefault(false);
    return b;
}

QFont fuente(const QString& familia, int puntos, bool negrita, bool cursiva = false)
{
    QFont f(familia, puntos);
    f.setBold(negrita);
    f.setItalic(cursiva);
    return f;
}

} // namespace

TfrmError::TfrmError(QWidget* propietario)
    : QDialog(propietario)
{
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("Lumetra® v3 - Informe de error"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    setFixedSize(683, 455);
    CrearControles();
    CrearInforme();
}

TfrmError::~TfrmError() = default;

void TfrmError::CrearControles()
{
    auto* panel = hijo<QFrame>(this, QStringLiteral("Panel1"), QRect(0, 0, 683, 105));
    panel->setAutoFillBackground(true);
    QPalette colores = panel->palette();
    colores.setColor(QPalette::Window, kColorTituloInactivo);
    panel->setPalette(colores);

    auto* imagen = hijo<QLabel>(panel, QStringLiteral("Image1"), QRect(16, 20, 64, 64));
    imagen->setPixmap(iconoError());
    auto* titulo = etiqueta(panel, QStringLiteral("txtTitulo"), QRect(96, 6, 560, 18),
                            QStringLiteral("Se ha producido un error"));
    titulo->setFont(fuente(font().family(), 9, true));
    auto* detalle = etiqueta(panel, QStringLiteral("txtDetTitulo"), QRect(96, 24, 580, 78), kInstrucciones);
    detalle->setWordWrap(true);
    detalle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Where the font at hand is wider than the one the window was drawn for, the instructions
    // take more lines: the panel grows and everything below it moves down, nothing is cut.
    const int falta = std::max(0, detalle->heightForWidth(detalle->width()) - detalle->height());

    auto* cbxFecha = hijo<QGroupBox>(this, QStringLiteral("cbxFecha"), QRect(8, 110, 667, 52));
    cbxFecha->setTitle(QStringLiteral(" Fecha y hora del error "));
    txtFecha_ = etiqueta(cbxFecha, QStringLiteral("txtFecha"), QRect(8, 22, 651, 20), QString());
    txtFecha_->setFont(fuente(font().family(), 9, true));
    txtFecha_->setAlignment(Qt::AlignCenter);

    auto* cbxDetalle = hijo<QGroupBox>(this, QStringLiteral("cbxDetalle"), QRect(8, 168, 667, 232));
    cbxDetalle->setTitle(QStringLiteral(" Detalle del Error "));
    etiqueta(cbxDetalle, QStringLiteral("lblPantalla"), QRect(12, 26, 80, 18), QStringLiteral("Pantalla:"));
    etiqueta(cbxDetalle, QStringLiteral("lblFuncion"), QRect(12, 54, 80, 18), QStringLiteral("Función:"));
    etiqueta(cbxDetalle, QStringLiteral("lblDescripcion"), QRect(12, 82, 80, 18), QStringLiteral("Descripción"));
    edtPantalla_ = hijo<QLineEdit>(cbxDetalle, QStringLiteral("edtPantalla"), QRect(92, 24, 565, 22));
    edtPantalla_->setReadOnly(true);
    edtFuncion_ = hijo<QLineEdit>(cbxDetalle, QStringLiteral("edtFuncion"), QRect(92, 52, 565, 22));
    edtFuncion_->setReadOnly(true);
    memDescripcion_ = hijo<QPlainTextEdit>(cbxDetalle, QStringLiteral("memDescripcion"), QRect(92, 80, 565, 109));
    memDescripcion_->setReadOnly(true);

    auto* bevel = hijo<QFrame>(this, QStringLiteral("Bevel1"), QRect(8, 408, 667, 2));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    btnCorreo_ = boton(this, QStringLiteral("btnCorreo"), QRect(8, 418, 90, 28), QStringLiteral("&E-Mail"));
    btnImprimir_ = boton(this, QStringLiteral("btnImprimir"), QRect(488, 418, 90, 28), QStringLiteral("&Imprimir"));
    btnSalir_ = boton(this, QStringLiteral("btnSalir"), QRect(585, 418, 90, 28), QStringLiteral("&Salir"));
    btnSalir_->setDefault(true);

    if (falta > 0) {
        for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != panel)
                w->move(w->pos() + QPoint(0, falta));
        panel->resize(panel->width(), panel->height() + falta);
        detalle->resize(detalle->width(), detalle->height() + falta);
        setFixedSize(width(), height() + falta);
    }

    connect(btnCorreo_, &QPushButton::clicked, this, [this] { btnCorreoClick(); });
    connect(btnImprimir_, &QPushButton::clicked, this, [this] { btnImprimirClick(); });
    connect(btnSalir_, &QPushButton::clicked, this, [this] { btnSalirClick(); });
}

void TfrmError::CrearInforme()
{
    qrpInforme_ = std::make_unique<Report>(QStringLiteral("qrpInforme"));
    Report& r = *qrpInforme_;
    r.setTitle(QStringLiteral("Informe de error"));
    r.setOrientation(QPageLayout::Portrait);
    r.setMarginsMm(QMarginsF(10, 10, 10, 10));
    r.setFont(QFont(QStringLiteral("Arial"), 10));
    const qreal ancho = r.contentRect().width();
    const QFont titulo = fuente(QStringLiteral("Verdana"), 14, true);

    ReportBand& cabecera = r.setPageHeader(QStringLiteral("bndCabecera"), 56);
    auto* fondo = cabecera.addShape(QStringLiteral("shpCabecera"), QRectF(0, 0, ancho, 44),
                                    ReportShape::Shape::Rectangle);
    fondo->setBrush(QColor(0xC0, 0xC0, 0xC0));
    fondo->setPen(QColor(0xC0, 0xC0, 0xC0));
    auto* rotulo = cabecera.addLabel(QStringLiteral("qrlTitulo"), QRectF(10, 8, 400, 28),
                                     QStringLiteral("Informe de error"));
    rotulo->setFont(fuente(QStringLiteral("Verdana"), 14, true, true));
    auto* fecha = cabecera.addSysData(QStringLiteral("qsdFecha"), QRectF(ancho - 210, 8, 200, 28),
                                      ReportSysData::Data::DateTime);
    fecha->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ReportBand& detalle = r.setDetail(QStringLiteral("bndDetalle"), 400);
    const qreal linea = 20;
    detalle.addLabel(QStringLiteral("qxtOptica"), QRectF(0, 8, ancho, 28))->setFont(titulo);
    detalle.addLabel(QStringLiteral("qxtDireccion"), QRectF(0, 42, ancho, linea));
    detalle.addLabel(QStringLiteral("qxtCodPostal"), QRectF(0, 62, 50, linea));
    detalle.addLabel(QStringLiteral("qrlGuion"), QRectF(50, 62, 20, linea), QStringLiteral(" - "));
    detalle.addLabel(QStringLiteral("qxtLocalidad"), QRectF(70, 62, ancho - 70, linea));
    detalle.addLabel(QStringLiteral("qxtProvincia"), QRectF(0, 82, ancho, linea));
    detalle.addLabel(QStringLiteral("qxtCorreo"), QRectF(0, 102, ancho, linea));
    detalle.addLabel(QStringLiteral("qrlTelefono"), QRectF(0, 122, 40, linea), QStringLiteral("Tel.- "));
    detalle.addLabel(QStringLiteral("qxtTelefono"), QRectF(40, 122, ancho - 40, linea));
    detalle.addLabel(QStringLiteral("qrlFax"), QRectF(0, 142, 40, linea), QStringLiteral("Fax.- "));
    detalle.addLabel(QStringLiteral("qxtFax"), QRectF(40, 142, ancho - 40, linea));
    auto* regla = detalle.addShape(QStringLiteral("shpLinea"), QRectF(0, 172, ancho, 2),
                                   ReportShape::Shape::HorizontalLine);
    regla->setPen(Qt::gray);
    regla->setPenWidth(2);
    detalle.addLabel(QStringLiteral("qrlDatosError"), QRectF(0, 184, ancho, 28), QStringLiteral("Datos del error"))
        ->setFont(titulo);
    detalle.addLabel(QStringLiteral("qrlPantalla"), QRectF(0, 222, 95, linea), QStringLiteral("Pantalla:"));
    detalle.addLabel(QStringLiteral("qxtPantalla"), QRectF(100, 222, ancho - 100, linea));
    detalle.addLabel(QStringLiteral("qrlFuncion"), QRectF(0, 244, 95, linea), QStringLiteral("Función:"));
    auto* funcion = detalle.addLabel(QStringLiteral("qxtFuncion"), QRectF(100, 244, ancho - 100, linea));
    funcion->setWordWrap(true);
    funcion->setStretch(true);
    detalle.addLabel(QStringLiteral("qrlDescripcion"), QRectF(0, 268, 95, linea), QStringLiteral("Descripción:"));
    // Word-wrapped at its width and cut at its height on paper, as the window's memo scrolls.
    auto* memo = detalle.addMemo(QStringLiteral("qmmDescripcion"), QRectF(100, 268, 605, 117));
    memo->setWordWrap(true);
    memo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detalle.setBeforePrint([this](bool& imprimir) { bndDetalleBeforePrint(imprimir); });
}

void TfrmError::bndDetalleBeforePrint(bool&)
{
    Report& r = *qrpInforme_;
    auto poner = [&r](const char* nombre, const QString& texto) {
        static_cast<ReportLabel*>(r.findElement(QLatin1String(nombre)))->setCaption(texto);
    };
    const TConfiguracion* empresa = parametros_ ? parametros_->Configuracion : nullptr;
    const TConfiguracion vacia;
    const TConfiguracion& c = empresa ? *empresa : vacia;
    poner("qxtOptica", c.NombreComercial);
    poner("qxtDireccion", c.Direccion);
    // A plain number here: support reads the postcode as it is stored.
    poner("qxtCodPostal", QString::number(c.Localidad.CodigoPostal));
    poner("qxtLocalidad", c.Localidad.Descripcion);
    poner("qxtProvincia", c.Localidad.Provincia.Descripcion);
    poner("qxtCorreo", c.Correo);
    poner("qxtTelefono", c.Telefono);
    poner("qxtFax", c.Fax);
    poner("qxtPantalla", pantalla_);
    poner("qxtFuncion", funcion_);
    auto* memo = static_cast<ReportMemo*>(r.findElement(QStringLiteral("qmmDescripcion")));
    memo->clear();
    memo->add(descripcion_);
}

ReportDocument TfrmError::InformeDocumento()
{
    return qrpInforme_->layout();
}

void TfrmError::SetParametros(HostParams* valor)
{
    parametros_ = valor;
}

void TfrmError::SetPantalla(const QString& valor)
{
    if (valor == pantalla_)
        return;
    pantalla_ = valor;
    edtPantalla_->setText(valor);
}

void TfrmError::SetFuncion(const QString& valor)
{
    if (valor == funcion_)
        return;
    funcion_ = valor;
    edtFuncion_->setText(valor);
}

void TfrmError::SetDescripcion(const QString& valor)
{
    if (valor == descripcion_)
        return;
    descripcion_ = valor;
    memDescripcion_->setPlainText(valor);
}

QString TfrmError::TextoFecha(const DateTime& momento)
{
    return FormatDateTime(kFormatoFecha, momento);
}

void TfrmError::FormActivate()
{
    txtFecha_->setText(TextoFecha(DateTime::now()));
}

bool TfrmError::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    else if (e->type() == QEvent::Show) {
        // Centred on the screen, whoever owns it.
        if (QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen())
            move(pantalla->availableGeometry().center() - rect().center());
        // Activation may never come on a platform without a window manager.
        if (txtFecha_->text().isEmpty())
            FormActivate();
    }
    return QDialog::event(e);
}

void TfrmError::btnCorreoClick()
{
    // The module sends nothing: the button stays for the host's look and feel.
}

void TfrmError::btnImprimirClick()
{
    const ReportDocument documento = InformeDocumento();
    Interaction::current().preview(documento, -1, this, QStringLiteral("error"));
    done(QDialog::Accepted);
}

void TfrmError::btnSalirClick()
{
    done(QDialog::Accepted);
}

void TfrmError::reject()
{
    btnSalirClick();
}

namespace {
// The print running now: whether one runs, and whether it has failed.
bool impresionEnCurso = false;
bool impresionFallida = false;
} // namespace

TfrmError::Impresion::Impresion()
    : exterior_(!impresionEnCurso)
{
    if (exterior_) {
        impresionEnCurso = true;
        impresionFallida = false;
    }
}

TfrmError::Impresion::~Impresion()
{
    if (exterior_) {
        impresionEnCurso = false;
        impresionFallida = false;
    }
}

bool TfrmError::Impresion::Fallida() const
{
    return impresionFallida;
}

bool TfrmError::ImpresionFallida()
{
    return impresionEnCurso && impresionFallida;
}

void TfrmError::Mostrar(HostParams* parametros, const QString& pantalla, const QString& funcion,
                        const QString& descripcion)
{
    // The document being laid out is wrong now; it stops, and it says so only once.
    const bool primeroDelInforme = ReportLayout::failRunning(funcion, descripcion);
    if (impresionEnCurso) {
        if (impresionFallida)
            return;
        impresionFallida = true;
    } else if (!primeroDelInforme) {
        return;
    }
    // Owned by the host's window while it is shown; freed here once it closes.
    QPointer<TfrmError> ventana = new TfrmError(parametros ? parametros->Propietario : nullptr);
    ventana->SetParametros(parametros);
    ventana->SetPantalla(pantalla);
    ventana->SetFuncion(funcion);
    ventana->SetDescripcion(descripcion);
    const QString resumen = QStringLiteral("Pantalla: %1 | Función: %2 | Descripción: %3")
                                .arg(pantalla, funcion, descripcion);
    Interaction::current().execDialog(*ventana, resumen);
    delete ventana.data();
}

} // namespace lumetra
