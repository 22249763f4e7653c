// PDFs written while their reports are laid out, against the file writePdf writes afterwards.
#include "platform/memtable/MemTable.h"
#include "platform/report/BackgroundPdfWriter.h"
#include "platform/report/Report.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportProgress.h"
#include "support/TestTools.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace lumetra;

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file without the moment it was written.
QByteArray undated(const QString& path)
{
    QByteArray bytes = contents(path);
    static const QRegularExpression date(QStringLiteral("/CreationDate \\([^)]*\\)"));
    return QString::fromLatin1(bytes).remove(date).toLatin1();
}

class BackgroundPdfWriterTest : public ::testing::Test {
protected:
    // A day per page and then some: `days` days of `perDay` sales, with long and repeated texts.
    void fill(MemTable& table, int days, int perDay)
    {
        table.addField(QStringLiteral("Fecha"), MemTable::FieldType::Text, 10);
        table.addField(QStringLiteral("Concepto"), MemTable::FieldType::Text, 80);
        table.addField(QStringLiteral("Importe"), MemTable::FieldType::Float);
        table.open();
        for (int d = 0; d < days; ++d)
            for (int s = 0; s < perDay; ++s) {
                table.append();
                table.setField(QStringLiteral("Fecha"), QStringLiteral("%1/06/2013").arg(d + 1, 2, 10, QLatin1Char('0')));
                table.setField(QStringLiteral("Concepto"), s % 3 ? QStringLiteral("Gafas graduadas, montura %1").arg(s)
                                                                 : QStringLiteral("Lentillas \"mensuales\" – Ñandú"));
                table.setField(QStringLiteral("Importe"), s * 12.5 - 40);
                table.post();
            }
    }

    void define(Report& report, MemTable& table)
    {
        report.setTitle(QStringLiteral("Hoja de Caja"));
        report.setPageHeader(QStringLiteral("bndCabecera"), 30).addLabel(QStringLiteral("qxtTitulo"), {0, 0, 300, 20}, QStringLiteral("Listado de Hoja de Caja"));
        ReportGroup& day = report.addGroup(QStringLiteral("bndGrupo"), QStringLiteral("Fecha"), 30);
        day.setNewPage(true);
        day.header().addDataText(QStringLiteral("qxtFecha"), {0, 0, 200, 20}, QStringLiteral("Fecha"));
        ReportBand& detail = report.setDetail(QStringLiteral("bndDetalle"), 20);
        detail.addDataText(QStringLiteral("qxtConcepto"), {0, 0, 300, 18}, QStringLiteral("Concepto"));
        detail.addDataText(QStringLiteral("qxtImporte"), {400, 0, 100, 18}, QStringLiteral("Importe"))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        report.setPageFooter(QStringLiteral("bndPie"), 20).addSysData(QStringLiteral("qrsPagina"), {0, 0, 100, 18}, ReportSysData::Data::PageNumber);
        report.setDataSet(table);
    }

    // Taken into `name`, and the same file as writePdf's.
    void expectTakenAsWritten(BackgroundPdfWriter& writer, const ReportDocument& document, const QString& name)
    {
        const QString taken = dir.filePath(name + QStringLiteral(".pdf"));
        const QString written = dir.filePath(name + QStringLiteral("-escrito.pdf"));
        ASSERT_TRUE(writer.take(document, taken)) << name.toStdString();
        ReportPainter::writePdf(document, written);
        EXPECT_EQ(undated(taken), undated(written)) << name.toStdString();
        const QRegularExpression pages(QStringLiteral("Pages:\\s+%1\n").arg(document.pageCount()));
        EXPECT_TRUE(test::output(QStringLiteral("pdfinfo"), {taken}).contains(pages)) << name.toStdString();
    }

    // What the folder holds once the writer is gone: no file of its own is left behind.
    QStringList leftOver() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }

    QTemporaryDir dir;
};

