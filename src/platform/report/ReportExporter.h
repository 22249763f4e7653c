// ReportExporter: writes a laid-out report to a file in the format its extension names.
//
// PDF and PNG are drawn pages. The data formats read the printed-band stream, never pixels:
// CSV has one row per printed band with its texts in reading order (";" separated, UTF-8);
// plain text lays each page's texts out on character lines, pages separated by form feeds;
// XML lists pages, bands and texts with their positions; XLSX puts each text line of a band on
// a sheet row, texts that share a left edge in the same column.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumetra {

class ReportDocument;

class ReportExporter {
public:
    enum class Format { Pdf, Xlsx, Csv, Text, Xml, Png };

    static std::optional<Format> formatOf(const QString& path);
    // Save-dialog filters, PDF first.
    static QStringList fileFilters();

    // Throws ReportError for an unknown extension or a file that cannot be written.
    static void write(const ReportDocument& document, const QString& path);
    static void write(const ReportDocument& document, const QString& path, Format format);

    static QByteArray csv(const ReportDocument& document);
    static QString text(const ReportDocument& document);
    static QByteArray xml(const ReportDocument& document);
    static void writeXlsx(const ReportDocument& document, const QString& path);
};

} // namespace lumetra
