#include "platform/report/ReportExporter.h"

#include "platform/format/FormatSettings.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportText.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTime>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>
#include <xlsxwriter.h>

namespace lumetra {

namespace {

constexpr qreal kCharWidth = 6.0;     // report units per character of the text export
constexpr qreal kSameLine = 4.0;      // texts whose tops differ less share a line

void save(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw ReportError(QStringLiteral("No se puede escribir el fichero «%1»").arg(path));
}

struct Line {
    qreal top;
    std::vector<const ReportItem*> items;
};

// Text items grouped into lines by their top edge, each line sorted left to right.
std::vector<Line> linesOf(std::vector<const ReportItem*> texts)
{
    std::stable_sort(texts.begin(), texts.end(), [](const ReportItem* a, const ReportItem* b) {
        return a->rect.top() < b->rect.top();
    });
    std::vector<Line> lines;
    for (const ReportItem* item : texts) {
        if (lines.empty() || item->rect.top() - lines.back().top >= kSameLine)
            lines.push_back({item->rect.top(), {}});
        lines.back().items.push_back(item);
    }
    for (Line& line : lines)
        std::stable_sort(line.items.begin(), line.items.end(), [](const ReportItem* a, const ReportItem* b) {
            return a->rect.left() < b->rect.left();
        });
    return lines;
}

std::vector<const ReportItem*> textItems(const ReportPage& page, int band = -2)
{
    std::vector<const ReportItem*> texts;
    for (const ReportItem& item : page.items)
        if (item.kind == ReportItem::Kind::Text && (band == -2 || item.band == band))
            texts.push_back(&item);
    return texts;
}

// What a printed text becomes in a spreadsheet cell.
struct SheetCell {
    enum class Kind { Text, Number, DateTime };
    Kind kind = Kind::Text;
    double number = 0;
    QDateTime dateTime;
    QByteArray format;           // the cell's number format, for numbers and dates
};

// Currency signs printed after (or before) an amount, besides the currency symbols of Unicode.
bool isCurrency(const QString& text)
{
    if (text.isEmpty())
        return false;
    static const QStringList words = {QStringLiteral("EUR"), QStringLiteral("Pts"), QStringLiteral("Ptas"), QStringLiteral("pts")};
    if (words.contains(text))
        return true;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Symbol_Currency; });
}

