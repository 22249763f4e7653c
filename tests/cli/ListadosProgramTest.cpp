// lumetra-listados as a user runs it: the real program, module and database, in a child process.
#include "DemoShop.h"

#include "platform/db/Database.h"
#include "platform/format/PrintQString.h"
#include "support/XlsxReader.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

using namespace lumetra::test;

namespace {

const QString kFirstDay = QString::fromLatin1(DemoShop::FirstDay);

QStringList hoja(const QString& salida, const QStringList& more = {})
{
    return QStringList{QStringLiteral("--listado"), QStringLiteral("hoja"), QStringLiteral("--salida"), salida} + more;
}

TEST(ListadosProgram, HelpNamesEveryOption)
{
    const ProgramRun help = DemoShop::run(QStringLiteral("lumetra-listados"), {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--db", "--usuario-bd", "--clave-bd", "--usuario", "--tienda", "--fecha-trabajo", "--listado", "--fecha", "--desde",
                               "--hasta", "--tiendas", "--iva", "--tipo", "--familia", "--totales-dia", "--totales-mes",
                               "--informe-grupos", "--informe-tarjetas", "--detalle-encargos", "--salida"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(option) + QLatin1Char(' '))) << option;
}

struct BadRun {
    const char* name;
    QStringList arguments;
    const char* says;
};

TEST(ListadosProgram, BadOptionsAndInvalidConditionsExitTwoSayingWhy)
{
    const QString pdf = DemoShop::scratch(QStringLiteral("bad.pdf"));
    const BadRun rows[] = {
        {"iso_date", hoja(pdf, {"--desde", "2013-05-01"}), "2013-05-01"},
        {"unknown_listing", {"--listado", "balance", "--salida", pdf}, "balance"},
        {"unknown_store", hoja(pdf, {"--tiendas", "77"}), "77"},
        {"right_the_user_lacks", hoja(pdf, {"--usuario", "2", "--totales-mes", "si"}), "--totales-mes"},
        {"reversed_dates", hoja(pdf, {"--fecha", "entre", "--desde", "03/05/2013", "--hasta", "02/05/2013"}),
         "La Fecha Final no puede ser menor que la Inicial"},
        {"unknown_user", hoja(pdf, {"--usuario", "99", "--desde", kFirstDay}), "el usuario 99 no existe"},
        {"unknown_current_store", hoja(pdf, {"--tienda", "99", "--desde", kFirstDay}),
         "la tienda actual 99 (--tienda) no existe en la base de datos"},
        {"store_ticked_off", hoja(pdf, {"--tiendas", "todas", "--tienda", "99", "--desde", kFirstDay}),
         "la tienda actual 99 (--tienda) no existe en la base de datos"},
        // The day before is the empty date: never taken as a date, nor as none.
        {"empty_date_written_out", hoja(pdf, {"--desde", "30/12/1899"}),
         "--desde necesita una fecha a partir del 31/12/1899, no «30/12/1899»"},
        {"end_date_before_the_first", hoja(pdf, {"--fecha", "entre", "--desde", "31/12/1899", "--hasta", "01/01/1850"}),
         "--hasta necesita una fecha a partir del 31/12/1899, no «01/01/1850»"},
        {"working_date_before_the_first", hoja(pdf, {"--fecha-trabajo", "15/06/1850"}),
         "--fecha-trabajo necesita una fecha a partir del 31/12/1899, no «15/06/1850»"},

    };
    for (const BadRun& row : rows) {
        const ProgramRun r = DemoShop::listados(row.arguments);
        EXPECT_EQ(r.exitCode, 2) << row.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.says))) << row.name << ": " << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ListadosProgram, MalformedServerLocationExitsTwoSayingWhy)
{
    const QString pdf = DemoShop::scratch(QStringLiteral("location.pdf"));
    const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"),
                                       QStringList{QStringLiteral("--db"), QStringLiteral("localhost/abc:/datos/tienda.fdb")} + hoja(pdf));
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("el puerto «abc» no es un número entre 1 y 65535"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ListadosProgram, MissingDatabaseFailsNamingIt)
{
    const QString missing = DemoShop::scratch(QStringLiteral("missing.fdb"));
    const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"),
                                       QStringList{QStringLiteral("--db"), missing} + hoja(DemoShop::scratch(QStringLiteral("m.pdf"))));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing)) << r.err.toStdString();
}

