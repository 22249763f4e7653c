// TestTools: what many test programs need and none should write again. Programs run as child
// processes (the project's own beside the test program, or a tool on the PATH), a query's rows
// read as texts, the printed bands of a laid-out document, and the CSV export parsed back as a
// spreadsheet reads it.
#pragma once

#include "platform/db/Database.h"
#include "platform/db/Dataset.h"
#include "platform/report/ReportDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStringList>
#include <QVector>
#include <gtest/gtest.h>

namespace lumetra::test {

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs `program` to its end: a name with no folder is first looked for beside the test program,
// then on the PATH. A run that does not finish normally fails the test.
inline ProgramRun runProgram(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int timeoutMs = 300000)
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(program);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(!program.contains(QLatin1Char('/')) && QFileInfo::exists(beside) ? beside : program, arguments);
    ProgramRun result;
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    else
        ADD_FAILURE() << program.toStdString() << " did not finish: " << process.errorString().toStdString();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// The standard output of a run that must succeed.
inline QString output(const QString& program, const QStringList& arguments)
{
    const ProgramRun r = runProgram(program, arguments);
    EXPECT_EQ(r.exitCode, 0) << program.toStdString() << " " << arguments.join(QLatin1Char(' ')).toStdString() << ": "
                             << r.err.toStdString();
    return r.out;
}

// Every row of a query as texts, its first `columns` columns (all when negative).
inline QList<QStringList> queryRows(Database& db, const QString& sql, int columns = -1)
{
    Dataset d(QStringLiteral("dstAux"));
    d.setDatabase(&db);
    d.setSql(sql);
    d.open();
    QList<QStringList> rows;
    for (d.first(); !d.eof(); d.next()) {
        QStringList row;
        for (int i = 0; i < (columns < 0 ? d.fieldCount() : columns); ++i)
            row << d.fieldAsText(d.fieldName(i));
        rows << row;
    }
    return rows;
}

// The first column of a query's first row, as a number (0 without rows).
inline double queryNumber(Database& db, const QString& sql)
{
    Dataset d(QStringLiteral("dstAux"));
    d.setDatabase(&db);
    d.setSql(sql);
    d.open();
    return d.fieldAsFloat(d.fieldName(0));
}

// The same on a connection of its own to the database at `path`: only committed rows are seen.
inline double queryNumber(const QString& path, const QString& sql)
{
    Database other;
    other.open(path);
    return queryNumber(other, sql);
}

// The printed bands of that name, of one page or of all.
inline QList<PrintedBand> bands(const ReportDocument& doc, const QString& name, int page = -1)
{
    QList<PrintedBand> found;
    for (const PrintedBand& b : doc.bands)
        if (b.name == name && (page < 0 || b.page == page))
            found << b;
    return found;
}

// The texts of those bands, one list a band.
inline QList<QStringList> bandTexts(const ReportDocument& doc, const QString& name)
{
    QList<QStringList> texts;
    for (const PrintedBand& b : bands(doc, name))
        texts << b.texts;
    return texts;
}

// Rows of fields of a CSV export, quotes honoured (a quoted field may hold ';', '"' doubled and
// line breaks); every row ends in CR LF.
inline QVector<QStringList> parseCsv(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QVector<QStringList> rows;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                field += text.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            fields << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            fields << field;
            rows << fields;
            fields.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "a quoted field is never closed";
    EXPECT_TRUE(field.isEmpty() && fields.isEmpty()) << "the last row has no end";
    return rows;
}

} // namespace lumetra::test
