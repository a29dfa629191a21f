// The rule script that every boost executes.
#pragma once

#include <string>

// Lines that clear the suspend bit of the processes the system needs.
extern const char ProtectedProcessList[];

// True for a name that a line of the protected list names, in any letter case.
bool IsProtectedProcess(const std::string& name);

// Voice and recording programs keep their priority class and processors through a
// boost (their working set is still trimmed): throttled beside a game that has every
// processor again, voice breaks up and recordings drop frames. Any letter case.
bool KeepsItsPace(const std::string& name);

// The head lines (priority, processor mask and trim for all), then either the
// suspend and hide lines for every unprotected process or the suspend lines
// for the running catalogue programs.
std::string ComposeRuleScript(bool suspendUnidentified);
