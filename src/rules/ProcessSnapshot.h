// One walk over a fresh tool-help snapshot of the running processes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/KernelTypes.h"

// Calls visit for every entry, first to last, and closes the snapshot; false when
// no snapshot could be taken.
bool WalkProcessSnapshot(const std::function<void(const win::PROCESSENTRY32&)>& visit);

// The entries of one fresh snapshot, for several readers of the same walk; false when no
// snapshot could be taken.
bool SnapshotProcessEntries(std::vector<win::PROCESSENTRY32>& entries);

// The entry's executable text (a bare name on the NT family, a full path on 9x).
std::string ExecutableText(const win::PROCESSENTRY32& entry);

// The executable name without any directory part, in lower case.
std::string ProcessName(const win::PROCESSENTRY32& entry);
