// Export marker of the listing module's entry points and instance variables.
#pragma once

#include <QtGlobal>

#if defined(LUMETRA_MODULE_BUILD)
#define LUMETRA_MODULE_EXPORT Q_DECL_EXPORT
#else
#define LUMETRA_MODULE_EXPORT Q_DECL_IMPORT
#endif