TEST(ListadosProgram, OutputFolderMissingFails)
{
    const QString folder = DemoShop::scratch(QStringLiteral("no-such-folder"));
    const ProgramRun r = DemoShop::listados(hoja(folder + QStringLiteral("/hoja.pdf"), {"--desde", kFirstDay}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(folder)) << r.err.toStdString();
}

// A journal report that cannot be prepared ends the program with one error window, not a crash.
TEST(ListadosProgram, JournalWhoseReportCannotBePreparedExitsOne)
{
    const QString sinMoneda = DemoShop::copy(QStringLiteral("sin-moneda"));
    {
        lumetra::Database db;
        db.open(sinMoneda);
        db.execute(QStringLiteral("drop table MONEDA"));
    }
    for (const char* tipo : {"resumido", "detallado", "dias-hoja", "dias"}) {
        const QString csv = DemoShop::scratch(QStringLiteral("sin-moneda-%1.csv").arg(QLatin1String(tipo)));
        const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"),
                                           {"--db", sinMoneda, "--listado", "diario", "--tipo", tipo, "--fecha", "entre", "--desde",
                                            kFirstDay, "--hasta", "10/05/2013", "--tiendas", "todas", "--salida", csv});
        EXPECT_EQ(r.exitCode, 1) << tipo << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count(QStringLiteral("ventana de error")), 1) << tipo << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("MONEDA"))) << tipo << ": " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(csv)) << tipo;
    }
}

TEST(ListadosProgram, DayWithoutOperationsExitsThree)
{
    // The day before the history starts.
    const QString pdf = DemoShop::scratch(QStringLiteral("empty.pdf"));
    const ProgramRun r = DemoShop::listados(hoja(pdf, {"--desde", "30/04/2013", "--tiendas", "todas"}));
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("No existen operaciones en las fechas seleccionadas"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ListadosProgram, CashSheetOfTheFirstDayReadsBackFromPdf)
{
    const QString pdf = DemoShop::scratch(QStringLiteral("hoja.pdf"));
    const ProgramRun r = DemoShop::listados(hoja(pdf, {"--desde", kFirstDay, "--tiendas", "todas"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(pdf)) << r.out.toStdString();

    const QString text = output(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Hoja de Caja del día ") + kFirstDay)) << text.left(2000).toStdString();
}

TEST(ListadosProgram, CashSheetWithItsReportsIntoSpreadsheetAndCsv)
{
    const QString xlsx = DemoShop::scratch(QStringLiteral("hoja.xlsx"));
    const QString csv = DemoShop::scratch(QStringLiteral("hoja.csv"));
    const QStringList conditions{"--desde", kFirstDay, "--tiendas", "todas", "--informe-grupos", "si", "--informe-tarjetas", "si"};
    const ProgramRun toXlsx = DemoShop::listados(hoja(xlsx, conditions));
    ASSERT_EQ(toXlsx.exitCode, 0) << toXlsx.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(XlsxReader::part(xlsx, QStringLiteral("xl/sharedStrings.xml"))).contains(QStringLiteral("Hoja de Caja del día ") + kFirstDay));

    const ProgramRun toCsv = DemoShop::listados(hoja(csv, conditions));
    ASSERT_EQ(toCsv.exitCode, 0) << toCsv.err.toStdString();
    QFile sheet(csv);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(sheet.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QString header = QStringLiteral("Hoja de Caja del día ") + kFirstDay
        + QStringLiteral(";[Todas las Tiendas Seleccionadas];Lumetra Óptica, S.L.;B08000000;");
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const QString& row) { return row.startsWith(header); }));
    // The reports printed after the cash sheet go beside it.
    for (const char* name : {"hoja-grupos.csv", "hoja-tarjetas.csv"}) {
        QFile companion(DemoShop::scratch(QString::fromLatin1(name)));
        ASSERT_TRUE(companion.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(QString::fromUtf8(companion.readAll()).contains(kFirstDay)) << name;
    }
}

// The cash sheet in a spreadsheet: every amount is a number to add up, shown as printed; the
// day is a date; the documents' series and numbers stay text.
TEST(ListadosProgram, CashSheetSpreadsheetHoldsAmountsAsNumbers)
{
    const QString xlsx = DemoShop::scratch(QStringLiteral("hoja-cifras.xlsx"));
    const ProgramRun r = DemoShop::listados(hoja(xlsx, {"--desde", kFirstDay, "--tiendas", "todas"}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const lumetra::test::XlsxReader sheet(xlsx);
    const QRegularExpression amount(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})*,\\d\\d €$"));
    const QRegularExpression document(QStringLiteral("^[A-Z]/\\d+$"));
    int amounts = 0, negatives = 0, documents = 0, days = 0;
    for (auto it = sheet.cells().begin(); it != sheet.cells().end(); ++it) {
        const lumetra::test::XlsxCell& cell = it.value();
        if (!cell.isNumber()) {
            EXPECT_FALSE(amount.match(cell.value).hasMatch()) << it.key().toStdString() << ": an amount left as text: " << cell.value.toStdString();
            documents += document.match(cell.value).hasMatch();
            continue;
        }
        if (cell.format == QStringLiteral("#,##0.00 \"€\"")) {
            ++amounts;
            negatives += cell.value.toDouble() < 0;
        }
        days += cell.format == QStringLiteral("dd/mm/yyyy") && cell.value == QStringLiteral("41395");
    }
    EXPECT_GT(amounts, 20);
    EXPECT_GT(negatives, 0) << "the day's cash balance of the demo shop is negative";
    EXPECT_GT(documents, 5);
    EXPECT_GT(days, 0) << "01/05/2013 as a date";
}

} // namespace
