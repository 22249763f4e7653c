// ReportError: a report could not be written or printed (a file that cannot be created, an
// unknown export format, a printer that does not start).
#pragma once

#include <QString>
#include <stdexcept>

namespace lumetra {

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace lumetra
