#include "platform/report/ReportPreview.h"

#include "platform/report/ReportError.h"
#include "platform/report/ReportExporter.h"
#include "platform/report/ReportPageView.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportPrinter.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace lumetra {

namespace {

// The toolbar's own pictures, drawn so that they look the same on every desktop.
enum class Picture { Print, Export, ZoomIn, ZoomOut, FitWidth };

QIcon picture(Picture which)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x30, 0x30, 0x30);
    p.setPen(QPen(ink, 1.5));
    switch (which) {
    case Picture::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 2.5, 10, 7));                 // the sheet going in
        p.setBrush(QColor(0x90, 0x98, 0xA0));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);  // the printer
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 14.5, 10, 7));                // the sheet coming out
        p.drawLine(QPointF(9, 17.5), QPointF(15, 17.5));
        break;
    case Picture::Export: {
        p.setBrush(QColor(0xF4, 0xF4, 0xF4));
        p.drawRect(QRectF(4.5, 2.5, 12, 18));              // a page
        p.setPen(QPen(QColor(0x20, 0x80, 0x30), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(10, 13), QPointF(20, 13));      // an arrow leaving it
        p.drawLine(QPointF(16.5, 9.5), QPointF(20, 13));
        p.drawLine(QPointF(16.5, 16.5), QPointF(20, 13));
        break;
    }
    case Picture::ZoomIn:
    case Picture::ZoomOut:
        p.setBrush(QColor(0xDD, 0xEE, 0xFF));
        p.drawEllipse(QPointF(10, 10), 7, 7);
        p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15.5, 15.5), QPointF(21, 21));
        p.setPen(QPen(ink, 2));
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
        if (which == Picture::ZoomIn)
            p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
        break;
    case Picture::FitWidth:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 11, 17));
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(1.5, 12), QPointF(22.5, 12));
        p.drawLine(QPointF(4, 9.5), QPointF(1.5, 12));
        p.drawLine(QPointF(4, 14.5), QPointF(1.5, 12));
        p.drawLine(QPointF(20, 9.5), QPointF(22.5, 12));
        p.drawLine(QPointF(20, 14.5), QPointF(22.5, 12));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

ReportPreview::ReportPreview(ReportDocument document, QWidget* parent)
    : QDialog(parent)
    , document_(std::move(document))
{
    setObjectName(QStringLiteral("frmVistaPrevia"));
    setWindowTitle(document_.title.isEmpty() ? QStringLiteral("Vista previa") : document_.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowState(windowState() | Qt::WindowMaximized);

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("barraVistaPrevia"));
    toolbar->setIconSize(QSize(24, 24));
    const auto add = [&](const char* name, const QString& text, const QIcon& icon, const QKeySequence& key,
                         void (ReportPreview::*slot)()) {
        QAction* action = toolbar->addAction(icon, text, this, slot);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            action->setShortcut(key);
        return action;
    };
    const auto standard = [this](QStyle::StandardPixmap icon) { return style()->standardIcon(icon); };
    add("actImprimir", QStringLiteral("Imprimir..."), picture(Picture::Print), QKeySequence::Print, &ReportPreview::printDocument);
    add("actExportar", QStringLiteral("Exportar..."), picture(Picture::Export), QKeySequence::Save, &ReportPreview::exportDocument);
    toolbar->addSeparator();
    add("actPrimera", QStringLiteral("Primera página"), standard(QStyle::SP_MediaSkipBackward), Qt::Key_Home, &ReportPreview::firstPage);
    add("actAnterior", QStringLiteral("Página anterior"), standard(QStyle::SP_MediaSeekBackward), Qt::Key_PageUp, &ReportPreview::previousPage);
    add("actSiguiente", QStringLiteral("Página siguiente"), standard(QStyle::SP_MediaSeekForward), Qt::Key_PageDown, &ReportPreview::nextPage);
    add("actUltima", QStringLiteral("Última página"), standard(QStyle::SP_MediaSkipForward), Qt::Key_End, &ReportPreview::lastPage);
    toolbar->addSeparator();
    add("actReducir", QStringLiteral("Reducir"), picture(Picture::ZoomOut), QKeySequence::ZoomOut, &ReportPreview::zoomOut);
    add("actAmpliar", QStringLiteral("Ampliar"), picture(Picture::ZoomIn), QKeySequence::ZoomIn, &ReportPreview::zoomIn);
    add("actAnchoPagina", QStringLiteral("Ancho de página"), picture(Picture::FitWidth), {}, &ReportPreview::fitWidth);
    toolbar->addSeparator();
    add("actCerrar", QStringLiteral("Cerrar"), standard(QStyle::SP_DialogCloseButton), {}, &ReportPreview::accept);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("txtPagina"));
    toolbar->addSeparator();
    toolbar->addWidget(status_);

    view_ = new ReportPageView(document_, this);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrPagina"));
    scroll_->setAlignment(Qt::AlignHCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(view_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(scroll_, 1);
    updateStatus();
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::currentPage() const { return view_->page(); }
qreal ReportPreview::zoom() const { return view_->zoom(); }

void ReportPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    applyFit();
}

void ReportPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    applyFit();
}

