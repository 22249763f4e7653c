// ReportDocument: a laid-out report. Pages of positioned items (texts, lines, rectangles) in
// report units (1/96 inch, page origin top-left), plus the stream of printed bands with their
// texts in reading order (top to bottom, then left to right), which the data exporters read.
#pragma once

#include <QColor>
#include <QFont>
#include <QRgb>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

namespace lumetra {

enum class BandType;

// A year of a listing lays out millions of these: the layout gives every item of one font the
// same QFont and every repeated text the same string, so that they share what they hold.
struct ReportItem {
    enum class Kind : quint8 { Text, Line, Rect };
    QRectF rect;                 // for a line: from topLeft to bottomRight
    QString text;
    QFont font;
    QRgb color = 0xff000000;     // text or pen colour, black by default
    QRgb fill = 0;               // rectangles: fully transparent = not filled
    float penWidth = 1;
    int band = -1;               // index into ReportDocument::bands()
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    Kind kind = Kind::Text;
    bool wordWrap = false;
};

struct ReportPage {
    QVector<ReportItem> items;
};

struct PrintedBand {
    int page = 0;                // 0-based
    QString name;
    BandType type;
    QString group;               // group headers and footers: the group's value
    QRectF rect;                 // where it printed on its page
    QStringList texts;           // reading order
};

class ReportDocument {
public:
    QString title;
    QSizeF pageSize;             // report units
    QVector<ReportPage> pages;
    QVector<PrintedBand> bands;

    int pageCount() const { return pages.size(); }
    bool failed() const { return !error.isEmpty(); }
    QString error;               // where and why the layout stopped early
    bool cancelled = false;      // stopped on request, not by a fault
    // Which layout made it: copies share it, no two layouts of a process do (0: not laid out).
    quint64 serial = 0;

    // One line per page: "p1: PH GH(15/06/2013) D D GF PF".
    QString dump() const;
    // Every text of the given page in reading order.
    QStringList pageTexts(int page) const;
    static QString bandCode(BandType type);
};

} // namespace lumetra

Q_DECLARE_TYPEINFO(lumetra::ReportItem, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(lumetra::PrintedBand, Q_RELOCATABLE_TYPE);
