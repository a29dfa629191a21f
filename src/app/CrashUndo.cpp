#include "app/CrashUndo.h"

#include "platform/Platform.h"

using namespace win;

namespace {

RuleEngine* guarded = nullptr;
TOP_LEVEL_EXCEPTION_FILTER previous = nullptr;
bool undoing = false;

// A stack overflow leaves too little stack for the undo, and a crash inside the undo
// must not start it again; the journal then serves the next start of the program.
LONG KAPI UndoBeforeCrash(EXCEPTION_POINTERS* exception) {
    const bool overflow = exception != nullptr && exception->ExceptionRecord != nullptr &&
                          exception->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW;
    if (guarded != nullptr && !undoing && !overflow) {
        undoing = true;
        guarded->UndoBoost();
    }
    return previous != nullptr ? previous(exception) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

CrashUndo::CrashUndo(RuleEngine& engine) {
    guarded = &engine;
    undoing = false;
    previous = platform::Processes().SetUnhandledExceptionFilter(&UndoBeforeCrash);
}

CrashUndo::~CrashUndo() {
    platform::Processes().SetUnhandledExceptionFilter(previous);
    guarded = nullptr;
    previous = nullptr;
}
