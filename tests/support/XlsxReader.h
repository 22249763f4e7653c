// XlsxReader: reads a spreadsheet file back the way a spreadsheet program sees it: the real file is
// unzipped and its first sheet, shared strings and cell styles are parsed, so each cell is known
// by its reference ("B3") with its type, its value and the number format it shows with.
#pragma once

#include "support/TestTools.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace lumetra::test {

struct XlsxCell {
    QString type;           // the cell's t attribute: "s" shared string, "inlineStr", "" number
    QString value;          // the text, or the number as written
    QString format;         // the number format code; "General" for none
    bool isNumber() const { return type.isEmpty() || type == QLatin1String("n"); }
};

class XlsxReader {
public:
    explicit XlsxReader(const QString& file)
    {
        const QStringList strings = sharedStrings(part(file, QStringLiteral("xl/sharedStrings.xml")));
        const QStringList formats = cellFormats(part(file, QStringLiteral("xl/styles.xml")));
        QXmlStreamReader xml(part(file, QStringLiteral("xl/worksheets/sheet1.xml")));
        QString reference;
        XlsxCell cell;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
                reference = xml.attributes().value(QLatin1String("r")).toString();
                cell = XlsxCell();
                cell.type = xml.attributes().value(QLatin1String("t")).toString();
                const int style = xml.attributes().value(QLatin1String("s")).toInt();
                cell.format = style < formats.size() ? formats[style] : QStringLiteral("General");
            } else if (xml.isStartElement() && (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))) {
                cell.value = xml.readElementText();
            } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                if (cell.type == QLatin1String("s"))
                    cell.value = strings.value(cell.value.toInt());
                cells_.insert(reference, cell);
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }

    const QMap<QString, XlsxCell>& cells() const { return cells_; }
    XlsxCell cell(const QString& reference) const { return cells_.value(reference); }
    // The references of the cells in `column` ("A"), in row order, with their texts or values.
    QStringList column(const QString& letter) const
    {
        QMap<int, QString> rows;
        for (auto it = cells_.begin(); it != cells_.end(); ++it)
            if (it.key().startsWith(letter) && it.key().at(letter.size()).isDigit())
                rows.insert(it.key().mid(letter.size()).toInt(), it.key());
        return rows.values();
    }

    static QByteArray part(const QString& file, const QString& name)
    {
        return output(QStringLiteral("unzip"), {QStringLiteral("-p"), file, name}).toUtf8();
    }

private:
    static QStringList sharedStrings(const QByteArray& data)
    {
        QStringList strings;
        QXmlStreamReader xml(data);
        QString current;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("si"))
                current.clear();
            else if (xml.isStartElement() && xml.name() == QLatin1String("t"))
                current += xml.readElementText();
            else if (xml.isEndElement() && xml.name() == QLatin1String("si"))
                strings << current;
        }
        return strings;
    }

    // The format code of each cell style, by style index.
    static QStringList cellFormats(const QByteArray& data)
    {
        // The built-in formats a sheet may name without defining them.
        QMap<int, QString> codes{{0, QStringLiteral("General")}, {1, QStringLiteral("0")}, {2, QStringLiteral("0.00")},
                                 {3, QStringLiteral("#,##0")}, {4, QStringLiteral("#,##0.00")}, {9, QStringLiteral("0%")},
                                 {10, QStringLiteral("0.00%")}, {14, QStringLiteral("mm-dd-yy")}};
        QStringList formats;
        QXmlStreamReader xml(data);
        bool inCellXfs = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("numFmt"))
                codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                             xml.attributes().value(QLatin1String("formatCode")).toString());
            else if (xml.isStartElement() && xml.name() == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs"))
                inCellXfs = false;
            else if (inCellXfs && xml.isStartElement() && xml.name() == QLatin1String("xf"))
                formats << codes.value(xml.attributes().value(QLatin1String("numFmtId")).toInt(), QStringLiteral("?"));
        }
        return formats;
    }

    QMap<QString, XlsxCell> cells_;
};

} // namespace lumetra::test
