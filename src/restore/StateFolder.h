// Where the program keeps what it reads back after a boost: the settings records
// (Settings), the network backups (NetOpti), the used ones (Restored) and the boost
// journal. On the NT family, where the program runs as administrator, a folder of its own,
// Kestrava in the all-users application data, that only SYSTEM and Administrators may
// change; on the 9x family, where every program may write everywhere, Restore beside the
// program. Nothing else makes the folder itself.
#pragma once

#include <string>

struct StateFolder {
    std::string path;               // empty when the place cannot be found
    const char* refusal = nullptr;  // why it must not be used (Korean); nullptr when it may
    std::string movedAside;         // where a refused folder was renamed to; empty when none was
    const char* movedBecause = nullptr;  // why that folder was refused (Korean)
};

// Makes the folder where it is missing, then checks it: on the NT family it must be a
// real folder, not a reparse point, owned by Administrators or SYSTEM, with a protected
// DACL that lets nobody else change it or what it holds. With moveRefusedAside, a refused
// folder is renamed to Kestrava.refused-<n> beside it (a link: the link alone) and a fresh
// one made and checked in its place.
StateFolder OpenStateFolder(const std::string& exeFolder, bool moveRefusedAside);
