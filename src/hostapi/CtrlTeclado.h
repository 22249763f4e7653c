// TCtrlTeclado: the host's keyboard service. Enter moves the focus to the next control, except
// inside a grid, a multi-line text, or a drop-down whose list is open, which use Enter
// themselves.
#pragma once

#include "hostapi/HostApi.h"

class QWidget;

namespace lumetra {

class LUMETRA_HOSTAPI_EXPORT TCtrlTeclado {
public:
    bool PermiteEnter(const QWidget* enfocado) const;
};

} // namespace lumetra
