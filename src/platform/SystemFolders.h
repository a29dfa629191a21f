// Paths of files in the system's own folders, which only administrators can change.
#pragma once

#include <string>

namespace platform {

// The path of the file name in the system folder (or the Windows folder); empty when the
// folder cannot be read.
std::string InSystemFolder(const char* name);
std::string InWindowsFolder(const char* name);

}  // namespace platform
