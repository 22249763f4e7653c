// lumetra-listados as a user runs it: the real program, module and database, in a child process.
#include "DemoShop.h"

#include "platform/format/PrintQString.h"
#include "support/XlsxReader.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

using namespace lumetra::test;

namespace {

const QString kFirstDay = QString::fromLatin1(DemoShop::FirstDay);

// The cash sheet on the demo shop's database.
QStringList hoja(const QString& salida, const QStringList& more = {})
{
    return QStringList{"--db", DemoShop::path(), "--listado", "hoja", "--salida", salida} + more;
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

// 2: the options or the conditions are wrong; 1: the listing could not be made; 3: nothing to
// list. Never a file.
TEST(ListadosProgram, WhatStopsAListingGivesItsStatusAndSaysWhy)
{
    const QString pdf = DemoShop::scratch(QStringLiteral("refused.pdf"));
    const QString missing = DemoShop::scratch(QStringLiteral("missing.fdb"));
    const QString folder = DemoShop::scratch(QStringLiteral("no-such-folder"));
    const std::tuple<const char*, QStringList, int, QString> rows[] = {
        {"option_error", hoja(pdf, {"--desde", "2013-05-01"}), 2, "2013-05-01"},
        {"unknown_store", hoja(pdf, {"--tiendas", "77"}), 2, "77"},
        {"right_the_user_lacks", hoja(pdf, {"--usuario", "2", "--totales-mes", "si"}), 2, "--totales-mes"},
        {"reversed_dates", hoja(pdf, {"--fecha", "entre", "--desde", "03/05/2013", "--hasta", "02/05/2013"}), 2,
         "La Fecha Final no puede ser menor que la Inicial"},
        {"unknown_user", hoja(pdf, {"--usuario", "99", "--desde", kFirstDay}), 2, "el usuario 99 no existe"},
        {"unknown_current_store", hoja(pdf, {"--tienda", "99", "--desde", kFirstDay}), 2,
         "la tienda actual 99 (--tienda) no existe en la base de datos"},
        {"missing_database", {"--db", missing, "--listado", "hoja", "--salida", pdf}, 1, missing},
        {"missing_output_folder", hoja(folder + QStringLiteral("/hoja.pdf"), {"--desde", kFirstDay}), 1, folder},
        // The day before the history starts.
        {"day_without_operations", hoja(pdf, {"--desde", "30/04/2013", "--tiendas", "todas"}), 3,
         "No existen operaciones en las fechas seleccionadas"},
    };
    for (const auto& [name, arguments, status, says] : rows) {
        SCOPED_TRACE(name);
        const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"), arguments);
        EXPECT_EQ(r.exitCode, status) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(says)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

// Each format read back; in the spreadsheet every amount is a number to add up. The reports
// ticked after the cash sheet go beside it.
TEST(ListadosProgram, CashSheetOfTheFirstDayWithItsReportsReadsBackFromEachFormat)
{
    const QString title = QStringLiteral("Hoja de Caja del día ") + kFirstDay;
    for (const char* format : {"pdf", "xlsx", "csv"}) {
        SCOPED_TRACE(format);
        const QString file = DemoShop::scratch(QStringLiteral("hoja.") + QLatin1String(format));
        const ProgramRun r = DemoShop::run(QStringLiteral("lumetra-listados"),
                                           hoja(file, {"--desde", kFirstDay, "--tiendas", "todas", "--informe-grupos", "si",
                                                       "--informe-tarjetas", "si"}));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(file)) << r.out.toStdString();
    }
    for (const char* report : {"Grupos", "Tarjetas"}) {
        QFile beside(DemoShop::scratch(QStringLiteral("hoja-%1.csv").arg(QString::fromLatin1(report).toLower())));
        ASSERT_TRUE(beside.open(QIODevice::ReadOnly)) << report;
        EXPECT_TRUE(QString::fromUtf8(beside.readAll()).contains(QStringLiteral("Informe Por %1 del día %2").arg(QLatin1String(report), kFirstDay)));
    }

    EXPECT_TRUE(output(QStringLiteral("pdftotext"), {DemoShop::scratch(QStringLiteral("hoja.pdf")), QStringLiteral("-")}).contains(title));

    const XlsxReader sheet(DemoShop::scratch(QStringLiteral("hoja.xlsx")));
    const QRegularExpression amount(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})*,\\d\\d €$"));
    int amounts = 0, titles = 0;
    for (const XlsxCell& cell : sheet.cells()) {
        EXPECT_FALSE(!cell.isNumber() && amount.match(cell.value).hasMatch()) << "an amount left as text: " << cell.value.toStdString();
        amounts += cell.isNumber() && cell.format == QStringLiteral("#,##0.00 \"€\"");
        titles += cell.value == title;
    }
    EXPECT_GT(amounts, 20);
    EXPECT_GT(titles, 0);

    QFile csv(DemoShop::scratch(QStringLiteral("hoja.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QString header = title + QStringLiteral(";[Todas las Tiendas Seleccionadas];Lumetra Óptica, S.L.;B08000000;");
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const QString& row) { return row.startsWith(header); }));
}

} // namespace
