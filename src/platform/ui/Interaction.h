// Interaction: everything the listings need from a person goes through here — message boxes,
// modal windows, the progress window, the report preview and direct printing. The Qt
// implementation shows real dialogs; a front end without a display installs its own (messages to
// standard error, reports to files), and tests install one that records.
//
// current() is process-wide and never null: without an installed interaction it is the Qt one.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace lumetra {

class ReportDocument;

class Interaction {
public:
    enum class Icon { Error, Warning, Information };

    virtual ~Interaction() = default;

    // A modal message box with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
    // Runs a modal window and returns its result; `summary` says what it shows, for front ends
    // that show no windows.
    virtual int execDialog(QDialog& dialog, const QString& summary) = 0;
    // Shows a modeless window (the progress window) and lets it paint.
    virtual void showWindow(QWidget& window) = 0;
    // Lets pending window events run: repaints, a click on a Cancel button.
    virtual void processEvents() = 0;
    // The preview of a finished report on the given printer (-1: the default one). `name` tells
    // which report it is ("hoja", "grupos", ...).
    virtual void preview(const ReportDocument& document, int printerIndex, QWidget* parent, const QString& name) = 0;
    // Prints without a preview.
    virtual void print(const ReportDocument& document, int printerIndex, const QString& name) = 0;
    // Whether print() can reach a printer at all (a front end that prints to files always can).
    virtual bool canPrint() const;

    static Interaction& current();
    // Installs an interaction (not owned); nullptr brings back the Qt dialogs.
    static void install(Interaction* interaction);
};

// The real dialogs.
class QtInteraction : public Interaction {
public:
    void message(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    int execDialog(QDialog& dialog, const QString& summary) override;
    void showWindow(QWidget& window) override;
    void processEvents() override;
    void preview(const ReportDocument& document, int printerIndex, QWidget* parent, const QString& name) override;
    void print(const ReportDocument& document, int printerIndex, const QString& name) override;
    bool canPrint() const override;
};

} // namespace lumetra