// A spreadsheet format literal: the text in double quotes.
QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A figure as the listings print it: [-]integer[,decimals][ suffix], the integer part either
// plain or grouped by thousands, no leading zeros. False for anything else.
bool readFigure(const QString& text, SheetCell& cell)
{
    const FormatSettings& settings = FormatSettings::current();
    const QChar thousands = settings.thousandSeparator;
    const QChar decimal = settings.decimalSeparator;
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == QLatin1Char('-');
    if (negative)
        ++i;

    // A currency sign before the figure ("€ 12,00", "$12.00").
    QString prefix;
    while (i < text.size() && text[i].category() == QChar::Symbol_Currency)
        prefix += text[i++];
    QString prefixSpace;
    if (!prefix.isEmpty() && i < text.size() && text[i] == QLatin1Char(' '))
        prefixSpace = text[i++];

    const qsizetype start = i;
    while (i < text.size() && (text[i].isDigit() || (text[i] == thousands && i > start)))
        ++i;
    QString integer = text.mid(start, i - start);
    if (integer.isEmpty() || integer.endsWith(thousands))
        return false;
    const QStringList groups = integer.split(thousands);
    const bool grouped = groups.size() > 1;
    if (grouped) {
        if (groups.first().size() > 3)
            return false;
        for (qsizetype g = 1; g < groups.size(); ++g)
            if (groups[g].size() != 3)
                return false;
        integer = groups.join(QString());
    }
    if (std::any_of(integer.begin(), integer.end(), [](QChar c) { return c < QLatin1Char('0') || c > QLatin1Char('9'); }))
        return false;
    if (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        return false;      // a reference or a code, not a figure

    QString decimals;
    if (i < text.size() && text[i] == decimal) {
        ++i;
        while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            decimals += text[i++];
        if (decimals.isEmpty())
            return false;
    }

    QString space;
    if (i < text.size() && text[i] == QLatin1Char(' '))
        space = text[i++];
    const QString suffix = text.mid(i);
    const bool percent = suffix == QLatin1String("%");
    if (!suffix.isEmpty() && !percent && !isCurrency(suffix))
        return false;
    if (suffix.isEmpty() && !space.isEmpty())
        return false;
    if (!prefix.isEmpty() && (!suffix.isEmpty() || !isCurrency(prefix)))
        return false;
    if (integer.size() + decimals.size() > 15)
        return false;      // beyond what a double holds exactly: keep the digits as printed

    bool ok = false;
    double value = (integer + QLatin1Char('.') + (decimals.isEmpty() ? QStringLiteral("0") : decimals)).toDouble(&ok);
    if (!ok)
        return false;
    if (negative)
        value = -value;
    if (value == 0)
        value = 0;         // no "-0"
    if (percent)
        value /= 100;      // the format's % shows it multiplied back

    // Grouped as printed; a figure too short to show grouping is grouped, as the listings do.
    QString format = grouped || integer.size() <= 3 ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (!decimals.isEmpty())
        format += QLatin1Char('.') + QString(decimals.size(), QLatin1Char('0'));
    if (percent)
        format += space + QLatin1Char('%');
    else if (!suffix.isEmpty())
        format += space + quoted(suffix);
    else if (!prefix.isEmpty())
        format = quoted(prefix) + prefixSpace + format;

    cell.kind = SheetCell::Kind::Number;
    cell.number = value;
    cell.format = format.toUtf8();
    return true;
}

// dd/mm/yyyy, or dd/mm/yyyy hh:mm as the report's print time shows.
bool readDate(const QString& text, SheetCell& cell)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})(?: (\\d{2}):(\\d{2}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return false;
    const bool withTime = match.hasCaptured(4);
    const QTime time = withTime ? QTime(match.captured(4).toInt(), match.captured(5).toInt()) : QTime(0, 0);
    if (!time.isValid())
        return false;
    cell.kind = SheetCell::Kind::DateTime;
    cell.dateTime = QDateTime(date, time);
    cell.format = withTime ? QByteArrayLiteral("dd/mm/yyyy hh:mm") : QByteArrayLiteral("dd/mm/yyyy");
    return true;
}

// A CSV field that a spreadsheet shows as the text printed, and never runs: a text that starts
// as a formula does ("=", "+", "-", "@", after any blanks, which some importers trim) gets a
// leading apostrophe, the mark spreadsheets take for "this is text", unless it is a figure as
// the listings print it ("-12,50 €", "-3"), which the spreadsheet must read as the number it is.
// Control characters are left out (ReportText); a line feed stays, inside a quoted field, where
// every spreadsheet keeps it in the cell.
QString csvField(const QString& printed)
{
    QString text = ReportText::printable(printed);
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == QLatin1Char(' '))
        ++first;
    if (first < text.size() && QStringView(u"=+-@").contains(text.at(first))) {
        SheetCell figure;
        if (!readFigure(text, figure))
            text.prepend(QLatin1Char('\''));
    }
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

SheetCell sheetCell(const QString& printed)
{
    SheetCell cell;
    const QString text = printed.trimmed();
    if (!readDate(text, cell))
        readFigure(text, cell);
    return cell;
}

// Cell formats of one workbook, one per number format.
class SheetFormats {
public:
    explicit SheetFormats(lxw_workbook* workbook)
        : workbook_(workbook)
    {
    }

    lxw_format* operator()(const QByteArray& numberFormat)
    {
        auto found = formats_.find(numberFormat);
        if (found != formats_.end())
            return found->second;
        lxw_format* format = workbook_add_format(workbook_);
        format_set_num_format(format, numberFormat.constData());
        formats_.emplace(numberFormat, format);
        return format;
    }

private:
    lxw_workbook* workbook_;
    std::map<QByteArray, lxw_format*> formats_;
};

void writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QString& text, SheetFormats& formats)
{
    const SheetCell cell = sheetCell(text);
    switch (cell.kind) {
    case SheetCell::Kind::Number:
        worksheet_write_number(sheet, row, column, cell.number, formats(cell.format));
        return;
    case SheetCell::Kind::DateTime: {
        const QDate date = cell.dateTime.date();
        const QTime time = cell.dateTime.time();
        lxw_datetime value{date.year(), date.month(), date.day(), time.hour(), time.minute(), 0};
        worksheet_write_datetime(sheet, row, column, &value, formats(cell.format));
        return;
    }
    case SheetCell::Kind::Text:
        break;
    }
    const QByteArray utf8 = text.toUtf8();
    worksheet_write_string(sheet, row, column, utf8.constData(), nullptr);
}

} // namespace

