// Which Windows runs the program, decided in one place for the whole program.
#pragma once

namespace platform {

// The version comes from ntdll's RtlGetVersion where it exists, which a compatibility
// layer set by the user cannot rewrite, otherwise from GetVersionExA. When it cannot be
// read at all, each answer is that of a current NT system: every system that can still
// run the program is one, and its checks are the safe ones there.

// True unless the 9x family (VER_PLATFORM_WIN32_WINDOWS) is reported.
bool IsNtFamily();

// True on Windows Vista (NT 6.0) and later.
bool IsVistaOrLater();

// True where the shell shows balloons on notification icons: every Windows but 95, 98
// and NT 4 (Me and 2000 onwards).
bool ShellHasBalloons();

}  // namespace platform
