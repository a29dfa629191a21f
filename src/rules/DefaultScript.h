// The rule script that every boost executes.
#pragma once

#include <string>

// Lines that clear the suspend bit of the processes the system needs.
extern const char ProtectedProcessList[];

// The head lines (priority, processor mask and trim for all), then either the
// suspend and hide lines for every unprotected process or the suspend lines
// for the running catalogue programs.
std::string ComposeRuleScript(bool suspendUnidentified);
