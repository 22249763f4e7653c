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

ReportItem text(const QString& content, const QRectF& rect, const QFont& font, const QColor& color, Qt::Alignment alignment,
                bool wrap = false)
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
    int page = -1;   // 0-based
    QRectF box;
    QString text;
    int size = 0;
    QString color;
    bool bold = false, italic = false;
};

QList<StyledLine> styledLines(const QString& pdf)
{
    QXmlStreamReader reader(test::output("pdftohtml", {"-xml", "-zoom", "1", "-i", "-stdout", pdf}));
    QMap<QString, QPair<int, QString>> fonts;
    QList<StyledLine> lines;
    int page = -1;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = reader.attributes();
        const auto number = [&](const char* name) { return a.value(QLatin1String(name)).toDouble(); };
        if (reader.name() == QLatin1String("page")) {
            ++page;
        } else if (reader.name() == QLatin1String("fontspec")) {
            fonts[a.value("id").toString()] = {int(number("size")), a.value("color").toString()};
        } else if (reader.name() == QLatin1String("text")) {
            StyledLine line;
            line.page = page;
            line.box = QRectF(number("left"), number("top"), number("width"), number("height"));
            std::tie(line.size, line.color) = fonts.value(a.value("font").toString());
            // Bold and italic come as <b> and <i> around the characters.
            for (int depth = 1; depth > 0;) {
                const auto token = reader.readNext();
                if (token == QXmlStreamReader::StartElement) {
                    ++depth;
                    line.bold = line.bold || reader.name() == QLatin1String("b");
                    line.italic = line.italic || reader.name() == QLatin1String("i");
                }
                depth -= token == QXmlStreamReader::EndElement;
                if (token == QXmlStreamReader::Characters)
                    line.text += reader.text();
            }
            lines << line;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return lines;
}

class PdfTextTest : public ::testing::Test {
protected:
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(PdfTextTest, ATextThatRepeatsPrintsInEachItemsFontColourSizeAndPlace)
{
    const QFont regular = dejaVu(9), bold = dejaVu(9, true), large = dejaVu(14, false, true);
    const struct Row {
        int page;
        qreal top;
        const QFont& font;
        QColor color;
        Qt::Alignment alignment;
        qreal width = 400, height = 20;
        const char* more = "";
    } rows[] = {
        {0, 40, regular, Qt::black, Qt::AlignLeft}, {0, 80, bold, Qt::red, Qt::AlignRight},
        {0, 120, large, Qt::blue, Qt::AlignHCenter, 400, 30}, {0, 170, regular, Qt::black, Qt::AlignLeft},
        // Too long for its box: cut at the box, and the texts on either side keep their colours.
        {0, 210, regular, Qt::red, Qt::AlignLeft, 60, 20, " y más"}, {0, 250, regular, Qt::red, Qt::AlignLeft},
        {1, 40, bold, Qt::black, Qt::AlignLeft}, {1, 80, regular, Qt::blue, Qt::AlignRight},
        {1, 120, regular, Qt::darkGreen, Qt::AlignLeft},
    };
    const qreal left = 40, right = 440;
    QList<QVector<ReportItem>> pages(2);
    for (const Row& r : rows)
        pages[r.page] << text(kTotal + QString::fromUtf8(r.more), QRectF(left, r.top, r.width, r.height), r.font, r.color,
                              r.alignment | Qt::AlignVCenter);
    ReportPainter::writePdf(document(pages), file("textos.pdf"));
    const QList<StyledLine> lines = styledLines(file("textos.pdf"));

    ASSERT_EQ(lines.size(), int(std::size(rows)));
    for (int i = 0; i < lines.size(); ++i) {
        const StyledLine& got = lines[i];
        const Row& want = rows[i];
        const std::string where = "line " + std::to_string(i + 1) + ": " + got.text.toStdString();
        EXPECT_EQ(got.page, want.page) << where;
        EXPECT_TRUE(got.text.startsWith(kTotal)) << where;
        EXPECT_EQ(got.bold, want.font.bold()) << where;
        EXPECT_EQ(got.italic, want.font.italic()) << where;
        EXPECT_EQ(got.size, want.font.pointSize()) << where;
        EXPECT_EQ(got.color, want.color.name()) << where;
        // pdftohtml gives whole points; the box is in report units.
        EXPECT_NEAR(got.box.center().y(), (want.top + want.height / 2) * kPointsPerUnit, 2) << where;
        if (want.alignment & Qt::AlignLeft)
            EXPECT_NEAR(got.box.left(), left * kPointsPerUnit, 1.5) << where;
        else if (want.alignment & Qt::AlignRight)
            EXPECT_NEAR(got.box.right(), right * kPointsPerUnit, 1.5) << where;
        else
            EXPECT_NEAR(got.box.center().x(), (left + right) / 2 * kPointsPerUnit, 1.5) << where;
    }
    // The same text in one font is as wide wherever it prints, and bold is wider.
    EXPECT_NEAR(lines[0].box.width(), lines[3].box.width(), 1);
    EXPECT_NEAR(lines[1].box.width(), lines[6].box.width(), 1);
    EXPECT_GT(lines[1].box.width(), lines[0].box.width() + 3);
}

// Pixels of the page rendered at 72 dpi (one pixel a point) inside `box` (report units), leaving
// a pixel's margin, that are darker than mid-grey in any channel.
int darkPixels(const QImage& page, const QRectF& box)
{
    const QRect r = QRectF(box.topLeft() * kPointsPerUnit, box.size() * kPointsPerUnit).toAlignedRect().adjusted(1, 1, -1, -1);
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = page.pixel(x, y);
            dark += std::min({qRed(c), qGreen(c), qBlue(c)}) < 128;
        }
    return dark;
}

TEST_F(PdfTextTest, TextsAndShapesCoverEachOtherInTheOrderOfThePageItems)
{
    const QFont font = dejaVu(12);
    const QRectF hidden(40, 40, 200, 24), shown(40, 100, 200, 24);
    const auto shape = [](ReportItem::Kind kind, const QRectF& rect, QRgb fill, float pen) {
        ReportItem item;
        item.kind = kind;
        item.rect = rect;
        item.color = qRgb(200, 200, 200);
        item.fill = fill;
        item.penWidth = pen;
        return item;
    };
    const ReportDocument doc = document({{
        text(kTotal, hidden, font, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
        text("Debajo", hidden.translated(120, 0), font, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
        shape(ReportItem::Kind::Rect, QRectF(30, 30, 300, 40), qRgb(200, 200, 200), 1),
        shape(ReportItem::Kind::Line, QRectF(QPointF(30, 112), QPointF(330, 112)), 0, 30),   // through the text drawn after it
        text(kTotal, shown, font, Qt::black, Qt::AlignLeft | Qt::AlignVCenter),
    }});
    const QString pdf = file("orden.pdf");
    ReportPainter::writePdf(doc, pdf);
    test::output("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, file("orden")});
    const QImage page(file("orden.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(darkPixels(page, hidden.united(hidden.translated(120, 0))), 0) << "texts under the rectangle show through it";
    EXPECT_GT(darkPixels(page, shown), 40) << "the text drawn after the line is under it";
    // Covered texts are still there to select and search.
    const QString words = test::output("pdftotext", {pdf, "-"});
    EXPECT_TRUE(words.contains("Debajo"));
    EXPECT_EQ(words.count("1.234,56"), 2);
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
        painter.drawText(QRectF(item.rect.topLeft() * scale, item.rect.size() * scale), int(item.alignment) | Qt::TextWordWrap, item.text);
    }
}

TEST_F(PdfTextTest, WordWrappedTextsBreakAndSitWhereDrawTextPutsThem)
{
    const QString description = QStringLiteral("Lente progresiva orgánica 1.60 antirreflejante con tratamiento endurecido");
    const QFont font = dejaVu(8), bold = dejaVu(8, true);
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop, right = Qt::AlignRight | Qt::AlignVCenter;
    const ReportDocument doc = document({{
        // The same text in boxes of other widths, heights and alignments breaks in other places.
        text(description, QRectF(40, 40, 160, 60), font, Qt::black, topLeft, true),
        text(description, QRectF(260, 40, 300, 60), font, Qt::black, topLeft, true),
        text(description, QRectF(40, 140, 160, 60), font, Qt::black, right, true),
        text(description, QRectF(260, 140, 220, 80), bold, Qt::black, Qt::AlignHCenter | Qt::AlignBottom, true),
        // Shorter than its box: one line, placed by the alignment.
        text("Gafa de sol", QRectF(40, 260, 160, 30), font, Qt::black, right, true),
        // Lines of a memo, and more lines than the box holds: the ones past its bottom are left out.
        text("Primera línea\nSegunda línea algo más larga que la caja\nTercera", QRectF(260, 260, 120, 40), font, Qt::black,
             Qt::AlignLeft | Qt::AlignVCenter),
        text(description + ' ' + description, QRectF(40, 340, 100, 30), font, Qt::black, topLeft, true),
    }});
    ReportPainter::writePdf(doc, file("ajustados.pdf"));
    drawTextReference(doc, file("referencia.pdf"));
    const test::PdfPages got = test::pdfWords(file("ajustados.pdf")), want = test::pdfWords(file("referencia.pdf"));
    ASSERT_EQ(got.words.size(), want.words.size());
    ASSERT_GT(want.words.size(), 40);
    for (int i = 0; i < want.words.size(); ++i) {
        const std::string word = want.words[i].text.toStdString();
        EXPECT_EQ(got.words[i].text, want.words[i].text) << i;
        EXPECT_NEAR(got.words[i].box.left(), want.words[i].box.left(), 0.01) << word;
        EXPECT_NEAR(got.words[i].box.top(), want.words[i].box.top(), 0.01) << word;
        EXPECT_NEAR(got.words[i].box.right(), want.words[i].box.right(), 0.01) << word;
    }
}

} // namespace
