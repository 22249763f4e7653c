// ReportLayout: lays a Report out into a ReportDocument, running its events.
//
// Rules the listings rely on:
// - a group footer prints while the data source still stands on the last row of the group
//   (the layout looks one row ahead to find where groups end);
// - a group header with new-page starts a page, except at the very top of the report;
// - the page header's events run for every page and may suppress it;
// - a band that does not fit moves to the next page, after the page footer and the page
//   header (and the headers of groups that repeat on every page); a band taller than a page
//   is clipped at the page bottom, never moved again;
// - the header of a group that repeats on every page prints once at a page break: it moves to
//   the next page, with the group's first row, when that row would not fit below it;
// - a suppressed band takes no space;
// - an exception in an event or the data source stops the layout and is reported once; so does
//   a failure that an event reports itself through failRunning().
#pragma once

#include "platform/report/ReportDocument.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QSet>
#include <QString>
#include <QVector>
#include <functional>
#include <utility>
#include <vector>

namespace lumetra {

class Report;
class ReportBand;
class ReportDataSource;
class ReportElement;
class LayoutObserver;

class ReportLayout {
public:
    explicit ReportLayout(Report& report);
    ReportDocument run();

    // Fails the innermost layout running on this thread, if any: it stops once the running event
    // returns and its document reads as failed. True when this is its first failure or no layout
    // runs, false when it had already failed.
    static bool failRunning(const QString& where, const QString& message);

private:
    struct PendingText {
        const ReportElement* element;
        QString text;
        qreal height;
    };

    bool guarded(const QString& where, const std::function<void()>& action);
    void fail(const QString& where, const QString& message);
    void walkRows();
    void openGroups(int fromLevel);
    void closeGroups(int toLevel);
    int changedLevel(int current);
    void startPage();
    void finishPage();
    // The page is complete: the observer may take it.
    void pageDone(int page);
    // keepWith: room the band needs below it on its page, or it moves to the next page.
    bool printBand(ReportBand& band, const QString& group = {}, bool repeated = false, qreal keepWith = 0);
    qreal followingHeight(int group) const;
    void place(ReportBand& band, QVector<PendingText>& texts, qreal top, qreal height, const QString& group);
    qreal measure(const QFont& font, const QString& text, qreal width, bool wrap) const;
    // `font`, or the largest smaller size of it in which `text` is at most `width` wide.
    QFont fitted(const QFont& font, const QString& text, qreal width);
    QString shared(const QString& text);
    QFont shared(const QFont& font);

    static constexpr qsizetype kSharedTextLength = 64;   // longer texts seldom repeat

    Report& report_;
    ReportDocument doc_;
    LayoutObserver* observer_ = nullptr;   // of this layout, from its start to its end
    ReportDataSource* source_ = nullptr;
    QRectF content_;
    qreal y_ = 0;
    qreal bodyBottom_ = 0;
    bool pageOpen_ = false;
    bool bodyStarted_ = false;
    bool failed_ = false;
    int rows_ = 0;
    std::vector<int> openGroups_;
    QStringList groupValues_;
    QString printedAt_;
    QImage metricsDevice_;
    std::vector<std::pair<QFont, QFontMetricsF>> metrics_;   // of the fonts fitted so far
    QSet<QString> texts_;
    std::vector<QFont> fonts_;
    QFont lastFontSeen_;
    int lastFont_ = -1;
};

} // namespace lumetra
