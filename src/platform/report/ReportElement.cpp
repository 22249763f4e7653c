#include "platform/report/ReportElement.h"

namespace lumetra {

ReportElement::ReportElement(Kind kind, QString name, const QRectF& geometry)
    : kind_(kind)
    , name_(std::move(name))
    , geometry_(geometry)
{
}

ReportElement::~ReportElement() = default;

ReportLabel::ReportLabel(QString name, const QRectF& geometry, QString caption)
    : ReportElement(Kind::Label, std::move(name), geometry)
    , caption_(std::move(caption))
{
}

ReportDataText::ReportDataText(QString name, const QRectF& geometry, QString field)
    : ReportElement(Kind::DataText, std::move(name), geometry)
    , field_(std::move(field))
{
}

ReportShape::ReportShape(QString name, const QRectF& geometry, Shape shape)
    : ReportElement(Kind::Shape, std::move(name), geometry)
    , shape_(shape)
{
}

ReportSysData::ReportSysData(QString name, const QRectF& geometry, Data data, QString prefix)
    : ReportElement(Kind::SysData, std::move(name), geometry)
    , data_(data)
    , prefix_(std::move(prefix))
{
}

ReportMemo::ReportMemo(QString name, const QRectF& geometry)
    : ReportElement(Kind::Memo, std::move(name), geometry)
{
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

ReportLabel::~ReportLabel() = default;
ReportDataText::~ReportDataText() = default;
ReportShape::~ReportShape() = default;
ReportSysData::~ReportSysData() = default;
ReportMemo::~ReportMemo() = default;

} // namespace lumetra
