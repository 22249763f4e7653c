#include "platform/report/ReportLayout.h"

#include "platform/format/DateTexts.h"
#include "platform/format/DateTime.h"
#include "platform/report/LayoutObserver.h"
#include "platform/report/Report.h"
#include "platform/report/ReportProgress.h"
#include "platform/report/ReportText.h"

#include <QFontMetricsF>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>

namespace lumetra {

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780;

QString elementText(const ReportElement& element)
{
    switch (element.kind()) {
    case ReportElement::Kind::Label:
        return static_cast<const ReportLabel&>(element).caption();
    case ReportElement::Kind::Memo:
        return static_cast<const ReportMemo&>(element).lines().join(QLatin1Char('\n'));
    default:
        return QString();
    }
}

bool isText(const ReportElement& element)
{
    return element.kind() != ReportElement::Kind::Shape;
}

// The layouts running on this thread, innermost last (an event may lay out another report).
thread_local std::vector<ReportLayout*> running;

std::atomic<quint64> lastSerial{0};

QString failureText(const QString& where, const QString& message)
{
    return where.isEmpty() ? message : where + QStringLiteral(": ") + message;
}

} // namespace

ReportLayout::ReportLayout(Report& report)
    : report_(report)
    , metricsDevice_(1, 1, QImage::Format_ARGB32)
{
    metricsDevice_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    metricsDevice_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
}

void ReportLayout::fail(const QString& where, const QString& message)
{
    if (failed_)
        return;
    // The handler runs first, while the layout has not failed yet, so that a handler reporting
    // through failRunning() is told this is the first failure.
    if (report_.errorHandler()) {
        try {
            report_.errorHandler()(where, message);
        } catch (...) {
            // The error path itself must not throw out of the layout.
        }
    }
    if (!failed_) {
        failed_ = true;
        doc_.error = failureText(where, message);
    }
}

bool ReportLayout::failRunning(const QString& where, const QString& message)
{
    if (running.empty())
        return true;
    ReportLayout* layout = running.back();
    if (layout->failed_)
        return false;
    layout->failed_ = true;
    layout->doc_.error = failureText(where, message);
    return true;
}

bool ReportLayout::guarded(const QString& where, const std::function<void()>& action)
{
    if (failed_)
        return false;
    try {
        action();
        return !failed_;
    } catch (const std::exception& e) {
        fail(where, QString::fromUtf8(e.what()));
    } catch (...) {
        fail(where, QStringLiteral("error desconocido"));
    }
    return false;
}

ReportDocument ReportLayout::run()
{
    running.push_back(this);
    observer_ = LayoutObserver::current();
    doc_.serial = ++lastSerial;
    // The observer hears of the end however the layout ends; an exception out of here leaves
    // the document unfinished, which it must not take for a whole one.
    struct Leave {
        ReportLayout& layout;
        ~Leave()
        {
            running.pop_back();
            if (layout.observer_) {
                if (!layout.doc_.failed())
                    layout.doc_.error = QStringLiteral("interrumpido");
                layout.observer_->layoutEnded(layout.doc_);
            }
        }
    } leave{*this};
    doc_.title = report_.title().isEmpty() ? report_.name() : report_.title();
    doc_.pageSize = report_.pageSize();
    content_ = report_.contentRect();
    printedAt_ = FormatDateTime(QStringLiteral("dd/mm/yyyy hh:nn"), DateTime::now());

    if (report_.beforePrint())
        guarded(report_.name(), report_.beforePrint());
    source_ = report_.dataSource();

    startPage();
    if (source_)
        walkRows();
    else if (report_.detail())
        printBand(*report_.detail());
    if (report_.summary())
        printBand(*report_.summary());
    finishPage();
    if (!doc_.pages.isEmpty()) {
        doc_.pages.last().items.squeeze();
        pageDone(int(doc_.pages.size()) - 1);
    }

    if (report_.afterPrint())
        guarded(report_.name(), report_.afterPrint());
    if (LayoutObserver* observer = std::exchange(observer_, nullptr))
        observer->layoutEnded(doc_);
    return std::move(doc_);
}

void ReportLayout::pageDone(int page)
{
    if (observer_)
        observer_->pageLaidOut(doc_, page);
}

