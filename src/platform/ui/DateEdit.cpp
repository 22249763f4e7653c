#include "platform/ui/DateEdit.h"

#include "platform/format/DateTexts.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace lumetra {

namespace {

constexpr QChar kBlanco = QLatin1Char('_');
// Where each part starts and how long it is in "dd/mm/aaaa".
constexpr int kInicio[] = {0, 3, 6};
constexpr int kLargo[] = {2, 2, 4};

// A small calendar page for the drop-down button.
QIcon iconoCalendario()
{
    QPixmap imagen(16, 16);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setPen(QColor(0x50, 0x50, 0x50));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(0xC0, 0x30, 0x30));
    p.setPen(QColor(0x70, 0x70, 0x70));
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            p.drawPoint(x, y);
    return QIcon(imagen);
}

} // namespace

DateEdit::DateEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99/99/9999;_"));
    setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    QAction* desplegar = addAction(iconoCalendario(), QLineEdit::TrailingPosition);
    desplegar->setObjectName(QStringLiteral("actCalendario"));
    desplegar->setToolTip(QStringLiteral("Calendario (Alt+Abajo)"));
    connect(desplegar, &QAction::triggered, this, &DateEdit::showCalendar);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 40);
}

QStringList DateEdit::partes() const
{
    const QString texto = displayText();
    QStringList r;
    for (int i = 0; i < 3; ++i) {
        QString parte = texto.mid(kInicio[i], kLargo[i]);
        parte.remove(kBlanco).remove(QLatin1Char(' '));
        r << parte;
    }
    return r;
}

bool DateEdit::isEmpty() const
{
    return partes().join(QString()).isEmpty();
}

DateTime DateEdit::value() const
{
    if (isEmpty() || !error().isEmpty())
        return DateTime::zero();
    const QStringList p = partes();
    return DateTime::fromDate(QDate(p[2].toInt(), p[1].toInt(), p[0].toInt()));
}

QString DateEdit::error() const
{
    if (isEmpty())
        return {};
    const QStringList p = partes();
    const QString typed = displayedText();
    if (p[0].size() != 2 || p[1].size() != 2 || p[2].size() != 4)
        return QStringLiteral("La Fecha «%1» está incompleta: escríbala como dd/mm/aaaa").arg(typed);
    const QDate fecha(p[2].toInt(), p[1].toInt(), p[0].toInt());
    if (!fecha.isValid())
        return QStringLiteral("La Fecha «%1» no existe").arg(typed);
    // The day before is the empty date: an earlier one would be read as no date at all.
    if (DateTime::fromDate(fecha) < DateTime::earliest())
        return QStringLiteral("La Fecha «%1» es anterior al 31/12/1899, la primera fecha que se puede escribir").arg(typed);
    return {};
}

void DateEdit::setValue(const DateTime& date)
{
    if (date.isZero())
        clearValue();
    else
        setText(DateToStr(date));
}

void DateEdit::clearValue()
{
    clear();
}

QString DateEdit::displayedText() const
{
    if (isEmpty())
        return {};
    QString texto = displayText();
    texto.replace(kBlanco, QLatin1Char(' '));
    return texto.trimmed();
}

void DateEdit::siguienteParte()
{
    const int pos = cursorPosition();
    const int parte = pos <= 2 ? 0 : pos <= 5 ? 1 : 2;
    // At the start of a part the slash before it is already behind: "01/" moved on by itself.
    if (parte == 2 || pos == kInicio[parte])
        return;
    // "1/" is the 1st: the digits written so far take the right of their part.
    QString texto = displayText();
    const QString escrito = texto.mid(kInicio[parte], kLargo[parte]).remove(kBlanco);
    if (!escrito.isEmpty() && escrito.size() < kLargo[parte]) {
        texto.replace(kInicio[parte], kLargo[parte], escrito.rightJustified(kLargo[parte], QLatin1Char('0')));
        setText(texto);
    }
    setCursorPosition(kInicio[parte + 1]);
}

void DateEdit::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) || event->key() == Qt::Key_F4) {
        showCalendar();
        return;
    }
    const QString t = event->text();
    if (t == QLatin1String("/") || t == QLatin1String("-") || t == QLatin1String(".")) {
        siguienteParte();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DateEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    // A click into an empty field writes from its start, wherever it landed.
    if (isEmpty() && event->button() == Qt::LeftButton)
        setCursorPosition(0);
}

void DateEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Reached with the keyboard: what is typed replaces the whole date.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectAll();
}

void DateEdit::showCalendar()
{
    if (calendario_)
        return;
    auto* c = new QCalendarWidget(this);
    c->setObjectName(QStringLiteral("calCalendario"));
    c->setWindowFlags(Qt::Popup);
    c->setAttribute(Qt::WA_DeleteOnClose);
    c->setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    c->setFirstDayOfWeek(Qt::Monday);
    c->setGridVisible(true);
    c->setMinimumDate(DateTime::earliest().date());
    const DateTime actual = value();
    c->setSelectedDate(actual.isZero() ? QDate::currentDate() : actual.date());
    connect(c, &QCalendarWidget::clicked, this, [this, c](const QDate& d) {
        setValue(DateTime::fromDate(d));
        c->close();
        setFocus(Qt::PopupFocusReason);
    });
    connect(c, &QCalendarWidget::activated, this, [this, c](const QDate& d) {
        setValue(DateTime::fromDate(d));
        c->close();
        setFocus(Qt::PopupFocusReason);
    });
    c->adjustSize();
    QPoint abajo = mapToGlobal(QPoint(0, height()));
    if (const QScreen* pantalla = screen()) {
        const QRect zona = pantalla->availableGeometry();
        if (abajo.y() + c->height() > zona.bottom())
            abajo.setY(mapToGlobal(QPoint(0, 0)).y() - c->height());
        abajo.setX(std::min(abajo.x(), zona.right() - c->width()));
    }
    c->move(abajo);
    calendario_ = c;
    c->show();
    c->setFocus(Qt::PopupFocusReason);
}

} // namespace lumetra
