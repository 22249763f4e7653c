// HeadlessInteraction: the interaction of a front end without a display. Messages and the
// summaries of error windows go to standard error (error windows are not run); the previewed
// report is written to the output file, and each report printed directly after it to the same
// name with "-<report name>" before the extension.
//
// Reports are written complete but kept out of place until publish() moves them all over their
// paths, so a listing that stops half-way leaves every earlier file as it was. Into PDF, every
// report is written while it is laid out (BackgroundPdfWriter), on the second processor.
//
// It remembers what happened, so the front end can answer with one exit status: Failure when
// anything failed (an error window, a file not written, a message that is neither a validation
// message nor "nothing found", or no report at all), else InvalidConditions after a validation
// message, else NothingFound, else Printed.
//
// Once the stop check (stopWhen()) answers a signal, the listing is stopped the way a person
// stops it: every progress window's "Cancelar" is pressed as events are let run; reports that
// still arrive are not written, and publish() discards what was.
#pragma once

#include "platform/report/BackgroundPdfWriter.h"
#include "platform/report/ReportExporter.h"
#include "platform/ui/Interaction.h"

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace lumetra {

class HeadlessInteraction : public Interaction {
public:
    enum ExitStatus { Printed = 0, Failure = 1, InvalidConditions = 2, NothingFound = 3 };

    // `salida`: where the previewed report goes; its extension gives the format. Lines for the
    // user also go to `errores` unless it is null.
    explicit HeadlessInteraction(QString salida, FILE* errores = stderr);

    void message(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    int execDialog(QDialog& dialog, const QString& summary) override;
    void showWindow(QWidget& window) override;
    void processEvents() override;
    void preview(const ReportDocument& document, int printerIndex, QWidget* parent, const QString& name) override;
    void print(const ReportDocument& document, int printerIndex, const QString& name) override;

    // A failure outside the window (the front end's own), reported the same way.
    void fail(const QString& text);

    // `signal` answers the number of the signal that asks the listing to stop, 0 while none has.
    void stopWhen(std::function<int()> signal);
    int stopSignal() const { return stopSignal_ ? stopSignal_() : 0; }
    // Moves every report written over its path; false (and nothing moved) once a stop was asked
    // for, or when a file could not be put in place (a failure, reported).
    bool publish();

    ExitStatus exitStatus() const;
    // Whether anything has failed so far.
    bool hasFailed() const { return failed_; }
    // Files published, in order, as absolute paths.
    const QStringList& written() const { return written_; }
    // Every line written for the user, in order.
    const QStringList& lines() const { return lines_; }

    // `salida` with "-name" before its extension.
    static QString companionPath(const QString& salida, const QString& name);

private:
    void say(const QString& line);
    void write(const ReportDocument& document, const QString& path);
    void cancelProgress();

    QString salida_;
    FILE* errores_;
    std::function<int()> stopSignal_;
    std::unique_ptr<BackgroundPdfWriter> pdf_;   // into PDF only
    std::vector<std::unique_ptr<ReportExporter::Staged>> staged_;
    QStringList written_;
    QStringList lines_;
    bool failed_ = false;
    bool invalid_ = false;
    bool nothingFound_ = false;
};

} // namespace lumetra