void ReportLayout::walkRows()
{
    bool empty = true;
    if (!guarded(report_.name(), [&] {
            source_->first();
            empty = source_->isEmpty();
            rows_ = empty ? 0 : source_->recordCount();
        }))
        return;
    if (empty)
        return;

    const int groupCount = int(report_.groups().size());
    openGroups(0);
    int done = 0;
    while (!failed_) {
        if (!ReportProgress::report(done++, rows_, doc_.pages.size())) {
            // Stopped by the person: not an error, nothing to report.
            failed_ = true;
            doc_.cancelled = true;
            doc_.error = QStringLiteral("Cancelado");
            return;
        }
        if (report_.detail())
            printBand(*report_.detail());
        int current = 0;
        if (!guarded(report_.name(), [&] { current = source_->recNo(); }))
            return;
        const bool last = current + 1 >= rows_;
        const int level = last ? 0 : changedLevel(current);
        if (failed_)
            return;
        closeGroups(level);
        if (last || failed_)
            return;
        bool eof = false;
        if (!guarded(report_.name(), [&] { source_->next(); eof = source_->eof(); }) || eof)
            return;
        if (level < groupCount)
            openGroups(level);
    }
}

// The outermost group whose value differs on the next row (the group count when none does).
int ReportLayout::changedLevel(int current)
{
    const auto& groups = report_.groups();
    int level = int(groups.size());
    guarded(report_.name(), [&] {
        source_->setRecNo(current + 1);
        for (int g = 0; g < int(groups.size()); ++g) {
            if (source_->text(groups[size_t(g)]->expression()) != groupValues_.value(g)) {
                level = g;
                break;
            }
        }
        source_->setRecNo(current);
    });
    return level;
}

void ReportLayout::openGroups(int fromLevel)
{
    const auto& groups = report_.groups();
    while (groupValues_.size() > fromLevel)
        groupValues_.removeLast();
    for (int g = fromLevel; g < int(groups.size()) && !failed_; ++g) {
        ReportGroup& group = *groups[size_t(g)];
        QString value;
        if (!guarded(group.header().name(), [&] { value = source_->text(group.expression()); }))
            return;
        groupValues_ << value;
        if (group.newPage() && bodyStarted_) {
            finishPage();
            startPage();
        }
        // Open only once its header is down: a header moved to the next page prints there once,
        // not also as the repeat of an open group.
        printBand(group.header(), value, false, group.repeatOnNewPage() ? followingHeight(g) : 0);
        openGroups_.push_back(g);
    }
}

// The room the first rows of group g take after its header: the inner headers and a detail.
qreal ReportLayout::followingHeight(int g) const
{
    const auto& groups = report_.groups();
    qreal height = report_.detail() && report_.detail()->isEnabled() ? report_.detail()->height() : 0;
    for (size_t inner = size_t(g) + 1; inner < groups.size(); ++inner)
        if (groups[inner]->header().isEnabled())
            height += groups[inner]->header().height();
    return height;
}

void ReportLayout::closeGroups(int toLevel)
{
    const auto& groups = report_.groups();
    for (int g = int(groups.size()) - 1; g >= toLevel && !failed_; --g) {
        if (!openGroups_.empty() && openGroups_.back() == g)
            openGroups_.pop_back();
        if (ReportBand* footer = groups[size_t(g)]->footer())
            printBand(*footer, groupValues_.value(g));
    }
}

// A finished page keeps no room it does not use; the next one starts with room for as many
// items, which pages of one report mostly have.
void ReportLayout::startPage()
{
    qsizetype expected = 0;
    if (!doc_.pages.isEmpty()) {
        doc_.pages.last().items.squeeze();
        expected = doc_.pages.last().items.size();
        pageDone(int(doc_.pages.size()) - 1);
    }
    doc_.pages.append(ReportPage{});
    doc_.pages.last().items.reserve(expected);
    pageOpen_ = true;
    bodyStarted_ = false;
    y_ = content_.top();
    bodyBottom_ = content_.bottom() - (report_.pageFooter() ? report_.pageFooter()->height() : 0);
    if (report_.pageHeader())
        printBand(*report_.pageHeader(), {}, true);
    const auto& groups = report_.groups();
    for (int g : openGroups_) {
        ReportGroup& group = *groups[size_t(g)];
        if (group.repeatOnNewPage())
            printBand(group.header(), groupValues_.value(g), true);
    }
}

