// Entry point of Drainex.exe.
#include "drainex/DrainexRun.h"
#include "platform/LibrarySearch.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentText, int) {
    platform::RestrictLibrarySearch();
    return RunDrainex(argumentText);
}
