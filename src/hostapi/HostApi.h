// Export marker of the types the host and the listing module share.
#pragma once

#include <QtGlobal>

#if defined(LUMETRA_HOSTAPI_BUILD)
#define LUMETRA_HOSTAPI_EXPORT Q_DECL_EXPORT
#else
#define LUMETRA_HOSTAPI_EXPORT Q_DECL_IMPORT
#endif
