// The state folder as the program uses it: checked again before each use (start-up
// recovery, each boost, each restore). The first time it is refused in a run, it is moved
// aside and a fresh one made, and a message box says what went where; when it still must
// not be used, one message box per run names it and says why, and the use goes without it.
#pragma once

#include <string>

#include "platform/BaseTypes.h"

class StateFolderGate {
public:
    explicit StateFolderGate(const std::string& exeFolder) : programFolder(exeFolder) {}

    // The folder's path; empty when it must not be used.
    std::string Use(win::HWND owner);

private:
    std::string programFolder;
    bool mayMoveAside = true;
    bool toldRefusal = false;
};