void ReportLayout::finishPage()
{
    if (!pageOpen_)
        return;
    pageOpen_ = false;
    ReportBand* footer = report_.pageFooter();
    if (!footer || !footer->isEnabled() || failed_)
        return;
    bool print = true;
    if (footer->beforePrint() && !guarded(footer->name(), [&] { footer->beforePrint()(print); }))
        return;
    if (print) {
        QVector<PendingText> texts;
        qreal height = footer->height();
        for (const auto& e : footer->elements())
            if (e->isEnabled() && isText(*e))
                texts.append({e.get(), elementText(*e), e->geometry().height()});
        place(*footer, texts, content_.bottom() - height, height, {});
    }
    if (footer->afterPrint())
        guarded(footer->name(), [&] { footer->afterPrint()(print); });
}

qreal ReportLayout::measure(const QFont& font, const QString& text, qreal width, bool wrap) const
{
    const QFontMetricsF metrics(font, const_cast<QImage*>(&metricsDevice_));
    const int flags = wrap ? Qt::TextWordWrap : 0;
    return metrics.boundingRect(QRectF(0, 0, std::max<qreal>(width, 1), 1e6), flags, text).height();
}

bool ReportLayout::printBand(ReportBand& band, const QString& group, bool repeated, qreal keepWith)
{
    if (failed_ || !band.isEnabled())
        return false;
    bool print = true;
    if (band.beforePrint() && !guarded(band.name(), [&] { band.beforePrint()(print); }))
        return false;
    if (!print) {
        if (band.afterPrint())
            guarded(band.name(), [&] { band.afterPrint()(false); });
        return false;
    }

    // Texts first: print handlers run once, and stretched texts decide the band's height.
    QVector<PendingText> texts;
    qreal height = band.height();
    const QFont bandFont = band.font(report_.font());
    const bool ok = guarded(band.name(), [&] {
        for (const auto& e : band.elements()) {
            if (!e->isEnabled() || !isText(*e))
                continue;
            QString text = elementText(*e);
            if (e->kind() == ReportElement::Kind::DataText) {
                const auto& data = static_cast<const ReportDataText&>(*e);
                const bool bound = source_ && !data.field().isEmpty() && !source_->isEmpty();
                if (data.onPrintNumber())
                    text = data.onPrintNumber()(bound ? source_->number(data.field()) : 0.0);
                else if (bound)
                    text = source_->text(data.field());
                if (data.onPrint())
                    data.onPrint()(text);
            }
            qreal textHeight = e->geometry().height();
            if (e->wordWrap() && e->stretch() && !text.isEmpty())
                textHeight = std::max(textHeight, measure(e->font(bandFont), text, e->geometry().width(), true));
            height = std::max(height, e->geometry().top() + textHeight);
            texts.append({e.get(), text, textHeight});
        }
    });
    if (!ok)
        return false;

    if (band.type() != BandType::PageHeader && !repeated) {
        if (y_ + height + keepWith > bodyBottom_ && bodyStarted_) {
            finishPage();
            startPage();
            if (failed_)
                return false;
        }
        bodyStarted_ = true;
    }
    // Clipped at the page bottom rather than moved again: a band taller than a page ends here.
    height = std::max<qreal>(0, std::min(height, bodyBottom_ - y_));
    place(band, texts, y_, height, group);
    y_ += height;

    if (band.afterPrint())
        guarded(band.name(), [&] { band.afterPrint()(true); });
    return true;
}

// Texts repeat a lot (amounts, codes, descriptions): each distinct one is kept once and shared.
QFont ReportLayout::fitted(const QFont& font, const QString& text, qreal width)
{
    const auto widthIn = [&](const QFont& f) {
        auto found = std::find_if(metrics_.begin(), metrics_.end(), [&](const auto& m) { return m.first == f; });
        if (found == metrics_.end()) {
            metrics_.emplace_back(f, QFontMetricsF(f, &metricsDevice_));
            found = metrics_.end() - 1;
        }
        return found->second.horizontalAdvance(text);
    };
    // Units to spare: the pages are drawn at other resolutions, where hinting moves glyphs, and
    // a figure that fills its box would touch the next column's.
    const qreal room = width - 3;
    const qreal natural = widthIn(font);
    if (natural <= room || room <= 0)
        return font;
    QFont smaller = font;
    qreal points = std::floor(font.pointSizeF() * room / natural * 4) / 4;
    for (; points > 1; points -= 0.25) {
        smaller.setPointSizeF(points);
        if (widthIn(smaller) <= room)
            break;
    }
    return smaller;
}

