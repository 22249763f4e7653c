#include "platform/report/ReportPageView.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportPainter.h"

#include <QPainter>
#include <cmath>

namespace lumetra {

ReportPageView::ReportPageView(const ReportDocument& document, QWidget* parent)
    : QWidget(parent)
    , document_(document)
{
    setObjectName(QStringLiteral("vistaPagina"));
    setZoom(1);
}

void ReportPageView::setPage(int page)
{
    page_ = std::clamp(page, 0, std::max(0, document_.pageCount() - 1));
    update();
}

void ReportPageView::setZoom(qreal zoom)
{
    zoom_ = std::clamp<qreal>(zoom, 0.1, 8);
    setFixedSize(int(std::ceil(document_.pageSize.width() * zoom_)), int(std::ceil(document_.pageSize.height() * zoom_)));
    update();
}

void ReportPageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ReportPainter::paintPage(document_, page_, painter, zoom_);
}

} // namespace lumetra
