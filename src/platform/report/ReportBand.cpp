#include "platform/report/ReportBand.h"

#include <algorithm>

namespace lumetra {

ReportBand::ReportBand(BandType type, QString name, qreal height)
    : type_(type)
    , name_(std::move(name))
    , height_(height)
{
}

template <class T, class... Args> T* ReportBand::add(Args&&... args)
{
    auto element = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = element.get();
    elements_.push_back(std::move(element));
    return raw;
}

ReportLabel* ReportBand::addLabel(const QString& name, const QRectF& geometry, const QString& caption)
{
    return add<ReportLabel>(name, geometry, caption);
}

ReportDataText* ReportBand::addDataText(const QString& name, const QRectF& geometry, const QString& field)
{
    return add<ReportDataText>(name, geometry, field);
}

ReportShape* ReportBand::addShape(const QString& name, const QRectF& geometry, ReportShape::Shape shape)
{
    return add<ReportShape>(name, geometry, shape);
}

ReportSysData* ReportBand::addSysData(const QString& name, const QRectF& geometry, ReportSysData::Data data,
                                      const QString& prefix)
{
    return add<ReportSysData>(name, geometry, data, prefix);
}

ReportMemo* ReportBand::addMemo(const QString& name, const QRectF& geometry)
{
    return add<ReportMemo>(name, geometry);
}

bool ReportBand::removeElement(const ReportElement* element)
{
    const auto it = std::find_if(elements_.begin(), elements_.end(),
                                 [element](const auto& e) { return e.get() == element; });
    if (it == elements_.end())
        return false;
    elements_.erase(it);
    return true;
}

ReportElement* ReportBand::find(const QString& name) const
{
    for (const auto& e : elements_)
        if (e->name() == name)
            return e.get();
    return nullptr;
}

} // namespace lumetra
