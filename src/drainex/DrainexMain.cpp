// Entry point of Drainex.exe.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "drainex/DrainexRun.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentText, int) { return RunDrainex(argumentText); }
