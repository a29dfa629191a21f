// Which Windows family runs the program, decided in one place for the whole program.
#pragma once

namespace platform {

// True unless GetVersionExA reports the 9x family (VER_PLATFORM_WIN32_WINDOWS). When
// the version cannot be read at all, the NT family: every system that can still run
// the program is one, and its checks are the safe ones there.
bool IsNtFamily();

// True where the shell shows balloons on notification icons: every Windows but 95, 98
// and NT 4 (Me and 2000 onwards). When the version cannot be read, true.
bool ShellHasBalloons();

}  // namespace platform
