#include "platform/report/ReportPainter.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRawFont>
#include <QTextLayout>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace lumetra {

namespace {

// Qt's PDF engine compresses every page through two fresh buffers of 16 MiB. With glibc's
// default thresholds they end at the top of the heap, which is handed back to the system after
// each page, so the next page faults those pages in again: a third of the writing time. Serving
// blocks of that size from the heap and keeping up to 64 MiB free at its top makes every page
// reuse the same memory. Only touched pages count as resident, so peaks do not grow.
void keepPageBuffers()
{
#ifdef __GLIBC__
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        return true;
    }();
    Q_UNUSED(done);
#endif
}

QPageLayout pageLayoutOf(const QSizeF& pageSize)
{
    const bool landscape = pageSize.width() > pageSize.height();
    return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

QFont scaledFont(const QFont& font, qreal scale, int logicalDpi)
{
    QFont f = font;
    if (font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * 96.0 * scale / logicalDpi);
    else if (font.pixelSize() > 0)
        f.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
    return f;
}

struct WrappedText {
    QString text;
    QSizeF box;
    int flags;

    bool operator==(const WrappedText& other) const
    {
        return text == other.text && box == other.box && flags == other.flags;
    }
};

size_t qHash(const WrappedText& key, size_t seed = 0)
{
    return qHashMulti(seed, key.text, key.box.width(), key.box.height(), key.flags);
}

// A device font with its metrics; text widths add up cached character advances, which is all
// the alignment of one line needs and much cheaper than shaping the text twice.
struct DeviceFont {
    QFont font;
    QFontMetricsF metrics;
    std::array<qreal, 256> latin;
    // Texts already shaped in this font: indexes into PageRenderer's shaped texts. Texts of one
    // line by their text; word-wrapped ones also by their box and alignment, which decide their
    // line breaks and where each line goes.
    QHash<QString, int> shaped;
    QHash<WrappedText, int> wrapped;
    // Underlined, overlined or struck-out texts draw through drawText, which draws the lines.
    bool glyphRuns;

    DeviceFont(const QFont& f, const QPaintDevice* device)
        : font(f)
        , metrics(f, device)
        , glyphRuns(!f.underline() && !f.overline() && !f.strikeOut())
    {
        latin.fill(-1);
    }

    qreal advance(const QString& text)
    {
        qreal width = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 256) {
                if (latin[u] < 0)
                    latin[u] = metrics.horizontalAdvance(c);
                width += latin[u];
            } else {
                width += metrics.horizontalAdvance(c);
            }
        }
        return width;
    }
};

QRectF scaled(const QRectF& r, qreal s)
{
    return QRectF(r.left() * s, r.top() * s, r.width() * s, r.height() * s);
}

// Tabs and other control characters take drawText's path, which knows what to do with them.
bool plainLine(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20)
            return false;
    return true;
}

// Line breaks are the only control characters a word-wrapped text lays out here.
bool wrappable(const QString& text)
{
    for (const QChar c : text)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\n')) || c.unicode() == 0x9c)
            return false;
    return true;
}

// Draws the pages of one document on one device. Each text is shaped once per font (and, when
// word-wrapped, per box), with the QTextLayout lines QPainter::drawText would lay out for it, and
// its glyphs are drawn again wherever it appears, on any page. Consecutive texts of one font and
// colour go to the device as one glyph run, in the order of the page's items; shapes, clipped
// texts and font or colour changes end a run, so nothing is drawn out of order.
class PageRenderer {
public:
    PageRenderer(QPainter& painter, qreal scale)
        : painter_(painter)
        , device_(painter.device())
        , scale_(scale)
        , dpi_(device_ ? device_->logicalDpiY() : 96)
    {
        ReportPainter::installFontSubstitutes();
    }

    void paint(const ReportDocument& document, int page)
    {
        if (page >= 0 && page < document.pages.size())
            paint(document.pages[page]);
    }

    void paint(const ReportPage& page)
    {
        painter_.save();
        pen_ = painter_.pen();
        brushKnown_ = false;
        painterFont_ = nullptr;
        lastFont_ = nullptr;
        for (const ReportItem& item : page.items) {
            switch (item.kind) {
            case ReportItem::Kind::Rect:
                flush();
                setShapePen(item);
                setFill(item.fill);
                painter_.drawRect(scaled(item.rect, scale_));
                break;
            case ReportItem::Kind::Line:
                flush();
                setShapePen(item);
                painter_.drawLine(item.rect.topLeft() * scale_, item.rect.bottomRight() * scale_);
                break;
            case ReportItem::Kind::Text:
                if (!item.text.isEmpty())
                    text(item);
                break;
            }
        }
        flush();
        painter_.restore();
    }

private:
    struct Run {
        int font;    // index into rawFonts_
        int first;   // index into glyphIndexes_ and glyphPositions_
        int count;
    };
    struct Shaped {
        int firstRun;
        int runCount;
        QRectF bounds;   // word-wrapped texts: the lines' extent, from the box's top-left corner
    };

