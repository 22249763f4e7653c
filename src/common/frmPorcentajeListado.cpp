#include "common/frmPorcentajeListado.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace lumetra {

namespace {

// A magnifying glass over a sheet of lines: the records being searched.
QPixmap imagenBusqueda()
{
    QPixmap imagen(128, 128);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(14, 8, 72, 92));
    p.setPen(QPen(QColor(0x9A, 0xB4, 0xD0), 3));
    for (int y = 22; y <= 86; y += 12)
        p.drawLine(QPointF(24, y), QPointF(76, y));

    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(88, 88), QPointF(116, 116));
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 6));
    p.setBrush(QColor(0xCF, 0xE8, 0xFF, 0xB0));
    p.drawEllipse(QPointF(68, 68), 28, 28);
    return imagen;
}

} // namespace

TfrmPorcentajeListado::TfrmPorcentajeListado(QWidget* propietario)
    : QWidget(propietario, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmPorcentajeListado"));
    setWindowTitle(QStringLiteral("Buscando"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    setFixedSize(216, 222);

    auto* imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("Image1"));
    imagen->setGeometry(44, 8, 128, 128);
    imagen->setAlignment(Qt::AlignCenter);
    imagen->setAttribute(Qt::WA_TranslucentBackground);
    imagen->setPixmap(imagenBusqueda());

    auto* texto = texto_ = new QLabel(QStringLiteral("Buscando Registros..."), this);
    texto->setObjectName(QStringLiteral("Label1"));
    texto->setGeometry(0, 142, 216, 24);
    texto->setAlignment(Qt::AlignCenter);
    QFont negrita(QStringLiteral("Tahoma"), 12);
    negrita.setBold(true);
    texto->setFont(negrita);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setGeometry(8, 174, 200, 2);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    btnCancelar_ = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancelar_->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar_->setGeometry(66, 184, 84, 28);
    connect(btnCancelar_, &QPushButton::clicked, this, [this] { btnCancelarClick(); });

    FormCreate();
}

void TfrmPorcentajeListado::FormCreate()
{
    cancelado_ = false;
}

void TfrmPorcentajeListado::PermitirCancelar(bool permitir)
{
    btnCancelar_->setEnabled(permitir);
}

void TfrmPorcentajeListado::SetTexto(const QString& texto)
{
    texto_->setText(texto);
}

QString TfrmPorcentajeListado::Texto() const
{
    return texto_->text();
}

void TfrmPorcentajeListado::btnCancelarClick()
{
    cancelado_ = true;
}

void TfrmPorcentajeListado::showEvent(QShowEvent* e)
{
    // Centred on the host's main window, or on the screen when there is none.
    QRect zona;
    if (QWidget* principal = parentWidget() ? parentWidget()->window() : nullptr)
        zona = principal->frameGeometry();
    else if (QScreen* pantalla = QGuiApplication::primaryScreen())
        zona = pantalla->availableGeometry();
    if (zona.isValid())
        move(zona.center() - rect().center());
    QWidget::showEvent(e);
}

} // namespace lumetra
