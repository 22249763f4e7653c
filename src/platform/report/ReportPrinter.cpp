#include "platform/report/ReportPrinter.h"

#include "platform/report/ReportPainter.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace lumetra {

int ReportPrinter::printerIndex(const QString& name)
{
    if (name.isEmpty())
        return -1;
    return int(QPrinterInfo::availablePrinterNames().indexOf(name));
}

bool ReportPrinter::hasPrinter()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void ReportPrinter::choose(QPrinter& printer, int index)
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (index >= 0 && index < names.size())
        printer.setPrinterName(names.at(index));
}

void ReportPrinter::print(const ReportDocument& document, int printerIndex)
{
    QPrinter printer(QPrinter::HighResolution);
    choose(printer, printerIndex);
    ReportPainter::print(document, printer);
}

} // namespace lumetra
