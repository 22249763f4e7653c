// What the headless front end makes of the window's messages, windows and reports.
#include "DemoShop.h"
#include "HeadlessInteraction.h"

#include "common/frmPorcentajeListado.h"
#include "platform/format/PrintQString.h"
#include "platform/report/ReportBand.h"
#include "platform/report/ReportDocument.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

using namespace lumetra;
using lumetra::test::DemoShop;

namespace {

ReportDocument oneLine(const QString& text)
{
    ReportDocument doc;
    doc.title = text;
    doc.pageSize = QSizeF(794, 1123);
    ReportItem item;
    item.text = text;
    item.rect = QRectF(40, 40, 400, 20);
    item.band = 0;
    doc.pages.append(ReportPage{{item}});
    PrintedBand band;
    band.name = QStringLiteral("bndDetalle");
    band.type = BandType::Detail;
    band.rect = QRectF(0, 40, 794, 20);
    band.texts = {text};
    doc.bands.append(band);
    return doc;
}

void say(HeadlessInteraction& i, const char* text)
{
    i.message(nullptr, QStringLiteral("ERROR"), QString::fromUtf8(text), Interaction::Icon::Error);
}

TEST(HeadlessInteraction, WhatHappenedGivesTheExitStatus)
{
    const auto hoja = [](auto& i) { i.preview(oneLine("Total"), -1, nullptr, "hoja"); };
    // What happens, the status it gives, and the output file it was to go to.
    const std::tuple<const char*, std::function<void(HeadlessInteraction&)>, HeadlessInteraction::ExitStatus, const char*> rows[] = {
        {"report_written", hoja, HeadlessInteraction::Printed, "status.csv"},
        {"unwritable_output", [&](auto& i) { hoja(i); EXPECT_TRUE(i.lines().join('|').contains("missing/hoja.pdf")); },
         HeadlessInteraction::Failure, "missing/hoja.pdf"},
        {"nothing_happened", [](auto&) {}, HeadlessInteraction::Failure, "status.csv"},
        {"empty_date", [](auto& i) { say(i, "La Fecha No Puede ser Vacia"); }, HeadlessInteraction::InvalidConditions, "status.csv"},
        {"nothing_found", [](auto& i) { say(i, "No existen operaciones en las fechas seleccionadas"); },
         HeadlessInteraction::NothingFound, "status.csv"},
        {"listing_not_available", [](auto& i) { say(i, "El listado «Diario de I.V.A» no está disponible en esta versión"); },
         HeadlessInteraction::Failure, "status.csv"},
        {"error_window", [](auto& i) { QDialog d; EXPECT_EQ(i.execDialog(d, "Función: AbrirQuery"), int(QDialog::Accepted)); },
         HeadlessInteraction::Failure, "status.csv"},
        {"incomplete_report",
         [](auto& i) {
             ReportDocument doc = oneLine("Total");
             doc.error = QStringLiteral("bndDetalle: sin datos");
             i.preview(doc, -1, nullptr, "hoja");
         },
         HeadlessInteraction::Failure, "status.csv"},
    };
    for (const auto& [name, happens, status, salida] : rows) {
        HeadlessInteraction interaction(DemoShop::scratch(QString::fromLatin1(salida)), nullptr);
        happens(interaction);
        EXPECT_EQ(interaction.exitStatus(), status) << name;
        if (status == HeadlessInteraction::Failure) {
            EXPECT_TRUE(interaction.written().isEmpty()) << name;
        }
    }
}

QStringList entries(const QTemporaryDir& folder)
{
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Nothing is in place while the listing runs; published, every report reaches its file together.
TEST(HeadlessInteraction, ReportsPrintedAfterThePreviewGoBesideItByNameWhenPublished)
{
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("caja.v1.csv"));
    HeadlessInteraction interaction(out, nullptr);
    interaction.preview(oneLine("Hoja de Caja"), -1, nullptr, QStringLiteral("hoja"));
    interaction.print(oneLine("Informe Por Tarjetas"), -1, QStringLiteral("tarjetas"));
    interaction.print(oneLine("Informe Por Grupos"), -1, QStringLiteral("grupos"));
    const QStringList expected = {out, folder.filePath(QStringLiteral("caja.v1-tarjetas.csv")),
                                  folder.filePath(QStringLiteral("caja.v1-grupos.csv"))};
    for (const QString& file : expected)
        EXPECT_FALSE(QFile::exists(file)) << "in place while the listing runs: " << file.toStdString();
    EXPECT_EQ(interaction.exitStatus(), HeadlessInteraction::Printed);
    ASSERT_TRUE(interaction.publish());
    EXPECT_EQ(interaction.written(), expected);
    EXPECT_EQ(entries(folder), (QStringList{"caja.v1-grupos.csv", "caja.v1-tarjetas.csv", "caja.v1.csv"}));
    const char* const texts[] = {"Hoja de Caja", "Informe Por Tarjetas", "Informe Por Grupos"};
    for (int i = 0; i < expected.size(); ++i) {
        QFile file(expected.at(i));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << expected.at(i).toStdString();
        EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QString::fromUtf8(texts[i]))) << texts[i];
    }
}

// What the program then does with the file it was to replace is ListadosSignalTest's.
TEST(HeadlessInteraction, AStopPressesCancelAndWritesNothing)
{
    QTemporaryDir folder;
    int signal = 0;
    HeadlessInteraction interaction(folder.filePath(QStringLiteral("caja.csv")), nullptr);
    interaction.stopWhen([&] { return signal; });
    QMainWindow owner;
    TfrmPorcentajeListado progress(&owner);

    interaction.showWindow(progress);
    interaction.preview(oneLine("Hoja de Caja"), -1, nullptr, QStringLiteral("hoja"));
    EXPECT_FALSE(progress.Cancelado()) << "no stop asked for yet";

    signal = SIGTERM;
    interaction.processEvents();
    EXPECT_TRUE(progress.Cancelado());
    // A progress window shown after the stop is cancelled as it appears.
    TfrmPorcentajeListado next(&owner);
    interaction.showWindow(next);
    EXPECT_TRUE(next.Cancelado());
    EXPECT_EQ(interaction.stopSignal(), SIGTERM);

    interaction.print(oneLine("Informe Por Grupos"), -1, QStringLiteral("grupos"));
    EXPECT_FALSE(interaction.publish());
    EXPECT_TRUE(interaction.written().isEmpty());
    EXPECT_TRUE(entries(folder).isEmpty());
}

} // namespace
