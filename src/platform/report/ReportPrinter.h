// ReportPrinter: the printer of a listing, chosen by name. The host names its listing printer;
// its index in the system printer list selects it, and a name the system does not know (or no
// name) gives -1, the default printer.
#pragma once

#include <QString>

class QPrinter;

namespace lumetra {

class ReportDocument;

class ReportPrinter {
public:
    static int printerIndex(const QString& name);
    // Whether the system has any printer installed.
    static bool hasPrinter();
    // Points the printer at the system printer of that index; -1 or an index out of range
    // leaves the default printer.
    static void choose(QPrinter& printer, int index);
    // Prints without asking; throws ReportError when the printer does not start.
    static void print(const ReportDocument& document, int printerIndex);
};

} // namespace lumetra