std::optional<ReportExporter::Format> ReportExporter::formatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf")) return Format::Pdf;
    if (suffix == QLatin1String("xlsx")) return Format::Xlsx;
    if (suffix == QLatin1String("csv")) return Format::Csv;
    if (suffix == QLatin1String("txt")) return Format::Text;
    if (suffix == QLatin1String("xml")) return Format::Xml;
    if (suffix == QLatin1String("png")) return Format::Png;
    return std::nullopt;
}

QStringList ReportExporter::fileFilters()
{
    return {QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("Hoja de cálculo Excel (*.xlsx)"),
            QStringLiteral("Texto (*.txt)"), QStringLiteral("XML (*.xml)"), QStringLiteral("CSV (*.csv)"),
            QStringLiteral("Imagen PNG (*.png)")};
}

void ReportExporter::write(const ReportDocument& document, const QString& path)
{
    const auto format = formatOf(path);
    if (!format)
        throw ReportError(QStringLiteral("No se reconoce el formato del fichero «%1»: use .pdf, .xlsx, .csv, .txt, .xml o .png")
                              .arg(path));
    write(document, path, *format);
}

void ReportExporter::write(const ReportDocument& document, const QString& path, Format format)
{
    Staged(document, path, format).commit();
}

ReportExporter::Staged::Staged(const ReportDocument& document, const QString& path, Format format,
                               const std::function<bool(const QString&)>& written)
    : path_(path)
{
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        throw ReportError(QStringLiteral("No se puede escribir el fichero «%1»: la carpeta «%2» no existe").arg(path, folder.path()));
    folder_ = std::make_unique<QTemporaryDir>(folder.filePath(QStringLiteral(".%1-XXXXXX").arg(target.fileName())));
    if (!folder_->isValid())
        throw ReportError(QStringLiteral("No se puede escribir el fichero «%1»: %2").arg(path, folder_->errorString()));
    const QString temporary = folder_->filePath(target.fileName());
    try {
        if (!written || !written(temporary))
            writeFile(document, temporary, format);
    } catch (const ReportError& e) {
        // The user knows the file by the name he gave.
        throw ReportError(QString(e.message()).replace(temporary, path));
    }
}

ReportExporter::Staged::~Staged() = default;

void ReportExporter::Staged::commit()
{
    if (!folder_)
        return;
    const QDir from(folder_->path());
    const QDir to = QFileInfo(path_).absoluteDir();
    const QStringList files = from.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& file : files) {
        // rename() replaces the old file in one step: a reader sees the old one or the new one.
        const QByteArray source = QFile::encodeName(from.filePath(file));
        const QByteArray destination = QFile::encodeName(to.filePath(file));
        if (std::rename(source.constData(), destination.constData()) != 0)
            throw ReportError(QStringLiteral("No se puede escribir el fichero «%1»: %2")
                                  .arg(to.filePath(file), QString::fromLocal8Bit(std::strerror(errno))));
    }
    folder_.reset();
}

void ReportExporter::writeFile(const ReportDocument& document, const QString& path, Format format)
{
    switch (format) {
    case Format::Pdf: ReportPainter::writePdf(document, path); break;
    case Format::Png: ReportPainter::writePng(document, path); break;
    case Format::Csv: save(path, csv(document)); break;
    case Format::Text: save(path, text(document).toUtf8()); break;
    case Format::Xml: save(path, xml(document)); break;
    case Format::Xlsx: writeXlsx(document, path); break;
    }
}

QByteArray ReportExporter::csv(const ReportDocument& document)
{
    QByteArray out;
    for (const PrintedBand& band : document.bands) {
        QStringList fields;
        for (const QString& text : band.texts)
            fields << csvField(text);
        out += fields.join(QLatin1Char(';')).toUtf8();
        out += "\r\n";
    }
    return out;
}