    // Shaped glyphs kept at most; past that the cache starts again, so that a long report of
    // mostly distinct texts does not keep them all.
    static constexpr size_t kMaxGlyphs = size_t(1) << 16;

    DeviceFont& deviceFont(const QFont& font)
    {
        if (lastFont_ && font == lastFontKey_)
            return *lastFont_;
        const QString key = font.key();
        DeviceFont*& slot = fontsByKey_[key];
        if (!slot) {
            fonts_.push_back(std::make_unique<DeviceFont>(scaledFont(font, scale_, dpi_), device_));
            slot = fonts_.back().get();
        }
        lastFont_ = slot;
        lastFontKey_ = font;
        return *slot;
    }

    // A text of one line, its glyphs placed from the start of its baseline.
    const Shaped& shape(DeviceFont& font, const QString& text)
    {
        const auto found = font.shaped.constFind(text);
        if (found != font.shaped.constEnd())
            return shaped_[size_t(*found)];
        makeRoom();
        QTextLayout layout(text, font.font, device_);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(painter_.layoutDirection());
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        layout.endLayout();
        Shaped result{int(runs_.size()), 0, QRectF()};
        addRuns(result, line, QPointF(-line.x(), -(line.y() + line.ascent())));
        font.shaped.insert(text, int(shaped_.size()));
        shaped_.push_back(result);
        return shaped_.back();
    }

    // A word-wrapped text in a box, laid out line by line as QPainter::drawText lays out
    // Qt::TextWordWrap: lines on whole pixels one leading apart, none past the one that reaches
    // the box's bottom, each aligned on its own and the whole block aligned in the box.
    const Shaped& shapeWrapped(DeviceFont& font, const QString& text, const QSizeF& box, int flags)
    {
        WrappedText key{text, box, flags};
        const auto found = font.wrapped.constFind(key);
        if (found != font.wrapped.constEnd())
            return shaped_[size_t(*found)];
        makeRoom();
        QString lines = text;
        lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(lines, font.font, device_);
        QTextOption option;
        option.setTextDirection(painter_.layoutDirection());
        option.setAlignment(Qt::AlignLeft);
        layout.setTextOption(option);
        const qreal leading = font.metrics.leading();
        qreal height = -leading;
        qreal width = 0;
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(std::max<qreal>(0, box.width()));
            height += leading;
            height = std::ceil(height);
            line.setPosition(QPointF(0, height));
            height += line.ascent() + line.descent();
            width = std::max(width, line.naturalTextWidth());
            if (height >= box.height())
                break;
        }
        layout.endLayout();

        qreal top = 0;
        if (flags & Qt::AlignBottom)
            top = box.height() - height;
        else if (flags & Qt::AlignVCenter)
            top = (box.height() - height) / 2;
        qreal left = 0;
        if (flags & Qt::AlignRight)
            left = box.width() - width;
        else if (flags & Qt::AlignHCenter)
            left = (box.width() - width) / 2;

