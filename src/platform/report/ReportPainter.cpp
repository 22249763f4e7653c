#include "platform/report/ReportPainter.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QFontDatabase>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <array>
#include <cmath>

namespace lumetra {

namespace {

QPageLayout pageLayoutOf(const ReportDocument& document)
{
    const bool landscape = document.pageSize.width() > document.pageSize.height();
    return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

QFont deviceFont(const QFont& font, qreal scale, int logicalDpi)
{
    QFont f = font;
    if (font.pointSizeF() > 0)
        f.setPointSizeF(font.pointSizeF() * 96.0 * scale / logicalDpi);
    else if (font.pixelSize() > 0)
        f.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
    return f;
}

// A device font with its metrics; text widths add up cached character advances, which is all
// the alignment of one line needs and much cheaper than shaping the text twice.
struct DeviceFont {
    QFont font;
    QFontMetricsF metrics;
    std::array<qreal, 256> latin;

    DeviceFont(const QFont& f, const QPaintDevice* device)
        : font(f)
        , metrics(f, device)
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
    if (page < 0 || page >= document.pages.size())
        return;
    installFontSubstitutes();
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    QHash<QString, DeviceFont> fonts;   // one scaled copy per distinct font on the page
    QFont lastFont;
    DeviceFont* current = nullptr;

    painter.save();
    for (const ReportItem& item : document.pages[page].items) {
        switch (item.kind) {
        case ReportItem::Kind::Rect: {
            QPen pen(item.color);
            pen.setWidthF(item.penWidth * scale);
            painter.setPen(pen);
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : Qt::NoBrush);
            painter.drawRect(scaled(item.rect, scale));
            break;
        }
        case ReportItem::Kind::Line: {
            QPen pen(item.color);
            pen.setWidthF(item.penWidth * scale);
            painter.setPen(pen);
            painter.drawLine(item.rect.topLeft() * scale, item.rect.bottomRight() * scale);
            break;
        }
        case ReportItem::Kind::Text: {
            if (item.text.isEmpty())
                break;
            if (!current || !(item.font == lastFont)) {
                const QString key = item.font.key();
                auto it = fonts.find(key);
                if (it == fonts.end())
                    it = fonts.insert(key, DeviceFont(deviceFont(item.font, scale, dpi), painter.device()));
                current = &*it;
                lastFont = item.font;
                painter.setFont(current->font);
            }
            DeviceFont* it = current;
            painter.setPen(item.color);
            const QRectF box = scaled(item.rect, scale);
            if (item.wordWrap || item.text.contains(QLatin1Char('\n'))) {
                painter.drawText(box, int(item.alignment) | Qt::TextWordWrap, item.text);
                break;
            }
            // Single line: place the baseline ourselves, far cheaper than the formatted path.
            const qreal width = it->advance(item.text);
            qreal x = box.left();
            if (item.alignment & Qt::AlignRight)
                x = box.right() - width;
            else if (item.alignment & Qt::AlignHCenter)
                x = box.left() + (box.width() - width) / 2;
            const qreal textHeight = it->metrics.ascent() + it->metrics.descent();
            qreal y = box.top() + it->metrics.ascent();
            if (item.alignment & Qt::AlignBottom)
                y = box.bottom() - it->metrics.descent();
            else if (item.alignment & Qt::AlignVCenter)
                y = box.top() + (box.height() - textHeight) / 2 + it->metrics.ascent();
            if (width > box.width() + 0.5 || textHeight > box.height() + 0.5) {
                painter.save();
                painter.setClipRect(box, Qt::IntersectClip);
                painter.drawText(QPointF(x, y), item.text);
                painter.restore();
            } else {
                painter.drawText(QPointF(x, y), item.text);
            }
            break;
        }
        }
    }
    painter.restore();
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

void ReportPainter::writePdf(const ReportDocument& document, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(pageLayoutOf(document));
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Lumetra"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(QStringLiteral("No se puede escribir el fichero PDF «%1»").arg(path));
    const qreal scale = writer.resolution() / 96.0;
    for (int p = 0; p < document.pageCount(); ++p) {
        if (p > 0)
            writer.newPage();
        paintPage(document, p, painter, scale);
    }
    painter.end();
    if (!QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("No se ha podido crear el fichero PDF «%1»").arg(path));
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
    printer.setPageLayout(pageLayoutOf(document));
    printer.setDocName(document.title);
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("No se puede imprimir en «%1»").arg(printer.printerName()));
    const qreal scale = printer.resolution() / 96.0;
    for (int p = 0; p < document.pageCount(); ++p) {
        if (p > 0)
            printer.newPage();
        paintPage(document, p, painter, scale);
    }
    painter.end();
}

} // namespace lumetra
