#include "platform/report/ReportProgress.h"

namespace lumetra {

namespace {
// One GUI thread lays reports out; a print on another thread gets its own.
thread_local ReportProgress::Function current;
}

ReportProgress::Scope::Scope(Function function)
    : previous_(std::move(current))
{
    current = std::move(function);
}

ReportProgress::Scope::~Scope()
{
    current = std::move(previous_);
}

bool ReportProgress::report(int rowsDone, int rowsTotal, int pages)
{
    return !current || current(rowsDone, rowsTotal, pages);
}

} // namespace lumetra
