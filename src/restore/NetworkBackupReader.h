// Reads a network backup (.nbk) back as the old settings it names: pairs of lines,
// a value's name, then its old content or "Default" when it did not exist. Boosts made
// before the settings record kept only these files.
#pragma once

#include <string>
#include <vector>

#include "restore/SettingsLine.h"

struct NetworkBackupContents {
    std::vector<OldSetting> settings;  // in file order
    int skipped = 0;                   // lines that are no value of the family's table, or no valid content
};

// The values of the NT family's table (nt) or of the 9x family's, whose MaxMTU names adapter 0001.
NetworkBackupContents ReadNetworkBackup(const std::string& path, bool nt);
