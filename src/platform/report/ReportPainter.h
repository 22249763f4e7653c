// ReportPainter: the one paint path of a laid-out report. Preview, printer, PDF and PNG all
// draw pages through paintPage, so what is previewed is what prints.
#pragma once

#include <QImage>
#include <QString>

class QPainter;
class QPrinter;

namespace lumetra {

class ReportDocument;

class ReportPainter {
public:
    // Draws one page with its top-left corner at the painter's origin; `scale` is device
    // pixels per report unit (1/96 inch).
    static void paintPage(const ReportDocument& document, int page, QPainter& painter, qreal scale);

    static QImage pageImage(const ReportDocument& document, int page, int dpi);
    // Throw ReportError when the file cannot be written.
    static void writePdf(const ReportDocument& document, const QString& path);
    // The first page to `path`, each following page N to "<name>-N.<ext>" beside it.
    static void writePng(const ReportDocument& document, const QString& path, int dpi = 150);
    static void print(const ReportDocument& document, QPrinter& printer);

    // Tahoma and Verdana print as DejaVu Sans, Arial as Liberation Sans where those are missing.
    static void installFontSubstitutes();
};

} // namespace lumetra
