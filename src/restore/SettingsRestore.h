// Puts back the display-driver and TCP/IP values that boosts changed: each value as
// the oldest settings record shows it, and a value that no record covers as the
// oldest network backup shows it.
#pragma once

#include <string>

struct SettingsRestoreResult {
    int restored = 0;  // values written back or deleted
    int skipped = 0;   // record lines and backup entries refused
};

// True when the state folder holds a settings record or a network backup not yet restored.
bool HasSettingsToRestore(const std::string& stateFolder);
// Restores every recorded value, then moves the files it used to stateFolder\Restored.
SettingsRestoreResult RestoreSettings(const std::string& stateFolder);