        Shaped result{int(runs_.size()), 0, QRectF(left, top, width, height)};
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const qreal advance = line.horizontalAdvance();
            qreal x = 0;
            if (flags & Qt::AlignRight)
                x = box.width() - advance;
            else if (flags & Qt::AlignHCenter)
                x = (box.width() - advance) / 2;
            addRuns(result, line, QPointF(x, top));
        }
        font.wrapped.insert(key, int(shaped_.size()));
        shaped_.push_back(result);
        return shaped_.back();
    }

    void addRuns(Shaped& shaped, const QTextLine& line, const QPointF& offset)
    {
        for (const QGlyphRun& run : line.glyphRuns()) {
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            runs_.push_back({fontIndex(run.rawFont()), int(glyphIndexes_.size()), int(indexes.size())});
            for (qsizetype i = 0; i < indexes.size(); ++i) {
                glyphIndexes_.push_back(indexes[i]);
                glyphPositions_.push_back(positions[i] + offset);
            }
            ++shaped.runCount;
        }
    }

    void makeRoom()
    {
        if (glyphIndexes_.size() <= kMaxGlyphs)
            return;
        for (const auto& f : fonts_) {
            f->shaped.clear();
            f->wrapped.clear();
        }
        shaped_.clear();
        runs_.clear();
        glyphIndexes_.clear();
        glyphPositions_.clear();
    }

    int fontIndex(const QRawFont& font)
    {
        for (size_t i = 0; i < rawFonts_.size(); ++i)
            if (rawFonts_[i] == font)
                return int(i);
        rawFonts_.push_back(font);
        return int(rawFonts_.size()) - 1;
    }

    void text(const ReportItem& item)
    {
        DeviceFont& font = deviceFont(item.font);
        const QRectF box = scaled(item.rect, scale_);
        // Boxes align here as drawText aligns them for a painter that does not lay out right to left.
        const bool glyphRuns = font.glyphRuns && painter_.layoutDirection() != Qt::RightToLeft;
        if (item.wordWrap || item.text.contains(QLatin1Char('\n'))) {
            const int flags = int(item.alignment) | Qt::TextWordWrap;
            if (!glyphRuns || (flags & Qt::AlignJustify) || !wrappable(item.text)) {
                flush();
                setTextPen(item.color);
                setFont(font);
                painter_.drawText(box, flags, item.text);
                return;
            }
            const Shaped& shaped = shapeWrapped(font, item.text, box.size(), flags);
            draw(shaped, box.topLeft(), item.color, !box.contains(shaped.bounds.translated(box.topLeft())), box);
            return;
        }
        // Single line: place the baseline ourselves, far cheaper than the formatted path.
        const qreal width = font.advance(item.text);
        qreal x = box.left();
        if (item.alignment & Qt::AlignRight)
            x = box.right() - width;
        else if (item.alignment & Qt::AlignHCenter)
            x = box.left() + (box.width() - width) / 2;
        const qreal textHeight = font.metrics.ascent() + font.metrics.descent();
        qreal y = box.top() + font.metrics.ascent();
        if (item.alignment & Qt::AlignBottom)
            y = box.bottom() - font.metrics.descent();
        else if (item.alignment & Qt::AlignVCenter)
            y = box.top() + (box.height() - textHeight) / 2 + font.metrics.ascent();
        const QPointF origin(x, y);
        const bool clipped = width > box.width() + 0.5 || textHeight > box.height() + 0.5;

        if (!glyphRuns || !plainLine(item.text)) {
            flush();
            setTextPen(item.color);
            setFont(font);
            if (clipped) {
                painter_.save();
                painter_.setClipRect(box, Qt::IntersectClip);
                painter_.drawText(origin, item.text);
                painter_.restore();
            } else {
                painter_.drawText(origin, item.text);
            }
            return;
        }
        draw(shape(font, item.text), origin, item.color, clipped, box);
    }

    void draw(const Shaped& shaped, const QPointF& origin, QRgb color, bool clipped, const QRectF& box)
    {
        if (clipped) {
            flush();
            setTextPen(color);   // before save: restore must give back the pen this one knows
            painter_.save();
            painter_.setClipRect(box, Qt::IntersectClip);
        }
        for (int r = 0; r < shaped.runCount; ++r)
            add(runs_[size_t(shaped.firstRun + r)], origin, color);
        if (clipped) {
            flush();
            painter_.restore();
        }
    }

    // Appends a run to the pending glyph run, drawing what is pending first when the font or
    // the colour changes.
    void add(const Run& run, const QPointF& origin, QRgb color)
    {
        if (!batchIndexes_.empty() && (batchFont_ != run.font || batchColor_ != color))
            flush();
        batchFont_ = run.font;
        batchColor_ = color;
        for (int g = run.first; g < run.first + run.count; ++g) {
            batchIndexes_.push_back(glyphIndexes_[size_t(g)]);
            batchPositions_.push_back(origin + glyphPositions_[size_t(g)]);
        }
    }

    void flush()
    {
        if (batchIndexes_.empty())
            return;
        setTextPen(batchColor_);
        QGlyphRun run;
        run.setRawFont(rawFonts_[size_t(batchFont_)]);
        run.setRawData(batchIndexes_.data(), batchPositions_.data(), int(batchIndexes_.size()));
        painter_.drawGlyphRun(QPointF(), run);
        batchIndexes_.clear();
        batchPositions_.clear();
    }

    // Text needs only the pen's colour: the width stays as the last line left it, so that lines
    // and texts taking turns do not change the pen back and forth.
    void setTextPen(QRgb color)
    {
        const QColor wanted = QColor::fromRgba(color);
        if (pen_.color() == wanted)
            return;
        pen_.setColor(wanted);
        painter_.setPen(pen_);
    }

    void setShapePen(const ReportItem& item)
    {
        QPen pen(QColor::fromRgba(item.color));
        pen.setWidthF(item.penWidth * scale_);
        if (pen == pen_)
            return;
        pen_ = pen;
        painter_.setPen(pen_);
    }

    void setFill(QRgb fill)
    {
        if (brushKnown_ && fill == brush_)
            return;
        brushKnown_ = true;
        brush_ = fill;
        painter_.setBrush(qAlpha(fill) ? QBrush(QColor::fromRgba(fill)) : QBrush(Qt::NoBrush));
    }

    void setFont(DeviceFont& font)
    {
        if (painterFont_ == &font)
            return;
        painterFont_ = &font;
        painter_.setFont(font.font);
    }

    QPainter& painter_;
    QPaintDevice* device_;
    qreal scale_;
    int dpi_;

    std::vector<std::unique_ptr<DeviceFont>> fonts_;
    QHash<QString, DeviceFont*> fontsByKey_;
    DeviceFont* lastFont_ = nullptr;
    QFont lastFontKey_;

    std::vector<Shaped> shaped_;
    std::vector<Run> runs_;
    std::vector<quint32> glyphIndexes_;
    std::vector<QPointF> glyphPositions_;
    std::vector<QRawFont> rawFonts_;

    int batchFont_ = -1;
    QRgb batchColor_ = 0;
    std::vector<quint32> batchIndexes_;
    std::vector<QPointF> batchPositions_;

    QPen pen_;
    QRgb brush_ = 0;
    bool brushKnown_ = false;
    DeviceFont* painterFont_ = nullptr;
};

} // namespace

