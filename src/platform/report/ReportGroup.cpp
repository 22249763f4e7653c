#include "platform/report/ReportGroup.h"

namespace lumetra {

ReportGroup::ReportGroup(const QString& name, const QString& expression, qreal headerHeight)
    : expression_(expression)
    , header_(BandType::GroupHeader, name, headerHeight)
{
}

ReportBand& ReportGroup::addFooter(const QString& name, qreal height)
{
    footer_ = std::make_unique<ReportBand>(BandType::GroupFooter, name, height);
    return *footer_;
}

} // namespace lumetra
