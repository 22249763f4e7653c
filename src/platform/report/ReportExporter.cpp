#include "platform/report/ReportExporter.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportPainter.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>
#include <xlsxwriter.h>

namespace lumetra {

namespace {

constexpr qreal kCharWidth = 6.0;     // report units per character of the text export
constexpr qreal kSameLine = 4.0;      // texts whose tops differ less share a line

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

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
                QString text = item->text;
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
    xml.writeAttribute(QStringLiteral("title"), document.title);
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
                xml.writeAttribute(QStringLiteral("group"), band.group);
            for (const Line& line : linesOf(textItems(document.pages[p], b))) {
                for (const ReportItem* item : line.items) {
                    xml.writeStartElement(QStringLiteral("text"));
                    xml.writeAttribute(QStringLiteral("x"), QString::number(item->rect.left(), 'f', 1));
                    xml.writeAttribute(QStringLiteral("y"), QString::number(item->rect.top(), 'f', 1));
                    xml.writeAttribute(QStringLiteral("width"), QString::number(item->rect.width(), 'f', 1));
                    xml.writeCharacters(item->text);
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
    lxw_row_t row = 0;
    for (int b = 0; b < document.bands.size(); ++b) {
        const PrintedBand& band = document.bands[b];
        for (const Line& line : linesOf(textItems(document.pages[band.page], b))) {
            bool wrote = false;
            for (const ReportItem* item : line.items) {
                if (item->text.isEmpty())
                    continue;
                const int column = columnOf[int(std::lround(item->rect.left()))];
                const QByteArray utf8 = item->text.toUtf8();
                worksheet_write_string(sheet, row, lxw_col_t(column), utf8.constData(), nullptr);
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
