// PrintedText: a laid-out report written to a real PDF and read back with `pdftotext -bbox`, to
// tell whether its texts print whole. A text prints whole when each of its words comes out of
// the PDF as a word of its own (not run into a neighbour), inside the text's box (nothing of it
// clipped or spilling over the next column), clear of the texts beside it, and inside the page
// margins.
#pragma once

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportPainter.h"
#include "support/TestTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>
#include <QXmlStreamReader>
#include <algorithm>
#include <gtest/gtest.h>

namespace lumetra::test {

struct PdfWord {
    int page = 0;      // 0-based
    QRectF box;        // points, page origin top-left
    QString text;      // compatibility-normalised: ligatures and "º" compare as plain letters
    int item = -1;     // the text item it was matched to, on its page
};

struct PdfPages {
    QVector<QSizeF> sizes;   // points
    QVector<PdfWord> words;
};

inline QString comparable(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

// The words of a PDF file as pdftotext finds them.
inline PdfPages pdfWords(const QString& pdf)
{
    PdfPages result;
    QXmlStreamReader xml(output(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    const auto at = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page"))
            result.sizes << QSizeF(at("width"), at("height"));
        else if (xml.name() == QLatin1String("word"))   // the box read before the text moves the reader on
            result.words << PdfWord{int(result.sizes.size()) - 1, QRectF(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax"))),
                                    comparable(xml.readElementText())};
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return result;
}

// Writes the document to the PDF file `pdf` and lists every text that does not print whole, one
// line each: empty when all do. Margins in mm, as the report was set up. With the environment
// variable LUMETRA_TEST_ARTIFACTS naming a directory, a copy of the PDF is kept there to look at.
inline QStringList textsNotPrintedWhole(const ReportDocument& doc, const QMarginsF& marginsMm, const QString& pdf)
{
    ReportPainter::writePdf(doc, pdf);
    const QString artifacts = qEnvironmentVariable("LUMETRA_TEST_ARTIFACTS");
    if (!artifacts.isEmpty() && QDir().mkpath(artifacts)) {
        const QString copy = QDir(artifacts).filePath(QFileInfo(pdf).fileName());
        QFile::remove(copy);
        QFile::copy(pdf, copy);
    }
    PdfPages pdfPages = pdfWords(pdf);
    QStringList problems;
    if (pdfPages.sizes.size() != doc.pageCount()) {
        problems << QStringLiteral("%1 pages in the PDF, %2 laid out").arg(pdfPages.sizes.size()).arg(doc.pageCount());
        return problems;
    }
    constexpr qreal kPointsPerUnit = 72.0 / 96.0, kPointsPerMm = 72.0 / 25.4, kTolerance = 0.6, kApart = 2;
    const QRegularExpression space(QStringLiteral("\\s+"));

    for (int page = 0; page < doc.pageCount(); ++page) {
        const QVector<ReportItem>& items = doc.pages[page].items;
        for (int index = 0; index < items.size(); ++index) {
            const ReportItem& item = items[index];
            if (item.kind != ReportItem::Kind::Text || item.text.trimmed().isEmpty())
                continue;
            const QRectF box(item.rect.topLeft() * kPointsPerUnit, item.rect.size() * kPointsPerUnit);
            for (const QString& word : comparable(item.text).split(space, Qt::SkipEmptyParts)) {
                // The word of that text nearest the box: on one of the box's lines, overlapping it most.
                PdfWord* best = nullptr;
                qreal bestOverlap = -1e9;
                for (PdfWord& w : pdfPages.words) {
                    const qreal middle = w.box.center().y();
                    if (w.page != page || w.item >= 0 || w.text != word || middle < box.top() - kTolerance || middle > box.bottom() + kTolerance)
                        continue;
                    const qreal overlap = std::min(w.box.right(), box.right()) - std::max(w.box.left(), box.left());
                    if (overlap > bestOverlap) {
                        bestOverlap = overlap;
                        best = &w;
                    }
                }
                const QString where = QStringLiteral("p%1 «%2» of «%3»").arg(page + 1).arg(word, item.text);
                if (!best || bestOverlap <= 0) {
                    problems << where + QStringLiteral(": not printed as a word of its own in its box");
                    continue;
                }
                best->item = index;
                if (best->box.left() < box.left() - kTolerance || best->box.right() > box.right() + kTolerance)
                    problems << where + QStringLiteral(": runs out of its box (%1-%2 pt, box %3-%4 pt)")
                                            .arg(best->box.left(), 0, 'f', 1).arg(best->box.right(), 0, 'f', 1)
                                            .arg(box.left(), 0, 'f', 1).arg(box.right(), 0, 'f', 1);
            }
        }
        // Two texts on one line, side by side, with room between them.
        for (const PdfWord& a : pdfPages.words) {
            for (const PdfWord& b : pdfPages.words) {
                if (a.page != page || a.item < 0 || b.page != page || b.item < 0 || b.item == a.item || b.box.left() < a.box.left())
                    continue;
                const qreal sameLine = std::min(a.box.bottom(), b.box.bottom()) - std::max(a.box.top(), b.box.top());
                if (sameLine > 0.5 * std::min(a.box.height(), b.box.height()) && b.box.left() - a.box.right() < kApart)
                    problems << QStringLiteral("p%1 «%2» and «%3»: printed less than %4 pt apart")
                                    .arg(page + 1).arg(a.text, b.text).arg(kApart);
            }
        }
        const QSizeF size = pdfPages.sizes[page];
        const QRectF inside(QPointF(marginsMm.left() * kPointsPerMm, marginsMm.top() * kPointsPerMm),
                            QPointF(size.width() - marginsMm.right() * kPointsPerMm, size.height() - marginsMm.bottom() * kPointsPerMm));
        for (const PdfWord& w : pdfPages.words)
            if (w.page == page && !inside.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(w.box))
                problems << QStringLiteral("p%1 «%2»: outside the page margins (%3-%4 pt, margins at %5-%6 pt)")
                                .arg(page + 1).arg(w.text).arg(w.box.left(), 0, 'f', 1).arg(w.box.right(), 0, 'f', 1)
                                .arg(inside.left(), 0, 'f', 1).arg(inside.right(), 0, 'f', 1);
    }
    return problems;
}

} // namespace lumetra::test
