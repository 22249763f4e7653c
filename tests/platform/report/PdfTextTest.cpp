// Texts written to PDF, read back with poppler's tools: a text that repeats on a document in
// other fonts, colours, sizes, alignments and boxes prints each time as that item says, texts
// and shapes cover each other in the order of the page's items, and word-wrapped texts break
// and sit exactly where QPainter::drawText puts them.
#include "platform/report/PrintedText.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportPainter.h"
#include "support/TestTools.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace lumetra;

namespace {

constexpr qreal kPointsPerUnit = 72.0 / 96.0;
const QString kTotal = QStringLiteral("Total 1.234,56 €");

ReportItem text(const QString& content, const QRectF& rect, const QFont& font, const QColor& color,
                Qt::Alignment alignment, bool wrap = false)
{
    ReportItem item;
    item.text = content;
    item.rect = rect;
    item.font = font;
    item.color = color.rgba();
    item.alignment = alignment;
    item.wordWrap = wrap;
    return item;
}

ReportDocument document(const QList<QVector<ReportItem>>& pages)
{
    ReportDocument doc;
    doc.title = QStringLiteral("Textos");
    doc.pageSize = QSizeF(794, 1123);
    for (const auto& items : pages)
        doc.pages.append(ReportPage{items});
    return doc;
}

QFont dejaVu(int points, bool bold = false, bool italic = false)
{
    return QFont(QStringLiteral("DejaVu Sans"), points, bold ? QFont::Bold : QFont::Normal, italic);
}

// One line of text as pdftohtml finds it: where (points), in which font and colour.
struct StyledLine {
    int page = 0;   // 0-based
    QRectF box;
    QString text;
    int size = 0;
    QString color;
    bool bold = false;
    bool italic = false;
};

QList<StyledLine> styledLines(const QString& pdf)
{
    const QString xml = test::output(QStringLiteral("pdftohtml"), {QStringLiteral("-xml"), QStringLiteral("-zoom"), QStringLiteral("1"),
                                                          QStringLiteral("-i"), QStringLiteral("-stdout"), pdf});
    QXmlStreamReader reader(xml);
    QMap<QString, QPair<int, QString>> fonts;
    QList<StyledLine> lines;
    int page = -1;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = reader.attributes();
        if (reader.name() == QLatin1String("page")) {
            ++page;
        } else if (reader.name() == QLatin1String("fontspec")) {
            fonts[a.value(QStringLiteral("id")).toString()] = {a.value(QStringLiteral("size")).toInt(), a.value(QStringLiteral("color")).toString()};
        } else if (reader.name() == QLatin1String("text")) {
            StyledLine line;
            line.page = page;
            line.box = QRectF(a.value(QStringLiteral("left")).toDouble(), a.value(QStringLiteral("top")).toDouble(),
                              a.value(QStringLiteral("width")).toDouble(), a.value(QStringLiteral("height")).toDouble());
            const auto font = fonts.value(a.value(QStringLiteral("font")).toString());
            line.size = font.first;
            line.color = font.second;
            // Bold and italic come as <b> and <i> around the characters.
            for (int depth = 1; depth > 0;) {
                switch (reader.readNext()) {
                case QXmlStreamReader::StartElement:
                    ++depth;
                    line.bold = line.bold || reader.name() == QLatin1String("b");
                    line.italic = line.italic || reader.name() == QLatin1String("i");
                    break;
                case QXmlStreamReader::EndElement: --depth; break;
                case QXmlStreamReader::Characters: line.text += reader.text(); break;
                default: break;
                }
            }
            lines << line;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return lines;
}

class PdfTextTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(PdfTextTest, ATextThatRepeatsPrintsInEachItemsFontColourSizeAndPlace)
{
    const QFont regular = dejaVu(9), bold = dejaVu(9, true), large = dejaVu(14, false, true);
    const QRectF line(40, 0, 400, 20);
    const auto at = [&](qreal top, qreal height = 20) { return QRectF(line.left(), top, line.width(), height); };
    const ReportDocument doc = document({
        {text(kTotal, at(40), regular, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
         text(kTotal, at(80), bold, Qt::red, Qt::AlignRight | Qt::AlignVCenter),
         text(kTotal, at(120, 30), large, Qt::blue, Qt::AlignHCenter | Qt::AlignVCenter),
         text(kTotal, at(170), regular, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
         // Too long for its box: cut at the box, and the texts on either side keep their colours.
         text(kTotal + QStringLiteral(" y más"), QRectF(40, 210, 60, 20), regular, Qt::red, Qt::AlignLeft | Qt::AlignVCenter),
         text(kTotal, at(250), regular, Qt::red, Qt::AlignLeft | Qt::AlignVCenter)},
        {text(kTotal, at(40), bold, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
         text(kTotal, at(80), regular, Qt::blue, Qt::AlignRight | Qt::AlignVCenter),
         text(kTotal, at(120), regular, Qt::darkGreen, Qt::AlignLeft | Qt::AlignVCenter)},
    });
    ReportPainter::writePdf(doc, file(QStringLiteral("textos.pdf")));
    const QList<StyledLine> lines = styledLines(file(QStringLiteral("textos.pdf")));

    struct Expected {
        int page;
        qreal top;   // report units
        bool bold, italic;
        int size;
        const char* color;
        Qt::Alignment alignment;
    };
    const Expected expected[] = {
        {0, 40, false, false, 9, "#000000", Qt::AlignLeft},   {0, 80, true, false, 9, "#ff0000", Qt::AlignRight},
        {0, 120, false, true, 14, "#0000ff", Qt::AlignHCenter}, {0, 170, false, false, 9, "#000000", Qt::AlignLeft},
        {0, 210, false, false, 9, "#ff0000", Qt::AlignLeft},  {0, 250, false, false, 9, "#ff0000", Qt::AlignLeft},
        {1, 40, true, false, 9, "#000000", Qt::AlignLeft},    {1, 80, false, false, 9, "#0000ff", Qt::AlignRight},
        {1, 120, false, false, 9, "#008000", Qt::AlignLeft},
    };
    ASSERT_EQ(lines.size(), int(std::size(expected)));
    for (int i = 0; i < lines.size(); ++i) {
        const StyledLine& got = lines[i];
        const Expected& want = expected[i];
        const std::string where = "line " + std::to_string(i + 1) + ": " + got.text.toStdString();
        EXPECT_EQ(got.page, want.page) << where;
        EXPECT_TRUE(got.text.startsWith(kTotal)) << where;
        EXPECT_EQ(got.bold, want.bold) << where;
        EXPECT_EQ(got.italic, want.italic) << where;
        EXPECT_EQ(got.size, want.size) << where;
        EXPECT_EQ(got.color, QLatin1String(want.color)) << where;
        // pdftohtml gives whole points; the box is in report units.
        EXPECT_NEAR(got.box.center().y(), (want.top + (want.size > 9 ? 15 : 10)) * kPointsPerUnit, 2) << where;
        if (want.alignment & Qt::AlignLeft)
            EXPECT_NEAR(got.box.left(), line.left() * kPointsPerUnit, 1.5) << where;
        else if (want.alignment & Qt::AlignRight)
            EXPECT_NEAR(got.box.right(), line.right() * kPointsPerUnit, 1.5) << where;
        else
            EXPECT_NEAR(got.box.center().x(), line.center().x() * kPointsPerUnit, 1.5) << where;
    }
    // The same text in one font is as wide wherever it prints, and bold is wider.
    EXPECT_NEAR(lines[0].box.width(), lines[3].box.width(), 1);
    EXPECT_NEAR(lines[1].box.width(), lines[6].box.width(), 1);
    EXPECT_GT(lines[1].box.width(), lines[0].box.width() + 3);
}

// Pixels of the page rendered at 72 dpi (one pixel a point) inside `box` (report units), leaving
// a pixel's margin, that are darker than `threshold` in any channel.
int darkPixels(const QImage& page, const QRectF& box, int threshold = 128)
{
    const QRect r = QRectF(box.topLeft() * kPointsPerUnit, box.size() * kPointsPerUnit).toAlignedRect().adjusted(1, 1, -1, -1);
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = page.pixel(x, y);
            dark += std::min({qRed(c), qGreen(c), qBlue(c)}) < threshold;
        }
    return dark;
}

TEST_F(PdfTextTest, TextsAndShapesCoverEachOtherInTheOrderOfThePageItems)
{
    const QFont font = dejaVu(12);
    const QRectF hidden(40, 40, 200, 24), shown(40, 100, 200, 24);
    ReportItem cover;
    cover.kind = ReportItem::Kind::Rect;
    cover.rect = QRectF(30, 30, 300, 40);
    cover.color = qRgb(200, 200, 200);
    cover.fill = qRgb(200, 200, 200);
    ReportItem rule;   // a line through the second text, drawn before it
    rule.kind = ReportItem::Kind::Line;
    rule.rect = QRectF(QPointF(30, 112), QPointF(330, 112));
    rule.color = qRgb(200, 200, 200);
    rule.penWidth = 30;
    const ReportDocument doc = document({{
        text(kTotal, hidden, font, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
        text(QStringLiteral("Debajo"), hidden.translated(120, 0), font, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
        cover,
        rule,
        text(kTotal, shown, font, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
    }});
    const QString pdf = file(QStringLiteral("orden.pdf"));
    ReportPainter::writePdf(doc, pdf);
    test::output(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, file(QStringLiteral("orden"))});
    const QImage page(file(QStringLiteral("orden.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(darkPixels(page, hidden.united(hidden.translated(120, 0))), 0) << "texts under the rectangle show through it";
    EXPECT_GT(darkPixels(page, shown), 40) << "the text drawn after the line is under it";
    // Covered texts are still there to select and search.
    const QString words = test::output(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(words.contains(QStringLiteral("Debajo")));
    EXPECT_EQ(words.count(QStringLiteral("1.234,56")), 2);
}

// The word-wrapped items of `doc`'s first page drawn by QPainter::drawText alone, on a PDF page
// set up as ReportPainter sets up its own.
void drawTextReference(const ReportDocument& doc, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    const qreal scale = writer.resolution() / 96.0;
    for (const ReportItem& item : doc.pages[0].items) {
        painter.setFont(item.font);
        painter.setPen(QColor::fromRgba(item.color));
        const QRectF box(item.rect.topLeft() * scale, item.rect.size() * scale);
        painter.drawText(box, int(item.alignment) | Qt::TextWordWrap, item.text);
    }
}

TEST_F(PdfTextTest, WordWrappedTextsBreakAndSitWhereDrawTextPutsThem)
{
    const QString description = QStringLiteral("Lente progresiva orgánica 1.60 antirreflejante con tratamiento endurecido");
    const QFont font = dejaVu(8), bold = dejaVu(8, true);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter, centred = Qt::AlignHCenter | Qt::AlignBottom;
    const ReportDocument doc = document({{
        // The same text in boxes of other widths, heights and alignments breaks in other places.
        text(description, QRectF(40, 40, 160, 60), font, Qt::black, Qt::AlignLeft | Qt::AlignTop, true),
        text(description, QRectF(260, 40, 300, 60), font, Qt::black, Qt::AlignLeft | Qt::AlignTop, true),
        text(description, QRectF(40, 140, 160, 60), font, Qt::black, right, true),
        text(description, QRectF(260, 140, 220, 80), bold, Qt::black, centred, true),
        // Shorter than its box: one line, placed by the alignment.
        text(QStringLiteral("Gafa de sol"), QRectF(40, 260, 160, 30), font, Qt::black, right, true),
        // Lines of a memo, and more lines than the box holds: the ones past its bottom are left out.
        text(QStringLiteral("Primera línea\nSegunda línea algo más larga que la caja\nTercera"), QRectF(260, 260, 120, 40), font,
             Qt::black, Qt::AlignLeft | Qt::AlignVCenter, false),
        text(description + QLatin1Char(' ') + description, QRectF(40, 340, 100, 30), font, Qt::black, Qt::AlignLeft | Qt::AlignTop, true),
    }});
    const QString printed = file(QStringLiteral("ajustados.pdf")), reference = file(QStringLiteral("referencia.pdf"));
    ReportPainter::writePdf(doc, printed);
    drawTextReference(doc, reference);
    const test::PdfPages got = test::pdfWords(printed), want = test::pdfWords(reference);
    ASSERT_EQ(got.words.size(), want.words.size());
    ASSERT_GT(want.words.size(), 40);
    for (int i = 0; i < want.words.size(); ++i) {
        EXPECT_EQ(got.words[i].text, want.words[i].text) << i;
        EXPECT_NEAR(got.words[i].box.left(), want.words[i].box.left(), 0.01) << want.words[i].text.toStdString();
        EXPECT_NEAR(got.words[i].box.top(), want.words[i].box.top(), 0.01) << want.words[i].text.toStdString();
        EXPECT_NEAR(got.words[i].box.right(), want.words[i].box.right(), 0.01) << want.words[i].text.toStdString();
    }
}

} // namespace
