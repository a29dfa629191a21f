// The built-in catalogue of background programs (anti-virus, file sharing,
// messengers) whose running members the default script suspends.
#pragma once

#include <string>
#include <vector>

enum class CatalogueFamily { AntiVirus, FileSharing, Messenger };

struct CatalogueGroup {
    CatalogueFamily family;
    std::vector<std::string> members;  // executable names
};

// The groups, anti-virus first, then file sharing, then messengers.
const std::vector<CatalogueGroup>& ProcessCatalogue();

// Fills names with every member of each group that has a running member, in
// catalogue order, from one process snapshot (nothing runs when it cannot be taken);
// returns the number of names.
int CollectRunningCatalogue(std::vector<std::string>& names);

// True if a running process has this executable name (a 9x full path counts by
// its file name), without regard to letter case.
bool IsProcessRunning(const std::string& name);
