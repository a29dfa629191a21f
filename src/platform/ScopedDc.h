// A device context made by CreateCompatibleDC, deleted through the seam when it goes out
// of scope.
#pragma once

#include "Platform.h"
#include "Scoped.h"

namespace platform {

struct CreatedDcKind : NullMeansNone<win::HDC> {
    static win::BOOL Close(win::HDC dc) { return Gdi().DeleteDC(dc); }
};
using ScopedDc = Scoped<CreatedDcKind>;

}  // namespace platform
