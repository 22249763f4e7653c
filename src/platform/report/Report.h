// Report: the definition of a banded report and the entry to lay it out.
//
// A report has a page (A4 portrait or landscape, margins in mm), a page header, groups (outer
// first), a detail band, a summary, a page footer aligned to the bottom of every page (the last
// one too), and a data source it walks row by row. Without a data source its bands print once.
// Positions and sizes are in report units of 1/96 inch.
//
// layout() runs the events and returns the pages as a ReportDocument; it never throws: a
// failure inside an event or the data source is passed to the error handler and the layout
// stops there, returning what was laid out so far (ReportDocument::failed() tells).
#pragma once

#include "platform/report/ReportBand.h"
#include "platform/report/ReportDataSource.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportGroup.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace lumetra {

class Dataset;
class MemTable;

class Report {
public:
    using Event = std::function<void()>;
    using ErrorHandler = std::function<void(const QString& where, const QString& message)>;

    explicit Report(QString name = {});
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const QString& name() const { return name_; }
    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }

    QPageLayout::Orientation orientation() const { return orientation_; }
    void setOrientation(QPageLayout::Orientation orientation) { orientation_ = orientation; }
    QMarginsF marginsMm() const { return marginsMm_; }
    void setMarginsMm(const QMarginsF& margins) { marginsMm_ = margins; }
    QSizeF pageSize() const;           // report units, oriented
    QRectF contentRect() const;        // the page inside the margins, report units

    QFont font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }

    ReportBand& setPageHeader(const QString& name, qreal height);
    ReportBand& setDetail(const QString& name, qreal height);
    ReportBand& setSummary(const QString& name, qreal height);
    ReportBand& setPageFooter(const QString& name, qreal height);
    ReportGroup& addGroup(const QString& name, const QString& expression, qreal headerHeight);
    ReportBand* pageHeader() const { return pageHeader_.get(); }
    ReportBand* detail() const { return detail_.get(); }
    ReportBand* summary() const { return summary_.get(); }
    ReportBand* pageFooter() const { return pageFooter_.get(); }
    const std::vector<std::unique_ptr<ReportGroup>>& groups() const { return groups_; }
    ReportGroup* group(const QString& headerName) const;
    ReportElement* findElement(const QString& name) const;

    void setDataSource(std::unique_ptr<ReportDataSource> source);
    void setDataSet(Dataset& dataset);
    void setDataSet(MemTable& table);
    void clearDataSource() { source_.reset(); }
    ReportDataSource* dataSource() const { return source_.get(); }

    // Runs first in layout(), before the data source is read: it may change the source, the
    // group expressions and any element.
    void setBeforePrint(Event handler) { beforePrint_ = std::move(handler); }
    const Event& beforePrint() const { return beforePrint_; }
    // Runs after the last page was laid out.
    void setAfterPrint(Event handler) { afterPrint_ = std::move(handler); }
    const Event& afterPrint() const { return afterPrint_; }
    void setErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }
    const ErrorHandler& errorHandler() const { return onError_; }

    ReportDocument layout();

private:
    QString name_;
    QString title_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    QMarginsF marginsMm_{10, 10, 10, 10};
    QFont font_;
    std::unique_ptr<ReportBand> pageHeader_;
    std::unique_ptr<ReportBand> detail_;
    std::unique_ptr<ReportBand> summary_;
    std::unique_ptr<ReportBand> pageFooter_;
    std::vector<std::unique_ptr<ReportGroup>> groups_;
    std::unique_ptr<ReportDataSource> source_;
    Event beforePrint_;
    Event afterPrint_;
    ErrorHandler onError_;
};

} // namespace lumetra
