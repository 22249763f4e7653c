// What the report tests lay out: a table of sales, and a listing of them with a day on each page.
#pragma once

#include "platform/memtable/MemTable.h"
#include "platform/report/Report.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <gtest/gtest.h>

namespace lumetra::test {

struct Sale {
    QString fecha;
    double importe;
    QString concepto = {};
};

inline void fillSales(MemTable& table, const QList<Sale>& sales)
{
    table.addField("Fecha", MemTable::FieldType::Text, 10);
    table.addField("Concepto", MemTable::FieldType::Text, 80);
    table.addField("Importe", MemTable::FieldType::Float);
    table.open();
    for (const Sale& s : sales) {
        table.append();
        table.setField("Fecha", s.fecha);
        table.setField("Concepto", s.concepto);
        table.setField("Importe", s.importe);
        table.post();
    }
}

// Title and page header, a group per day that starts a page, concept and amount, the page number.
inline void defineSalesReport(Report& report, MemTable& table)
{
    report.setTitle("Hoja de Caja");
    report.setPageHeader("bndCabecera", 30).addLabel("qxtTitulo", {0, 0, 300, 20}, "Listado de Hoja de Caja");
    ReportGroup& day = report.addGroup("bndGrupo", "Fecha", 30);
    day.setNewPage(true);
    day.header().addDataText("qxtFecha", {0, 0, 200, 20}, "Fecha");
    ReportBand& detail = report.setDetail("bndDetalle", 20);
    detail.addDataText("qxtConcepto", {0, 0, 300, 18}, "Concepto");
    detail.addDataText("qxtImporte", {400, 0, 100, 18}, "Importe")->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    report.setPageFooter("bndPie", 20).addSysData("qrsPagina", {0, 0, 100, 18}, ReportSysData::Data::PageNumber);
    report.setDataSet(table);
}

inline QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void put(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// Every entry of a folder, hidden ones too: what a failed or finished export left there.
inline QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace lumetra::test
