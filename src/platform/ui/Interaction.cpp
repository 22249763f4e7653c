#include "platform/ui/Interaction.h"

#include "platform/report/ReportDocument.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportPreview.h"
#include "platform/report/ReportPrinter.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace lumetra {

namespace {
Interaction* installed = nullptr;
}

Interaction& Interaction::current()
{
    static QtInteraction qt;
    return installed ? *installed : qt;
}

void Interaction::install(Interaction* interaction)
{
    installed = interaction;
}

void QtInteraction::message(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical
                        : icon == Icon::Warning ? QMessageBox::Warning
                                                : QMessageBox::Information,
                    title, text, QMessageBox::Ok, parent);
    box.exec();
}

int QtInteraction::execDialog(QDialog& dialog, const QString&)
{
    return dialog.exec();
}

void QtInteraction::showWindow(QWidget& window)
{
    window.show();
    window.raise();
    QApplication::processEvents();
}

void QtInteraction::processEvents()
{
    QApplication::processEvents();
}

void QtInteraction::preview(const ReportDocument& document, int printerIndex, QWidget* parent, const QString&)
{
    ReportPreview preview(document, parent);
    preview.setPrinterIndex(printerIndex);
    preview.exec();
}

void QtInteraction::print(const ReportDocument& document, int printerIndex, const QString&)
{
    try {
        ReportPrinter::print(document, printerIndex);
    } catch (const ReportError& e) {
        message(nullptr, QStringLiteral("ERROR"), e.message(), Icon::Error);
    }
}

bool Interaction::canPrint() const
{
    return true;
}

bool QtInteraction::canPrint() const
{
    return ReportPrinter::hasPrinter();
}

} // namespace lumetra
