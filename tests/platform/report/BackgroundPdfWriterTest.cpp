// PDFs written while their reports are laid out, against the file writePdf writes afterwards.
#include "SalesReport.h"
#include "platform/report/BackgroundPdfWriter.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportProgress.h"
#include "support/TestTools.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace lumetra;
using test::contents;

namespace {

// `days` days of `perDay` sales, with long and repeated texts.
QList<test::Sale> sales(int days, int perDay)
{
    QList<test::Sale> out;
    for (int d = 0; d < days; ++d)
        for (int s = 0; s < perDay; ++s)
            out.append({QStringLiteral("%1/06/2013").arg(d + 1, 2, 10, QLatin1Char('0')), s * 12.5 - 40,
                        s % 3 ? QStringLiteral("Gafas graduadas, montura %1").arg(s) : QStringLiteral("Lentillas \"mensuales\" – Ñandú")});
    return out;
}

// The file without the moment it was written.
QByteArray undated(const QString& path)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\([^)]*\\)"));
    return QString::fromLatin1(contents(path)).remove(date).toLatin1();
}

class BackgroundPdfWriterTest : public ::testing::Test {
protected:
    // Taken into `name`, and the same file as writePdf's.
    void expectTakenAsWritten(BackgroundPdfWriter& writer, const ReportDocument& document, const QString& name)
    {
        const QString taken = dir.filePath(name + ".pdf"), written = dir.filePath(name + "-escrito.pdf");
        ASSERT_TRUE(writer.take(document, taken)) << name.toStdString();
        ReportPainter::writePdf(document, written);
        EXPECT_EQ(undated(taken), undated(written)) << name.toStdString();
        const QRegularExpression pages(QStringLiteral("Pages:\\s+%1\n").arg(document.pageCount()));
        EXPECT_TRUE(test::output("pdfinfo", {taken}).contains(pages)) << name.toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(BackgroundPdfWriterTest, ReportsLaidOutOneAfterAnotherOrOneInsideAnotherTakeTheFileWritePdfWrites)
{
    MemTable table{"memVentas"}, small{"memTarjetas"};
    test::fillSales(table, sales(25, 60));
    test::fillSales(small, sales(2, 3));
    auto writer = std::make_unique<BackgroundPdfWriter>(dir.path());
    Report report{"qrpHoja"}, inner{"qrpTarjetas"};
    test::defineSalesReport(report, table);
    test::defineSalesReport(inner, small);
    inner.setTitle("Tarjetas");
    // The inner report laid out while the outer one is at its tenth day: their pages interleave.
    ReportDocument innerDocument;
    report.group("bndGrupo")->header().setBeforePrint([&](bool&) {
        if (table.fieldAsText("Fecha") == QLatin1String("10/06/2013"))
            innerDocument = inner.layout();
    });
    const ReportDocument document = report.layout();
    ASSERT_FALSE(document.failed());
    ASSERT_GE(document.pageCount(), 50);
    ASSERT_EQ(innerDocument.pageCount(), 2);
    const ReportDocument after = inner.layout();

    expectTakenAsWritten(*writer, innerDocument, "interior");
    expectTakenAsWritten(*writer, document, "hoja");
    expectTakenAsWritten(*writer, after, "despues");
    // Once taken there is none left for it, nor for its copies.
    const ReportDocument copy = document;
    EXPECT_FALSE(writer->take(copy, dir.filePath("otra.pdf")));
    writer.reset();
    EXPECT_EQ(test::entries(dir.path()), (QStringList{"despues-escrito.pdf", "despues.pdf", "hoja-escrito.pdf", "hoja.pdf",
                                                      "interior-escrito.pdf", "interior.pdf"}));
}

TEST_F(BackgroundPdfWriterTest, NoFileForAFailedCancelledEarlierOrUnwritableReportAndTheTargetIsLeftAsItWas)
{
    MemTable table{"memVentas"};
    test::fillSales(table, sales(12, 40));
    Report report{"qrpHoja"};
    test::defineSalesReport(report, table);
    const ReportDocument before = report.layout();
    const QString target = dir.filePath("hoja.pdf");
    test::put(target, "la hoja de ayer");

    auto writer = std::make_unique<BackgroundPdfWriter>(dir.path());
    EXPECT_FALSE(writer->take(before, target)) << "laid out before the writer";
    // Failed on the eighth day, several pages in.
    report.group("bndGrupo")->header().setBeforePrint([&](bool&) {
        if (table.fieldAsText("Fecha") == QLatin1String("08/06/2013"))
            throw std::runtime_error("conexión perdida");
    });
    const ReportDocument failed = report.layout();
    ASSERT_TRUE(failed.failed());
    ASSERT_GT(failed.pageCount(), 5);
    EXPECT_FALSE(writer->take(failed, target));
    // Cancelled from the progress window half-way.
    report.group("bndGrupo")->header().setBeforePrint({});
    ReportDocument cancelled;
    {
        const ReportProgress::Scope progress([](int done, int total, int) { return done < total / 2; });
        cancelled = report.layout();
    }
    ASSERT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(writer->take(cancelled, target));
    EXPECT_EQ(contents(target), QByteArray("la hoja de ayer"));
    // Laid out whole but never taken: removed with the writer.
    ASSERT_FALSE(report.layout().failed());
    writer.reset();
    EXPECT_EQ(test::entries(dir.path()), QStringList{"hoja.pdf"});

    // A folder that is not there: no file, and the layout is not disturbed.
    BackgroundPdfWriter nowhere(dir.filePath("no-existe"));
    const ReportDocument whole = report.layout();
    EXPECT_EQ(whole.pageCount(), before.pageCount());
    EXPECT_FALSE(nowhere.take(whole, target));
    EXPECT_EQ(contents(target), QByteArray("la hoja de ayer"));
}

} // namespace
