// The printable elements of a report band. Geometry is in report units (1/96 inch) relative to
// the band's top-left corner. An element without its own font uses its band's font. Handlers
// may change any property while their band is being printed; the change shows from then on.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lumetra {

class ReportElement {
public:
    enum class Kind { Label, DataText, Shape, SysData, Memo };

    ReportElement(Kind kind, QString name, const QRectF& geometry);
    // Each element class has its destructor in the platform library, so its vtable and type
    // information exist there only, not in each library that uses it.
    virtual ~ReportElement();
    ReportElement(const ReportElement&) = delete;
    ReportElement& operator=(const ReportElement&) = delete;

    Kind kind() const { return kind_; }
    const QString& name() const { return name_; }

    QRectF geometry() const { return geometry_; }
    void setGeometry(const QRectF& geometry) { geometry_ = geometry; }
    void setLeft(qreal left) { geometry_.moveLeft(left); }
    void setTop(qreal top) { geometry_.moveTop(top); }

    // A disabled element is not printed and takes no part in the band's stretch.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    bool hasOwnFont() const { return font_.has_value(); }
    QFont font(const QFont& inherited) const { return font_ ? *font_ : inherited; }
    void setFont(const QFont& font) { font_ = font; }
    void useBandFont() { font_.reset(); }

    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment) { alignment_ = alignment; }
    QColor color() const { return color_; }
    void setColor(const QColor& color) { color_ = color; }

    // Word-wrapped text breaks at the element's width; with stretch the band grows to show it all.
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wrap) { wordWrap_ = wrap; }
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch) { stretch_ = stretch; }

    // A one-line text wider than the element prints in a smaller size of its font, as large as
    // lets it fit whole (a figure cut at the edge would read as another figure).
    bool shrinkToFit() const { return shrinkToFit_; }
    void setShrinkToFit(bool shrink) { shrinkToFit_ = shrink; }

private:
    Kind kind_;
    QString name_;
    QRectF geometry_;
    bool enabled_ = true;
    std::optional<QFont> font_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color_ = Qt::black;
    bool wordWrap_ = false;
    bool stretch_ = false;
    bool shrinkToFit_ = false;
};

// Fixed text.
class ReportLabel : public ReportElement {
public:
    ReportLabel(QString name, const QRectF& geometry, QString caption = {});
    ~ReportLabel() override;
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }

private:
    QString caption_;
};

// The text of a field of the report's current row. The print handler receives the text the
// data source gives and may replace it. A number handler instead receives the field's value as
// a number (NULL, no field or no row: 0) and gives the text to print, so a figure is never read
// back from its printed text; it runs before the print handler.
class ReportDataText : public ReportElement {
public:
    using PrintHandler = std::function<void(QString& text)>;
    using NumberHandler = std::function<QString(double value)>;
    ReportDataText(QString name, const QRectF& geometry, QString field);
    ~ReportDataText() override;
    const QString& field() const { return field_; }
    void setField(const QString& field) { field_ = field; }
    const PrintHandler& onPrint() const { return onPrint_; }
    void setOnPrint(PrintHandler handler) { onPrint_ = std::move(handler); }
    const NumberHandler& onPrintNumber() const { return onPrintNumber_; }
    void setOnPrintNumber(NumberHandler handler) { onPrintNumber_ = std::move(handler); }

private:
    QString field_;
    PrintHandler onPrint_;
    NumberHandler onPrintNumber_;
};

// A rectangle or a line. Lines run along the top (horizontal) or left (vertical) edge.
class ReportShape : public ReportElement {
public:
    enum class Shape { Rectangle, HorizontalLine, VerticalLine };
    ReportShape(QString name, const QRectF& geometry, Shape shape);
    ~ReportShape() override;
    Shape shape() const { return shape_; }
    QColor pen() const { return pen_; }
    void setPen(const QColor& pen) { pen_ = pen; }
    QColor brush() const { return brush_; }
    void setBrush(const QColor& brush) { brush_ = brush; }   // invalid colour: not filled
    qreal penWidth() const { return penWidth_; }
    void setPenWidth(qreal width) { penWidth_ = width; }

private:
    Shape shape_;
    QColor pen_ = Qt::black;
    QColor brush_;
    qreal penWidth_ = 1;
};

// Page number or the date and time of printing, after an optional prefix.
class ReportSysData : public ReportElement {
public:
    enum class Data { PageNumber, DateTime };
    ReportSysData(QString name, const QRectF& geometry, Data data, QString prefix = {});
    ~ReportSysData() override;
    Data data() const { return data_; }
    const QString& prefix() const { return prefix_; }
    void setPrefix(const QString& prefix) { prefix_ = prefix; }

private:
    Data data_;
    QString prefix_;
};

// Several lines of text, word-wrapped at the element's width.
class ReportMemo : public ReportElement {
public:
    ReportMemo(QString name, const QRectF& geometry);
    ~ReportMemo() override;
    const QStringList& lines() const { return lines_; }
    void setLines(const QStringList& lines) { lines_ = lines; }
    void clear() { lines_.clear(); }
    void add(const QString& text) { lines_ << text.split(QLatin1Char('\n')); }

private:
    QStringList lines_;
};

} // namespace lumetra