QString ReportLayout::shared(const QString& text)
{
    if (text.isEmpty() || text.size() > kSharedTextLength)
        return text;
    const auto found = texts_.constFind(text);
    if (found != texts_.constEnd())
        return *found;
    texts_.insert(text);
    return text;
}

// Handlers often set a band's font anew for every row: its items keep one QFont per distinct font.
QFont ReportLayout::shared(const QFont& font)
{
    if (lastFont_ >= 0 && font == lastFontSeen_) {
        lastFontSeen_ = font;   // the same QFont next time compares at once
        return fonts_[size_t(lastFont_)];
    }
    lastFontSeen_ = font;
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == font) {
            lastFont_ = int(i);
            return fonts_[i];
        }
    }
    fonts_.push_back(font);
    lastFont_ = int(fonts_.size()) - 1;
    return font;
}

void ReportLayout::place(ReportBand& band, QVector<PendingText>& texts, qreal top, qreal height, const QString& group)
{
    const int page = doc_.pages.size() - 1;
    const int bandIndex = doc_.bands.size();
    PrintedBand printed;
    printed.page = page;
    printed.name = band.name();
    printed.type = band.type();
    printed.group = group;
    printed.rect = QRectF(content_.left(), top, content_.width(), height);

    QVector<ReportItem>& items = doc_.pages[page].items;
    const QFont bandFont = band.font(report_.font());
    const qreal left = content_.left();
    const qreal bottom = top + height;

    for (const auto& e : band.elements()) {
        if (!e->isEnabled() || e->kind() != ReportElement::Kind::Shape)
            continue;
        const auto& shape = static_cast<const ReportShape&>(*e);
        const QRectF g = e->geometry().translated(left, top);
        if (g.top() > bottom)
            continue;
        ReportItem item;
        item.band = bandIndex;
        item.color = shape.pen().rgba();
        item.penWidth = float(shape.penWidth());
        switch (shape.shape()) {
        case ReportShape::Shape::Rectangle:
            item.kind = ReportItem::Kind::Rect;
            item.rect = g;
            item.fill = shape.brush().isValid() ? shape.brush().rgba() : 0;
            break;
        case ReportShape::Shape::HorizontalLine:
            item.kind = ReportItem::Kind::Line;
            item.rect = QRectF(QPointF(g.left(), g.center().y()), QPointF(g.right(), g.center().y()));
            break;
        case ReportShape::Shape::VerticalLine:
            item.kind = ReportItem::Kind::Line;
            item.rect = QRectF(QPointF(g.center().x(), g.top()), QPointF(g.center().x(), std::min(g.bottom(), bottom)));
            break;
        }
        items.append(item);
    }

    std::vector<std::pair<QPointF, QString>> reading;
    reading.reserve(size_t(texts.size()));
    for (PendingText& t : texts) {
        const ReportElement& e = *t.element;
        if (e.kind() == ReportElement::Kind::SysData) {
            const auto& sys = static_cast<const ReportSysData&>(e);
            t.text = sys.prefix()
                + (sys.data() == ReportSysData::Data::PageNumber ? QString::number(page + 1) : printedAt_);
        }
        QRectF g = e.geometry().translated(left, top);
        g.setHeight(t.height);
        if (g.top() >= bottom && height > 0)
            continue;
        if (g.bottom() > bottom)
            g.setBottom(bottom);
        ReportItem item;
        item.kind = ReportItem::Kind::Text;
        item.band = bandIndex;
        item.rect = g;
        // A one-line text prints its line breaks as spaces, as it has room for one line only.
        item.text = shared(e.wordWrap() ? ReportText::printable(t.text) : ReportText::printable(t.text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        item.font = shared(e.shrinkToFit() && !e.wordWrap() ? fitted(e.font(bandFont), item.text, g.width()) : e.font(bandFont));
        item.alignment = e.alignment();
        item.wordWrap = e.wordWrap();
        item.color = e.color().rgba();
        items.append(item);
        reading.emplace_back(QPointF(g.left(), std::round(g.top())), item.text);
    }
    std::stable_sort(reading.begin(), reading.end(), [](const auto& a, const auto& b) {
        return a.first.y() != b.first.y() ? a.first.y() < b.first.y() : a.first.x() < b.first.x();
    });
    printed.texts.reserve(qsizetype(reading.size()));
    for (const auto& r : reading)
        printed.texts << r.second;
    doc_.bands.append(std::move(printed));
}

} // namespace lumetra
