// Shop data no form expects, in a real database: quotes, ';', line breaks, control characters,
// right-to-left text and 500-character texts in every printed text column; amounts of 0,
// negative and of a million million; a sale of 1,000 lines; a day of 20,000 rows. Every listing
// prints it, and each export (CSV, XLSX, text, XML, PDF through pdftotext) reads back as the
// texts printed; the CSV only marks with an apostrophe what a spreadsheet would run.
#include "ListingSession.h"

#include "demodb/DemoHistory.h"
#include "demodb/ShopDatabase.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"
#include "platform/report/ReportExporter.h"
#include "support/TestTools.h"
#include "support/XlsxReader.h"

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace lumetra;
using namespace lumetra::test;

namespace {

QString largo()
{
    QString t;
    while (t.size() < 500)
        t += QStringLiteral("Montura de titanio número %1, ").arg(t.size());
    return t.left(500);
}

// One of each kind of hostile text; rows take them in turn.
const QStringList kTextos{
    QStringLiteral("O'Neil \"el Rápido\"; 'Óptica';;"),
    QStringLiteral("Línea uno\nLínea dos\r\nLínea tres"),
    QString::fromUtf8("Ctrl\x01\x02\x1b[0m\x7f fin\ttab"),
    QString::fromUtf8("\xe2\x80\xae" "متجر النور" "\xe2\x80\xac" " עברית"),
    QStringLiteral("=HYPERLINK(\"http://x\";\"y\")"),
    QStringLiteral("-Resto @nota +34"),
    largo(),
};

// Every text column the listings print (table, column; the key is ID_<table>), made wide enough
// for the long text.
const struct { const char* table; const char* column; } kTextColumns[] = {
    {"PACIENTE", "NOMBRE"}, {"PACIENTE", "APELLIDOS"}, {"DVENTA", "DESCRIPCION"}, {"DVENTA", "REFERENCIA"},
    {"CAJA", "DESCRIPCION"}, {"TIENDA", "DESCRIPCION"}, {"FORMA_PAGO", "DESCRIPCION"}, {"GRUPO", "CODIGO"},
    {"AGENTE", "CODIGO"}, {"FAMILIA", "DESCRIPCION"}, {"MVENTA", "FS_SERIE"}, {"EMPRESA", "EMPRESA"},
    {"EMPRESA", "DIRECCION"}, {"EMPRESA", "NIF"}, {"LOCALIDAD", "DESCRIPCION"}, {"PROVINCIA", "DESCRIPCION"},
};

QString sqlText(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

const QStringList kConditions{"--fecha", "entre", "--desde", "30/05/2013", "--hasta", "03/06/2013", "--tiendas", "todas"};

class HostileData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lumetra-hostil-XXXXXX"));
        path_ = dir_->filePath(QStringLiteral("hostil.fdb"));
        ShopDatabase::create(path_);
        Database db;
        db.open(path_);
        DemoHistory({2, QDate(2013, 5, 27), 8, 1}).fill(db);
        for (const auto& c : kTextColumns)
            db.execute(QStringLiteral("alter table %1 alter column %2 type varchar(500)").arg(QLatin1String(c.table), QLatin1String(c.column)));
        for (const auto& c : kTextColumns)
            for (qsizetype k = 0; k < kTextos.size(); ++k)
                db.execute(QStringLiteral("update %1 set %2 = %3 where mod(ID_%1, %4) = %5")
                               .arg(QLatin1String(c.table), QLatin1String(c.column), sqlText(kTextos.at(k)))
                               .arg(kTextos.size()).arg(k));
        // Amounts of 0, negative and of a million million, in the lines, the collections and the till.
        db.execute(QStringLiteral("update DVENTA set BI_BASE_M1 = 0, BI_IVA_M1 = 0 where mod(ID_DVENTA, 11) = 1"));
        db.execute(QStringLiteral("update DVENTA set BI_BASE_M1 = -BI_BASE_M1, BI_IVA_M1 = -BI_IVA_M1 where mod(ID_DVENTA, 11) = 2"));
        db.execute(QStringLiteral("update DVENTA set BI_BASE_M1 = 826446280991.74, BI_IVA_M1 = 173553719008.26 where mod(ID_DVENTA, 11) = 3"));
        db.execute(QStringLiteral("update COBRO set IMPORTE_M1 = 0 where mod(ID_COBRO, 11) = 1"));
        db.execute(QStringLiteral("update COBRO set IMPORTE_M1 = -IMPORTE_M1 where mod(ID_COBRO, 11) = 2"));
        db.execute(QStringLiteral("update COBRO set IMPORTE_M1 = 1000000000000 where mod(ID_COBRO, 11) = 3"));
        db.execute(QStringLiteral("update CAJA set IMPORTE_M1 = 1000000000000 where mod(ID_CAJA, 3) = 0"));
        db.execute(QStringLiteral("update CAJA set IMPORTE_M1 = -IMPORTE_M1 where mod(ID_CAJA, 3) = 1"));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString path_;
};

// The CSV cell of a printed text: what a spreadsheet would run starts with an apostrophe.
QString csvCell(const QString& printed)
{
    static const QRegularExpression figure(QStringLiteral("^-[0-9.]+(,[0-9]+)?( €| %)?$"));
    const QString start = QString(printed).remove(QRegularExpression(QStringLiteral("^ +")));
    if (!start.isEmpty() && QStringView(u"=+-@").contains(start.front()) && !figure.match(printed).hasMatch())
        return QLatin1Char('\'') + printed;
    return printed;
}

QStringList itemTexts(const ReportDocument& doc)
{
    QStringList texts;
    for (const ReportPage& page : doc.pages)
        for (const ReportItem& item : page.items)
            if (item.kind == ReportItem::Kind::Text)
                texts << item.text;
    return texts;
}

// Each export of `doc` read back against the texts it printed; one line per mismatch.
QStringList exportsReadBack(const ReportDocument& doc, const QString& folder)
{
    QStringList problems;
    const QStringList printed = itemTexts(doc);
    for (const QString& text : printed)
        for (const QChar c : text)
            if ((c.unicode() < 0x20 && c != QLatin1Char('\n')) || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
                problems << QStringLiteral("printed a control character in «%1»").arg(text);

    // CSV: each row is its band's texts.
    const QVector<QStringList> rows = parseCsv(ReportExporter::csv(doc));
    if (rows.size() != doc.bands.size())
        problems << QStringLiteral("CSV: %1 rows for %2 bands").arg(rows.size()).arg(doc.bands.size());
    for (qsizetype b = 0; b < std::min(rows.size(), doc.bands.size()); ++b) {
        QStringList expected;
        for (const QString& t : doc.bands.at(b).texts)
            expected << csvCell(t);
        if (rows.at(b) != expected && !(expected.isEmpty() && rows.at(b) == QStringList{QString()}))
            problems << QStringLiteral("CSV row %1: «%2» for «%3»").arg(b + 1).arg(rows.at(b).join(u'|'), expected.join(u'|'));
    }

    // Text: every printed text on its page, its line breaks as spaces.
    const QString text = ReportExporter::text(doc);
    for (const QString& t : printed)
        if (!text.contains(QString(t).replace(QLatin1Char('\n'), QLatin1Char(' '))))
            problems << QStringLiteral("TXT lacks «%1»").arg(t);

    // XML: well formed, and its texts are the printed ones.
    QStringList xmlTexts;
    QXmlStreamReader xml(ReportExporter::xml(doc));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            xmlTexts << xml.readElementText();
    if (xml.hasError())
        problems << QStringLiteral("XML: %1").arg(xml.errorString());
    QStringList sortedPrinted = printed;
    sortedPrinted.sort();
    xmlTexts.sort();
    if (xmlTexts != sortedPrinted)
        problems << QStringLiteral("XML texts differ from the printed ones");

    // XLSX: every text cell is a printed text.
    const QString xlsx = QDir(folder).filePath(QStringLiteral("listado.xlsx"));
    ReportExporter::write(doc, xlsx);
    const QSet<QString> printedSet(printed.begin(), printed.end());
    const XlsxReader sheet(xlsx);
    for (const XlsxCell& cell : sheet.cells())
        if (!cell.isNumber() && !printedSet.contains(cell.value))
            problems << QStringLiteral("XLSX cell «%1» was not printed").arg(cell.value);

    // PDF: every word of the printed texts that fit their line comes back from pdftotext.
    const QString pdf = QDir(folder).filePath(QStringLiteral("listado.pdf"));
    ReportExporter::write(doc, pdf);
    const QString pdfText = output(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).normalized(QString::NormalizationForm_KC);
    QSet<QString> pdfWords;
    for (const QString& w : pdfText.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        pdfWords.insert(w);
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(3780);   // 96 dpi: report units are pixels
    device.setDotsPerMeterY(3780);
    for (const ReportPage& page : doc.pages) {
        for (const ReportItem& item : page.items) {
            const QString& t = item.text;
            if (item.kind != ReportItem::Kind::Text || t.contains(QRegularExpression(QStringLiteral("[\\x{0590}-\\x{08FF}\\x{202A}-\\x{202E}]"))))
                continue;   // right-to-left words come back reordered
            if (!item.wordWrap && QFontMetricsF(item.font, &device).horizontalAdvance(t) > item.rect.width())
                continue;   // a long text is cut at its box, as printed
            if (item.wordWrap && t.size() > 60)
                continue;   // wrapped in a box that may not show all its lines
            for (const QString& w : t.normalized(QString::NormalizationForm_KC).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                if (!pdfWords.contains(w))
                    problems << QStringLiteral("PDF lacks «%1» of «%2»").arg(w, t);
        }
    }
    return problems;
}

TEST_F(HostileData, EveryListingPrintsHostileTextsAndAmountsAndEachExportReadsBack)
{
    ListingSession session(path_, QStringLiteral("03/06/2013"));
    QTemporaryDir out(dir_->filePath(QStringLiteral("salida-XXXXXX")));
    QSet<QString> hostilePrinted;
    for (const QStringList& listing : everyListingWithFamilies()) {
        SCOPED_TRACE(listing.join(u' ').toStdString());
        const ListingSession::Printed printed = session.print(listing, kConditions);
        ASSERT_EQ(printed.status, 0) << printed.problems.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(printed.problems, QStringList());
        ASSERT_FALSE(printed.documents.isEmpty());
        for (const ReportDocument& doc : printed.documents) {
            SCOPED_TRACE(doc.title.toStdString());
            const QStringList problems = exportsReadBack(doc, out.path());
            EXPECT_TRUE(problems.isEmpty()) << problems.mid(0, 10).join(QLatin1Char('\n')).toStdString();
            for (const QString& t : itemTexts(doc))
                for (const QString& h : kTextos)
                    if (t.contains(h.left(12).remove(QRegularExpression(QStringLiteral("[\\x00-\\x1f\\x7f]")))))
                        hostilePrinted.insert(h.left(12));
        }
    }
    // The hostile texts did reach the paper.
    EXPECT_GE(hostilePrinted.size(), 5) << QStringList(hostilePrinted.begin(), hostilePrinted.end()).join(u'|').toStdString();
}

// A day of 20,000 rows (5,000 sales of two lines, each collected) and one sale of 1,000 lines:
// the cash sheet and the detailed journal print every line, and the CSV has a row per band.
TEST(HostileVolume, ADayOfTwentyThousandRowsAndASaleOfAThousandLinesPrintWhole)
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumetra-volumen-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("volumen.fdb"));
    ShopDatabase::create(path);
    {
        Database db;
        db.open(path);
        db.execute(QStringLiteral("insert into TIENDA (ID_TIENDA, CODIGO, DESCRIPCION, ID_LOCALIDAD) values (1, 1, 'Centro', 1)"));
        db.execute(QStringLiteral(
            "execute block as declare i integer = 0; declare v integer; begin "
            "while (i < 5001) do begin "
            "  insert into MVENTA (ID_TIENDA, FECHA, FECHA_PAGADO, TIPO_OPERACION, N_TALON, ID_PACIENTE, ID_FORMA_PAGO, LIQUIDO_M1, FS_COBRO, FS_SERIE) "
            "  values (1, '2013-06-14 10:00', '2013-06-14 10:00', 0, :i, 0, 1, 12.10, :i, 'A') returning ID_MVENTA into :v; "
            "  insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA) values (:v, 'R', 'Uno', 6.05, 5, 1.05, 21); "
            "  insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA) values (:v, 'R', 'Dos', 6.05, 5, 1.05, 21); "
            "  insert into COBRO (ID_MVENTA, ID_TIENDA, FECHA, IMPORTE_M1, ID_FORMA_PAGO, TICKET) values (:v, 1, '2013-06-14 10:00', 12.10, 1, :i); "
            "  i = i + 1; "
            "end "
            // The last sale has 1,000 lines more.
            "i = 0; while (i < 1000) do begin "
            "  insert into DVENTA (ID_MVENTA, REFERENCIA, DESCRIPCION, LIQUIDO_M1, BI_BASE_M1, BI_IVA_M1, IVA) values (:v, 'L', 'Linea', 0, 0, 0, 21); "
            "  i = i + 1; "
            "end end"));
    }
    ListingSession session(path, QStringLiteral("14/06/2013"));
    const QStringList dia{"--fecha", "igual", "--desde", "14/06/2013", "--tiendas", "todas"};
    for (const QStringList& listing : {QStringList{"--listado", "hoja", "--iva", "caja", "--totales-dia", "si"},
                                       QStringList{"--listado", "diario", "--iva", "cobro", "--tipo", "detallado"}}) {
        SCOPED_TRACE(listing.join(u' ').toStdString());
        const ListingSession::Printed printed = session.print(listing, dia);
        ASSERT_EQ(printed.status, 0) << printed.problems.join(QLatin1Char('\n')).toStdString();
        ASSERT_FALSE(printed.documents.isEmpty());
        const ReportDocument& doc = printed.documents.first();
        const auto lines = std::count_if(doc.bands.begin(), doc.bands.end(), [](const PrintedBand& b) { return b.name == QLatin1String("bndDetalle"); });
        EXPECT_EQ(lines, 2 * 5001 + 1000);
        EXPECT_EQ(parseCsv(ReportExporter::csv(doc)).size(), doc.bands.size());
        EXPECT_GT(doc.pageCount(), 100);
    }
}

} // namespace
