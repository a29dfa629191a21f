// Start-up recovery of a boost whose program ended without its undo (killed,
// crashed, power lost).
#pragma once

#include <string>

// When the journal exists and its owner no longer runs: puts back every recorded
// process and window that is proven to be the same instance still (UndoBoost on
// those alone) and deletes the journal. A journal whose owner still runs is left
// alone. True when anything was put back.
bool RecoverInterruptedBoost(const std::string& journalPath);
