// The start of Drainex: one instance at a time, the argument text, one release.
#pragma once

// Exists while a Drainex instance runs.
constexpr const char* kDrainexMutexName = "DRAINEXTORESERVICE_KESTRAVA";

// Runs Drainex for the argument text of its command line; the exit code, always 0.
// Nothing is sent when another instance runs, the text is refused or the window is 0.
int RunDrainex(const char* argumentText);