TEST_F(BackgroundPdfWriterTest, ReportsLaidOutOneAfterAnotherOrOneInsideAnotherTakeTheFileWritePdfWrites)
{
    MemTable table{QStringLiteral("memVentas")};
    fill(table, 25, 60);
    MemTable small{QStringLiteral("memTarjetas")};
    fill(small, 2, 3);
    auto writer = std::make_unique<BackgroundPdfWriter>(dir.path());

    Report report{QStringLiteral("qrpHoja")};
    define(report, table);
    // An inner report laid out while the outer one is at its tenth day: their pages interleave.
    Report inner{QStringLiteral("qrpTarjetas")};
    define(inner, small);
    inner.setTitle(QStringLiteral("Tarjetas"));
    ReportDocument innerDocument;
    report.group(QStringLiteral("bndGrupo"))->header().setBeforePrint([&](bool&) {
        if (table.fieldAsText(QStringLiteral("Fecha")) == QLatin1String("10/06/2013"))
            innerDocument = inner.layout();
    });
    const ReportDocument document = report.layout();
    ASSERT_FALSE(document.failed());
    ASSERT_GE(document.pageCount(), 50);
    ASSERT_EQ(innerDocument.pageCount(), 2);
    const ReportDocument after = inner.layout();

    expectTakenAsWritten(*writer, innerDocument, QStringLiteral("interior"));
    expectTakenAsWritten(*writer, document, QStringLiteral("hoja"));
    expectTakenAsWritten(*writer, after, QStringLiteral("despues"));
    // Once taken there is none left for it, nor for its copies.
    const ReportDocument copy = document;
    EXPECT_FALSE(writer->take(copy, dir.filePath(QStringLiteral("otra.pdf"))));
    writer.reset();
    EXPECT_EQ(leftOver(), (QStringList{QStringLiteral("despues-escrito.pdf"), QStringLiteral("despues.pdf"), QStringLiteral("hoja-escrito.pdf"),
                                       QStringLiteral("hoja.pdf"), QStringLiteral("interior-escrito.pdf"), QStringLiteral("interior.pdf")}));
}

TEST_F(BackgroundPdfWriterTest, NoFileForAFailedCancelledEarlierOrUnwritableReportAndTheTargetIsLeftAsItWas)
{
    MemTable table{QStringLiteral("memVentas")};
    fill(table, 12, 40);
    Report report{QStringLiteral("qrpHoja")};
    define(report, table);
    const ReportDocument before = report.layout();
    const QString target = dir.filePath(QStringLiteral("hoja.pdf"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("la hoja de ayer");
    }

    auto writer = std::make_unique<BackgroundPdfWriter>(dir.path());
    EXPECT_FALSE(writer->take(before, target)) << "laid out before the writer";

    // Failed on the eighth day, several pages in.
    report.group(QStringLiteral("bndGrupo"))->header().setBeforePrint([&](bool&) {
        if (table.fieldAsText(QStringLiteral("Fecha")) == QLatin1String("08/06/2013"))
            throw std::runtime_error("conexión perdida");
    });
    const ReportDocument failed = report.layout();
    ASSERT_TRUE(failed.failed());
    ASSERT_GT(failed.pageCount(), 5);
    EXPECT_FALSE(writer->take(failed, target));

    // Cancelled from the progress window half-way.
    report.group(QStringLiteral("bndGrupo"))->header().setBeforePrint({});
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
    EXPECT_EQ(leftOver(), QStringList{QStringLiteral("hoja.pdf")});

    // A folder that is not there: no file, and the layout is not disturbed.
    BackgroundPdfWriter nowhere(dir.filePath(QStringLiteral("no-existe")));
    const ReportDocument whole = report.layout();
    EXPECT_EQ(whole.pageCount(), before.pageCount());
    EXPECT_FALSE(nowhere.take(whole, target));
    EXPECT_EQ(contents(target), QByteArray("la hoja de ayer"));
}

} // namespace
