#include "platform/report/LayoutObserver.h"

namespace lumetra {

namespace {
thread_local LayoutObserver* installed = nullptr;
}

LayoutObserver::~LayoutObserver() = default;

void LayoutObserver::install(LayoutObserver* observer)
{
    installed = observer;
}

LayoutObserver* LayoutObserver::current()
{
    return installed;
}

} // namespace lumetra
