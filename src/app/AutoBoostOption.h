// Whether the boost follows the game, remembered as the one line of Options.txt in the
// state folder.
#pragma once

#include <string>

// stateFolder + "\Options.txt".
std::string OptionsFilePath(const std::string& stateFolder);

// True only for the file this program writes with the option ticked: one line,
// "auto boost on". A missing, cut, forged or unreadable file, or no folder, is off.
bool ReadAutoBoostOption(const std::string& stateFolder);

// Writes the line anew; false when there is no folder or the write failed.
bool WriteAutoBoostOption(const std::string& stateFolder, bool on);