QString ReportExporter::text(const ReportDocument& document)
{
    QStringList pages;
    for (const ReportPage& page : document.pages) {
        QStringList lines;
        for (const Line& line : linesOf(textItems(page))) {
            QString out;
            for (const ReportItem* item : line.items) {
                QString text = ReportText::printable(item->text);
                text.replace(QLatin1Char('\n'), QLatin1Char(' '));
                if (text.isEmpty())
                    continue;
                int column = int(std::lround(item->rect.left() / kCharWidth));
                if (item->alignment & Qt::AlignRight)
                    column = std::max(column, int(std::lround(item->rect.right() / kCharWidth)) - int(text.size()));
                else if (item->alignment & Qt::AlignHCenter)
                    column = std::max(column, int(std::lround(item->rect.center().x() / kCharWidth)) - int(text.size()) / 2);
                if (column < out.size() + (out.isEmpty() ? 0 : 1))
                    column = out.size() + (out.isEmpty() ? 0 : 1);
                out += QString(column - out.size(), QLatin1Char(' ')) + text;
            }
            lines << out;
        }
        pages << lines.join(QLatin1Char('\n'));
    }
    return pages.join(QStringLiteral("\n\f")) + QLatin1Char('\n');
}

QByteArray ReportExporter::xml(const ReportDocument& document)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("report"));
    xml.writeAttribute(QStringLiteral("title"), ReportText::printable(document.title));
    xml.writeAttribute(QStringLiteral("pages"), QString::number(document.pageCount()));
    for (int p = 0; p < document.pageCount(); ++p) {
        xml.writeStartElement(QStringLiteral("page"));
        xml.writeAttribute(QStringLiteral("number"), QString::number(p + 1));
        for (int b = 0; b < document.bands.size(); ++b) {
            const PrintedBand& band = document.bands[b];
            if (band.page != p)
                continue;
            xml.writeStartElement(QStringLiteral("band"));
            xml.writeAttribute(QStringLiteral("name"), band.name);
            xml.writeAttribute(QStringLiteral("type"), ReportDocument::bandCode(band.type));
            if (!band.group.isEmpty())
                xml.writeAttribute(QStringLiteral("group"), ReportText::printable(band.group));
            for (const Line& line : linesOf(textItems(document.pages[p], b))) {
                for (const ReportItem* item : line.items) {
                    xml.writeStartElement(QStringLiteral("text"));
                    xml.writeAttribute(QStringLiteral("x"), QString::number(item->rect.left(), 'f', 1));
                    xml.writeAttribute(QStringLiteral("y"), QString::number(item->rect.top(), 'f', 1));
                    xml.writeAttribute(QStringLiteral("width"), QString::number(item->rect.width(), 'f', 1));
                    xml.writeCharacters(ReportText::printable(item->text));
                    xml.writeEndElement();
                }
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

void ReportExporter::writeXlsx(const ReportDocument& document, const QString& path)
{
    // Columns: the distinct left edges of the texts, so that figures of one column line up.
    std::map<int, int> columnOf;
    for (const ReportPage& page : document.pages)
        for (const ReportItem* item : textItems(page))
            columnOf[int(std::lround(item->rect.left()))] = 0;
    int next = 0;
    for (auto& [left, column] : columnOf)
        column = next++;

    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* workbook = workbook_new(file.constData());
    if (!workbook)
        throw ReportError(QStringLiteral("No se puede crear la hoja de cálculo «%1»").arg(path));
    QString sheetName = document.title.left(31);
    for (const char c : {'[', ']', ':', '*', '?', '/', '\\'})
        sheetName.replace(QLatin1Char(c), QLatin1Char(' '));
    const QByteArray sheetUtf8 = (sheetName.trimmed().isEmpty() ? QStringLiteral("Listado") : sheetName.trimmed()).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetUtf8.constData());
    SheetFormats formats(workbook);
    lxw_row_t row = 0;
    for (int b = 0; b < document.bands.size(); ++b) {
        const PrintedBand& band = document.bands[b];
        for (const Line& line : linesOf(textItems(document.pages[band.page], b))) {
            bool wrote = false;
            for (const ReportItem* item : line.items) {
                if (item->text.isEmpty())
                    continue;
                const int column = columnOf[int(std::lround(item->rect.left()))];
                writeCell(sheet, row, lxw_col_t(column), item->text, formats);
                wrote = true;
            }
            if (wrote)
                ++row;
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw ReportError(QStringLiteral("No se ha podido escribir la hoja de cálculo «%1»").arg(path));
}

} // namespace lumetra
