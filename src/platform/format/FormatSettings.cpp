#include "platform/format/FormatSettings.h"

namespace lumetra {

namespace {

FormatSettings& currentSettings()
{
    // Function-local so it is ready even when used during static initialisation.
    static FormatSettings settings = FormatSettings::spanish();
    return settings;
}

} // namespace

const FormatSettings& FormatSettings::current()
{
    return currentSettings();
}

void FormatSettings::setCurrent(const FormatSettings& settings)
{
    currentSettings() = settings;
}

} // namespace lumetra
