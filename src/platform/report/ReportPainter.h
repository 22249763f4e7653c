// ReportPainter: the one paint path of a laid-out report. Preview, printer, PDF and PNG all
// draw pages through paintPage, so what is previewed is what prints.
#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QPrinter;

namespace lumetra {

class ReportDocument;
struct ReportPage;

class ReportPainter {
public:
    // Draws one page with its top-left corner at the painter's origin; `scale` is device
    // pixels per report unit (1/96 inch).
    static void paintPage(const ReportDocument& document, int page, QPainter& painter, qreal scale);

    static QImage pageImage(const ReportDocument& document, int page, int dpi);
    // Throw ReportError when the file cannot be written.
    static void writePdf(const ReportDocument& document, const QString& path);

    // A PDF written a page at a time, the way writePdf writes a whole document: for pages that
    // come while the rest is being laid out. A thread may write one while another lays out,
    // given the pages it adds are complete. Destroyed unfinished, it closes the file with the
    // pages added so far, which the caller must not take for the report.
    class PdfPages {
    public:
        // Throws ReportError when the file cannot be opened.
        PdfPages(const QString& path, const QString& title, const QSizeF& pageSize);
        ~PdfPages();
        PdfPages(const PdfPages&) = delete;
        PdfPages& operator=(const PdfPages&) = delete;

        void add(const ReportPage& page);
        // Closes the file; throws ReportError when it could not be written. Once only.
        void finish();

    private:
        struct State;
        std::unique_ptr<State> state_;
    };
    // The first page to `path`, each following page N to "<name>-N.<ext>" beside it.
    static void writePng(const ReportDocument& document, const QString& path, int dpi = 150);
    static void print(const ReportDocument& document, QPrinter& printer);

    // Tahoma and Verdana print as DejaVu Sans, Arial as Liberation Sans where those are missing.
    static void installFontSubstitutes();
};

} // namespace lumetra
