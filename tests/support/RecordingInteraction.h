// RecordingInteraction: an interaction for tests. It records every message, modal window,
// preview and print instead of showing them, and installs itself while it lives. Modal windows
// are not run (their summary is recorded) unless a handler is set, which then gets the dialog
// and returns its result, so a test can drive a real dialog.
#pragma once

#include "platform/report/ReportDocument.h"
#include "platform/ui/Interaction.h"

#include <QDialog>
#include <QStringList>
#include <QVector>
#include <functional>

namespace lumetra::test {

class RecordingInteraction : public Interaction {
public:
    struct Output {
        ReportDocument document;
        int printerIndex = -1;
        QString name;
        bool previewed = false;
    };

    RecordingInteraction() { Interaction::install(this); }
    ~RecordingInteraction() override { Interaction::install(nullptr); }

    void message(QWidget*, const QString& title, const QString& text, Icon) override
    {
        messages << title + QStringLiteral(": ") + text;
    }
    int execDialog(QDialog& dialog, const QString& summary) override
    {
        dialogs << summary;
        return onDialog ? onDialog(dialog) : int(QDialog::Accepted);
    }
    void showWindow(QWidget& window) override { shownWindows << window.objectName(); }
    void processEvents() override
    {
        ++eventPasses;
        if (onProcessEvents)
            onProcessEvents();
    }
    void preview(const ReportDocument& document, int printerIndex, QWidget*, const QString& name) override
    {
        outputs.append({document, printerIndex, name, true});
    }
    void print(const ReportDocument& document, int printerIndex, const QString& name) override
    {
        outputs.append({document, printerIndex, name, false});
    }

    bool canPrint() const override { return printerAvailable; }

    QStringList messages;
    QStringList dialogs;
    QStringList shownWindows;
    QVector<Output> outputs;
    int eventPasses = 0;
    bool printerAvailable = true;
    std::function<int(QDialog&)> onDialog;
    std::function<void()> onProcessEvents;
};

} // namespace lumetra::test