void ReportPainter::installFontSubstitutes()
{
    static const bool done = [] {
        const QStringList families = QFontDatabase::families();
        const auto substitute = [&](const QString& name, const QString& replacement) {
            if (!families.contains(name, Qt::CaseInsensitive) && families.contains(replacement, Qt::CaseInsensitive))
                QFont::insertSubstitution(name, replacement);
        };
        substitute(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
        substitute(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
        substitute(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(done);
}

void ReportPainter::paintPage(const ReportDocument& document, int page, QPainter& painter, qreal scale)
{
    PageRenderer(painter, scale).paint(document, page);
}

QImage ReportPainter::pageImage(const ReportDocument& document, int page, int dpi)
{
    const qreal scale = dpi / 96.0;
    QImage image(QSize(int(std::ceil(document.pageSize.width() * scale)), int(std::ceil(document.pageSize.height() * scale))),
                 QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(document, page, painter, scale);
    return image;
}

struct ReportPainter::PdfPages::State {
    QString path;
    QPdfWriter writer;
    QPainter painter;
    std::optional<PageRenderer> renderer;
    int pages = 0;

    explicit State(const QString& file)
        : path(file)
        , writer(file)
    {
    }
};

ReportPainter::PdfPages::PdfPages(const QString& path, const QString& title, const QSizeF& pageSize)
{
    keepPageBuffers();
    state_ = std::make_unique<State>(path);
    QPdfWriter& writer = state_->writer;
    writer.setResolution(600);
    writer.setPageLayout(pageLayoutOf(pageSize));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Lumetra"));
    if (!state_->painter.begin(&writer))
        throw ReportError(QStringLiteral("No se puede escribir el fichero PDF «%1»").arg(path));
    state_->renderer.emplace(state_->painter, writer.resolution() / 96.0);
}

ReportPainter::PdfPages::~PdfPages()
{
    if (state_ && state_->painter.isActive())
        state_->painter.end();
}

void ReportPainter::PdfPages::add(const ReportPage& page)
{
    if (state_->pages++ > 0)
        state_->writer.newPage();
    state_->renderer->paint(page);
}

void ReportPainter::PdfPages::finish()
{
    const QString path = state_->path;
    const bool ended = state_->painter.end();
    state_.reset();
    if (!ended || !QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("No se ha podido crear el fichero PDF «%1»").arg(path));
}

void ReportPainter::writePdf(const ReportDocument& document, const QString& path)
{
    PdfPages pdf(path, document.title, document.pageSize);
    for (const ReportPage& page : document.pages)
        pdf.add(page);
    pdf.finish();
}

void ReportPainter::writePng(const ReportDocument& document, const QString& path, int dpi)
{
    const QFileInfo info(path);
    for (int p = 0; p < document.pageCount(); ++p) {
        const QString file = p == 0 ? path
            : info.dir().filePath(QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(p + 1).arg(info.suffix()));
        if (!pageImage(document, p, dpi).save(file, "PNG"))
            throw ReportError(QStringLiteral("No se puede escribir la imagen «%1»").arg(file));
    }
}

void ReportPainter::print(const ReportDocument& document, QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(document.pageSize));
    printer.setDocName(document.title);
    keepPageBuffers();
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("No se puede imprimir en «%1»").arg(printer.printerName()));
    PageRenderer renderer(painter, printer.resolution() / 96.0);
    for (int p = 0; p < document.pageCount(); ++p) {
        if (p > 0)
            printer.newPage();
        renderer.paint(document, p);
    }
    painter.end();
}

} // namespace lumetra
