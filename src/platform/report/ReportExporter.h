// ReportExporter: writes a laid-out report to a file in the format its extension names.
//
// PDF and PNG are drawn pages. The data formats read the printed-band stream, never pixels:
// CSV has one row per printed band with its texts in reading order (";" separated, UTF-8; a
// text a spreadsheet would run as a formula starts with an apostrophe, figures excepted);
// plain text lays each page's texts out on character lines, pages separated by form feeds;
// XML lists pages, bands and texts with their positions; XLSX puts each text line of a band on
// a sheet row, texts that share a left edge in the same column. In the spreadsheet a text that
// reads as a figure (an amount, a count, a percentage, in the current separators: "-1.234,50 €",
// "12", "18,00 %") is a number, and a dd/mm/yyyy date is a date, each with a number format that
// shows it as printed; anything else (references with leading zeros like "0012", series like
// "A/130.000.901", "18,00 % I.V.A") stays text.
//
// No format writes a control character (ReportText): the texts of a laid-out report hold none,
// and the exporters leave out those of a document made otherwise.
//
// A file is written whole or not at all: every format is written into a hidden folder beside the
// destination and moved over it only when complete, so a failure (or a stop) leaves whatever was
// there before as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryDir;

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

private:
    // Straight into `path`, no staging.
    static void writeFile(const ReportDocument& document, const QString& path, Format format);

public:
    // An export written but not yet in place. The constructor writes the whole file into a
    // hidden folder beside `path` (throws ReportError); commit() moves it over `path`, with the
    // further page files of a PNG beside it. Destroyed uncommitted, it removes what it wrote and
    // leaves `path` untouched.
    //
    // `written`, when given, is asked first to put the finished file at the staging path it is
    // passed (a file written while the report was laid out); when it answers false the file is
    // written here.
    class Staged {
    public:
        Staged(const ReportDocument& document, const QString& path, Format format,
               const std::function<bool(const QString& stagingPath)>& written = {});
        ~Staged();
        Staged(const Staged&) = delete;
        Staged& operator=(const Staged&) = delete;

        // Throws ReportError when a file cannot be moved into place. Once only.
        void commit();
        const QString& path() const { return path_; }

    private:
        QString path_;
        std::unique_ptr<QTemporaryDir> folder_;
    };
};

} // namespace lumetra
