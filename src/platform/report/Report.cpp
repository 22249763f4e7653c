#include "platform/report/Report.h"

#include "platform/report/ReportLayout.h"

#include <QPageSize>

namespace lumetra {

namespace {
constexpr qreal kUnitsPerMm = 96.0 / 25.4;
}

Report::Report(QString name)
    : name_(std::move(name))
    , font_(QStringLiteral("Arial"), 8)
{
}

Report::~Report() = default;

QSizeF Report::pageSize() const
{
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const QSizeF units(mm.width() * kUnitsPerMm, mm.height() * kUnitsPerMm);
    return orientation_ == QPageLayout::Landscape ? units.transposed() : units;
}

QRectF Report::contentRect() const
{
    const QSizeF size = pageSize();
    return QRectF(QPointF(marginsMm_.left() * kUnitsPerMm, marginsMm_.top() * kUnitsPerMm),
                  QPointF(size.width() - marginsMm_.right() * kUnitsPerMm,
                          size.height() - marginsMm_.bottom() * kUnitsPerMm));
}

ReportBand& Report::setPageHeader(const QString& name, qreal height)
{
    pageHeader_ = std::make_unique<ReportBand>(BandType::PageHeader, name, height);
    return *pageHeader_;
}

ReportBand& Report::setDetail(const QString& name, qreal height)
{
    detail_ = std::make_unique<ReportBand>(BandType::Detail, name, height);
    return *detail_;
}

ReportBand& Report::setSummary(const QString& name, qreal height)
{
    summary_ = std::make_unique<ReportBand>(BandType::Summary, name, height);
    return *summary_;
}

ReportBand& Report::setPageFooter(const QString& name, qreal height)
{
    pageFooter_ = std::make_unique<ReportBand>(BandType::PageFooter, name, height);
    return *pageFooter_;
}

ReportGroup& Report::addGroup(const QString& name, const QString& expression, qreal headerHeight)
{
    groups_.push_back(std::make_unique<ReportGroup>(name, expression, headerHeight));
    return *groups_.back();
}

ReportGroup* Report::group(const QString& headerName) const
{
    for (const auto& g : groups_)
        if (g->header().name() == headerName)
            return g.get();
    return nullptr;
}

ReportElement* Report::findElement(const QString& name) const
{
    std::vector<const ReportBand*> bands{pageHeader_.get(), detail_.get(), summary_.get(), pageFooter_.get()};
    for (const auto& g : groups_) {
        bands.push_back(&g->header());
        bands.push_back(g->footer());
    }
    for (const ReportBand* band : bands)
        if (band)
            if (ReportElement* e = band->find(name))
                return e;
    return nullptr;
}

void Report::setDataSource(std::unique_ptr<ReportDataSource> source)
{
    source_ = std::move(source);
}

void Report::setDataSet(Dataset& dataset)
{
    source_ = std::make_unique<DatasetSource>(dataset);
}

void Report::setDataSet(MemTable& table)
{
    source_ = std::make_unique<MemTableSource>(table);
}

ReportDocument Report::layout()
{
    return ReportLayout(*this).run();
}

} // namespace lumetra