void ReportPreview::applyFit()
{
    const int available = scroll_->viewport()->width() - scroll_->verticalScrollBar()->sizeHint().width() - 8;
    if (fitWidth_ && document_.pageSize.width() > 0 && available > 0)
        setZoom(available / document_.pageSize.width());
}

void ReportPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ReportPreview::showPage(int page)
{
    view_->setPage(page);
    scroll_->verticalScrollBar()->setValue(0);
    updateStatus();
}

void ReportPreview::firstPage() { showPage(0); }
void ReportPreview::previousPage() { showPage(currentPage() - 1); }
void ReportPreview::nextPage() { showPage(currentPage() + 1); }
void ReportPreview::lastPage() { showPage(document_.pageCount() - 1); }
void ReportPreview::zoomIn()
{
    fitWidth_ = false;
    setZoom(zoom() * 1.25);
}

void ReportPreview::zoomOut()
{
    fitWidth_ = false;
    setZoom(zoom() / 1.25);
}

void ReportPreview::fitWidth()
{
    fitWidth_ = true;
    applyFit();
}

void ReportPreview::setZoom(qreal zoom)
{
    view_->setZoom(zoom);
    updateStatus();
}

void ReportPreview::updateStatus()
{
    // Nowhere to go before the first page or after the last.
    const bool first = currentPage() <= 0;
    const bool last = currentPage() >= document_.pageCount() - 1;
    for (const char* name : {"actPrimera", "actAnterior"})
        if (QAction* a = findChild<QAction*>(QString::fromLatin1(name)))
            a->setEnabled(!first);
    for (const char* name : {"actSiguiente", "actUltima"})
        if (QAction* a = findChild<QAction*>(QString::fromLatin1(name)))
            a->setEnabled(!last);
    status_->setText(QStringLiteral("  Página %1 de %2   %3 %")
                         .arg(document_.pageCount() ? currentPage() + 1 : 0)
                         .arg(document_.pageCount())
                         .arg(qRound(zoom() * 100)));
}

void ReportPreview::printDocument()
{
    QPrinter printer(QPrinter::HighResolution);
    ReportPrinter::choose(printer, printerIndex_);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        ReportPainter::print(document_, printer);
    } catch (const ReportError& e) {
        QMessageBox::critical(this, QStringLiteral("ERROR"), e.message());
    }
}

void ReportPreview::exportDocument()
{
    const QStringList filters = ReportExporter::fileFilters();
    QString selected = filters.first();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar listado"), document_.title,
                                                filters.join(QStringLiteral(";;")), &selected);
    if (path.isEmpty())
        return;
    if (!ReportExporter::formatOf(path)) {
        // Take the extension of the chosen type, e.g. "(*.pdf)".
        const int star = selected.indexOf(QStringLiteral("*."));
        path += selected.mid(star + 1, selected.indexOf(QLatin1Char(')'), star) - star - 1);
    }
    try {
        ReportExporter::write(document_, path);
    } catch (const ReportError& e) {
        QMessageBox::critical(this, QStringLiteral("ERROR"), e.message());
    }
}

} // namespace lumetra
