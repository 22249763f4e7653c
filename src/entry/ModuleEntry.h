// The listing module's entry points, with C linkage: the host resolves them by name.
#pragma once

#include "entry/ModuleApi.h"

namespace lumetra {
struct HostParams;
}

extern "C" {
// Opens the listing window as a child of the host's main window and returns at once: 0 when it
// was created and shown, -1 when that failed. When Qt's texts do not already come out in Spanish
// it first installs Qt's Spanish translation (once). Never throws.
LUMETRA_MODULE_EXPORT int _Cargar_Dll(lumetra::HostParams* parametros);
// Takes out the translation _Cargar_Dll installed, if any; open windows stay as they are.
// Returns 0.
LUMETRA_MODULE_EXPORT int _Liberar_Dll();
}
