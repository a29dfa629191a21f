// While it lives, a crash of the program (an unhandled exception) first undoes the
// boost of the engine, then goes on to the handling that was in place before.
#pragma once

#include "rules/RuleEngine.h"

class CrashUndo {
public:
    explicit CrashUndo(RuleEngine& engine);
    ~CrashUndo();
    CrashUndo(const CrashUndo&) = delete;
    CrashUndo& operator=(const CrashUndo&) = delete;
};
