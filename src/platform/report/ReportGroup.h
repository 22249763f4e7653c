// ReportGroup: a group of consecutive rows with the same value of a field (the expression).
// Its header prints before the group's first row, its footer after its last row while the
// data source still stands on that row. Groups nest in the order they were added (outer first).
#pragma once

#include "platform/report/ReportBand.h"

#include <QString>
#include <memory>

namespace lumetra {

class ReportGroup {
public:
    ReportGroup(const QString& name, const QString& expression, qreal headerHeight);

    const QString& expression() const { return expression_; }
    void setExpression(const QString& field) { expression_ = field; }
    // The header starts a new page (not at the very top of the report).
    bool newPage() const { return newPage_; }
    void setNewPage(bool newPage) { newPage_ = newPage; }
    // The header prints again at the top of every page the group continues on; it never ends a
    // page without the group's first row below it.
    bool repeatOnNewPage() const { return repeat_; }
    void setRepeatOnNewPage(bool repeat) { repeat_ = repeat; }

    ReportBand& header() { return header_; }
    const ReportBand& header() const { return header_; }
    ReportBand* footer() const { return footer_.get(); }
    ReportBand& addFooter(const QString& name, qreal height);

private:
    QString expression_;
    bool newPage_ = false;
    bool repeat_ = false;
    ReportBand header_;
    std::unique_ptr<ReportBand> footer_;
};

} // namespace lumetra
