// An open registry key closed through the seam when it goes out of scope.
#pragma once

#include "Platform.h"
#include "Scoped.h"

namespace platform {

struct RegistryKeyKind : NullMeansNone<win::HKEY> {
    static win::LONG Close(win::HKEY key) { return Registry().RegCloseKey(key); }
};
using ScopedRegistryKey = Scoped<RegistryKeyKind>;

}  // namespace platform
