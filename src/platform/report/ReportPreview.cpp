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
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace lumetra {

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
    const auto add = [&](const char* name, const QString& text, QStyle::StandardPixmap icon, const QKeySequence& key,
                         void (ReportPreview::*slot)()) {
        QAction* action = toolbar->addAction(style()->standardIcon(icon), text, this, slot);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            action->setShortcut(key);
        return action;
    };
    add("actImprimir", QStringLiteral("Imprimir..."), QStyle::SP_DialogSaveButton, QKeySequence::Print, &ReportPreview::printDocument);
    add("actExportar", QStringLiteral("Exportar..."), QStyle::SP_DriveFDIcon, QKeySequence::Save, &ReportPreview::exportDocument);
    toolbar->addSeparator();
    add("actPrimera", QStringLiteral("Primera página"), QStyle::SP_MediaSkipBackward, Qt::Key_Home, &ReportPreview::firstPage);
    add("actAnterior", QStringLiteral("Página anterior"), QStyle::SP_MediaSeekBackward, Qt::Key_PageUp, &ReportPreview::previousPage);
    add("actSiguiente", QStringLiteral("Página siguiente"), QStyle::SP_MediaSeekForward, Qt::Key_PageDown, &ReportPreview::nextPage);
    add("actUltima", QStringLiteral("Última página"), QStyle::SP_MediaSkipForward, Qt::Key_End, &ReportPreview::lastPage);
    toolbar->addSeparator();
    add("actReducir", QStringLiteral("Reducir"), QStyle::SP_ArrowDown, QKeySequence::ZoomOut, &ReportPreview::zoomOut);
    add("actAmpliar", QStringLiteral("Ampliar"), QStyle::SP_ArrowUp, QKeySequence::ZoomIn, &ReportPreview::zoomIn);
    add("actAnchoPagina", QStringLiteral("Ancho de página"), QStyle::SP_TitleBarMaxButton, {}, &ReportPreview::fitWidth);
    toolbar->addSeparator();
    add("actCerrar", QStringLiteral("Cerrar"), QStyle::SP_DialogCloseButton, {}, &ReportPreview::accept);

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
    if (!fitted_) {
        fitted_ = true;
        fitWidth();
    }
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
void ReportPreview::zoomIn() { setZoom(zoom() * 1.25); }
void ReportPreview::zoomOut() { setZoom(zoom() / 1.25); }

void ReportPreview::fitWidth()
{
    const int available = scroll_->viewport()->width() - scroll_->verticalScrollBar()->sizeHint().width() - 8;
    if (document_.pageSize.width() > 0 && available > 0)
        setZoom(available / document_.pageSize.width());
}

void ReportPreview::setZoom(qreal zoom)
{
    view_->setZoom(zoom);
    updateStatus();
}

void ReportPreview::updateStatus()
{
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
