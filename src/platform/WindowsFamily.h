// Which Windows family runs the program, decided in one place for the whole program.
#pragma once

namespace platform {

// True unless the 9x family (VER_PLATFORM_WIN32_WINDOWS) is reported: by ntdll's
// RtlGetVersion where it exists, which a compatibility layer set by the user cannot
// rewrite, otherwise by GetVersionExA. When the version cannot be read at all, the NT
// family: every system that can still run the program is one, and its checks are the
// safe ones there.
bool IsNtFamily();

}  // namespace platform
