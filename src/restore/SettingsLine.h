// The lines of a settings record: the old content of one registry value, written
// just before a boost overwrote it. After the version line every line reads
//   value  ROLE NAME CREATED TYPE DATA #CHECK   the value existed: its type and data
//   absent ROLE NAME CREATED #CHECK             the value did not exist
// ROLE names the key (TunedKeys), CREATED is 1 when the boost created the key, TYPE is
// the registry type in hexadecimal and DATA the bytes in hexadecimal ("-" for none).
#pragma once

#include <string>
#include <vector>

#include "platform/RegistryTypes.h"

constexpr char kSettingsRecordVersionLine[] = "Kestrava settings record 1";

struct OldSetting {
    std::string role;
    std::string name;
    bool existed = false;
    win::DWORD type = win::REG_NONE;
    std::vector<win::BYTE> data;
    bool createdKey = false;
};

// Without its line end.
std::string SettingsLine(const OldSetting& setting);
// False unless the text is one whole line of either kind whose check matches.
bool ParseSettingsLine(const std::string& text, OldSetting& setting);
