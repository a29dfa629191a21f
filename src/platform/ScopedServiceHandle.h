// A service manager or service handle closed, when it goes out of scope, through the
// run-time import it was opened beside.
#pragma once

#include "RuntimeImports.h"
#include "Scoped.h"

namespace platform {

struct ServiceHandleKind : NullMeansNone<win::SC_HANDLE> {
    static win::BOOL Close(win::SC_HANDLE handle) {
        auto close = imports::CloseServiceHandle();
        return close != nullptr && close(handle);
    }
};
using ScopedServiceHandle = Scoped<ServiceHandleKind>;

// Whether service handles can be closed here; where they cannot, none may be opened.
inline bool CanCloseServiceHandles() { return imports::CloseServiceHandle() != nullptr; }

}  // namespace platform
