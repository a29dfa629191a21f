// A bitmap, brush or region deleted through the seam when it goes out of scope. It must
// not be selected into a device context by then.
#pragma once

#include "Platform.h"
#include "Scoped.h"

namespace platform {

struct GdiObjectKind : NullMeansNone<win::HGDIOBJ> {
    static win::BOOL Close(win::HGDIOBJ object) { return Gdi().DeleteObject(object); }
};
using ScopedGdiObject = Scoped<GdiObjectKind>;

}  // namespace platform
