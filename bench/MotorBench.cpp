// motor: lays out and renders a report shaped like a cash sheet (a page per day of 40 detail rows
// of 12 columns, day header and footer, page header and footer) and prints pages per second.
#include "Benchmarks.h"

#include "platform/memtable/MemTable.h"
#include "platform/report/Report.h"
#include "platform/report/ReportPainter.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace lumetra::bench {

namespace {

constexpr int kRowsPerDay = 40;
constexpr int kColumns = 12;

void fillTable(MemTable& table, int days)
{
    table.addField(QStringLiteral("Fecha"), MemTable::FieldType::Text, 25);
    for (int c = 0; c < kColumns; ++c)
        table.addField(QStringLiteral("C%1").arg(c), c < 6 ? MemTable::FieldType::Text : MemTable::FieldType::Float, 30);
    table.setSortField(QStringLiteral("Fecha"));
    table.open();
    for (int d = 0; d < days; ++d) {
        const QString day = QStringLiteral("%1/%2/2013").arg(1 + d % 28, 2, 10, QLatin1Char('0')).arg(1 + d / 28 % 12, 2, 10, QLatin1Char('0'));
        for (int r = 0; r < kRowsPerDay; ++r) {
            table.append();
            table.setField(0, QStringLiteral("%1 %2").arg(d, 5, 10, QLatin1Char('0')).arg(day));
            for (int c = 0; c < kColumns; ++c) {
                if (c < 6)
                    table.setField(c + 1, QStringLiteral("Texto %1-%2").arg(r).arg(c));
                else
                    table.setField(c + 1, (r * 13 + c * 7 + d) % 1000 + 0.45);
            }
            table.post();
        }
    }
}

void buildReport(Report& report, MemTable& table, double& total)
{
    report.setFont(QFont(QStringLiteral("Tahoma"), 7));
    ReportBand& header = report.setPageHeader(QStringLiteral("bndCabeceraPagina"), 40);
    for (int c = 0; c < kColumns; ++c)
        header.addLabel(QStringLiteral("lblC%1").arg(c), {c * 62.0, 10, 60, 20}, QStringLiteral("Columna %1").arg(c));
    header.addShape(QStringLiteral("linCabecera"), {0, 36, 744, 2}, ReportShape::Shape::HorizontalLine);

    ReportGroup& day = report.addGroup(QStringLiteral("bndGrupoCabecera"), QStringLiteral("Fecha"), 80);
    day.setNewPage(true);
    ReportShape* frame = day.header().addShape(QStringLiteral("shpTitulo"), {0, 0, 744, 40}, ReportShape::Shape::Rectangle);
    frame->setBrush(Qt::lightGray);
    day.header().addDataText(QStringLiteral("qxtTitulo"), {10, 5, 500, 30}, QStringLiteral("Fecha"))->setFont(QFont(QStringLiteral("Verdana"), 14, QFont::Bold, true));

    ReportBand& detail = report.setDetail(QStringLiteral("bndDetalle"), 20);
    for (int c = 0; c < kColumns; ++c) {
        ReportDataText* cell = detail.addDataText(QStringLiteral("qxtC%1").arg(c), {c * 62.0, 0, 60, 18}, QStringLiteral("C%1").arg(c));
        if (c >= 6) {
            cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setOnPrint([](QString& text) { text += QStringLiteral(" €"); });
        }
    }
    detail.setBeforePrint([&table, &total](bool&) { total += table.fieldAsFloat(7); });

    ReportBand& footer = day.addFooter(QStringLiteral("bndGrupoPie"), 80);
    ReportLabel* sum = footer.addLabel(QStringLiteral("qxtSuma"), {500, 10, 200, 20});
    footer.setBeforePrint([sum, &total](bool&) { sum->setCaption(QString::number(total, 'f', 2)); });
    footer.setAfterPrint([&total](bool) { total = 0; });

    ReportBand& pageFooter = report.setPageFooter(QStringLiteral("bndPiePagina"), 32);
    pageFooter.addSysData(QStringLiteral("qrsPagina"), {354, 8, 60, 18}, ReportSysData::Data::PageNumber);
    report.setDataSet(table);
}

} // namespace

int motor(const QStringList& args)
{
    const int days = args.value(0).toInt() > 0 ? args.value(0).toInt() : 300;
    QTextStream out(stdout);
    MemTable table(QStringLiteral("memHojaCaja"));
    fillTable(table, days);
    double total = 0;
    Report report(QStringLiteral("qrpReport"));
    buildReport(report, table, total);

    report.layout();   // warm fonts and caches
    QElapsedTimer timer;
    timer.start();
    const ReportDocument document = report.layout();
    const double layoutSeconds = timer.nsecsElapsed() / 1e9;

    QTemporaryDir dir;
    timer.restart();
    ReportPainter::writePdf(document, dir.filePath(QStringLiteral("motor.pdf")));
    const double pdfSeconds = timer.nsecsElapsed() / 1e9;

    const int pages = document.pageCount();
    out << QStringLiteral("páginas: %1 (%2 filas de detalle, %3 columnas)\n").arg(pages).arg(days * kRowsPerDay).arg(kColumns);
    out << QStringLiteral("composición: %1 s, %2 páginas/s (objetivo >= 1000)\n").arg(layoutSeconds, 0, 'f', 3).arg(pages / layoutSeconds, 0, 'f', 0);
    out << QStringLiteral("PDF: %1 s, %2 páginas/s (objetivo >= 600)\n").arg(pdfSeconds, 0, 'f', 3).arg(pages / pdfSeconds, 0, 'f', 0);
    return document.failed() ? 1 : 0;
}

} // namespace lumetra::bench
