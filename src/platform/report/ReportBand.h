// ReportBand: one horizontal strip of a report (page header, group header or footer, detail,
// summary, page footer) with its elements and its print events.
//
// beforePrint runs every time the band is about to print and may clear the flag it receives:
// the band then takes no space. afterPrint runs after it, telling whether the band printed.
// Elements may be added and removed at run time; the band owns them.
#pragma once

#include "platform/report/ReportElement.h"

#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lumetra {

enum class BandType { PageHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };

class ReportBand {
public:
    using BeforePrint = std::function<void(bool& printBand)>;
    using AfterPrint = std::function<void(bool printed)>;

    ReportBand(BandType type, QString name, qreal height);
    ReportBand(const ReportBand&) = delete;
    ReportBand& operator=(const ReportBand&) = delete;

    BandType type() const { return type_; }
    const QString& name() const { return name_; }
    qreal height() const { return height_; }
    void setHeight(qreal height) { height_ = height; }
    // A disabled band is skipped without running its events.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // The font of elements that have none of their own; none set: the report's font.
    bool hasFont() const { return font_.has_value(); }
    QFont font(const QFont& inherited) const { return font_ ? *font_ : inherited; }
    void setFont(const QFont& font) { font_ = font; }

    ReportLabel* addLabel(const QString& name, const QRectF& geometry, const QString& caption = {});
    ReportDataText* addDataText(const QString& name, const QRectF& geometry, const QString& field);
    ReportShape* addShape(const QString& name, const QRectF& geometry, ReportShape::Shape shape);
    ReportSysData* addSysData(const QString& name, const QRectF& geometry, ReportSysData::Data data,
                              const QString& prefix = {});
    ReportMemo* addMemo(const QString& name, const QRectF& geometry);
    // Frees an element created on this band; false when it is not one of them.
    bool removeElement(const ReportElement* element);

    const std::vector<std::unique_ptr<ReportElement>>& elements() const { return elements_; }
    ReportElement* find(const QString& name) const;

    const BeforePrint& beforePrint() const { return beforePrint_; }
    void setBeforePrint(BeforePrint handler) { beforePrint_ = std::move(handler); }
    const AfterPrint& afterPrint() const { return afterPrint_; }
    void setAfterPrint(AfterPrint handler) { afterPrint_ = std::move(handler); }

private:
    template <class T, class... Args> T* add(Args&&... args);

    BandType type_;
    QString name_;
    qreal height_;
    bool enabled_ = true;
    std::optional<QFont> font_;
    std::vector<std::unique_ptr<ReportElement>> elements_;
    BeforePrint beforePrint_;
    AfterPrint afterPrint_;
};

} // namespace lumetra
