// One walk over a fresh tool-help snapshot of the running processes.
#pragma once

#include <functional>
#include <string>

#include "platform/KernelTypes.h"

// Calls visit for every entry, first to last, and closes the snapshot; false when
// no snapshot could be taken.
bool WalkProcessSnapshot(const std::function<void(const win::PROCESSENTRY32&)>& visit);

// The entry's executable text (a bare name on the NT family, a full path on 9x).
std::string ExecutableText(const win::PROCESSENTRY32& entry);

// The executable name without any directory part, in lower case.
std::string ProcessName(const win::PROCESSENTRY32& entry);
