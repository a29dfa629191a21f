// Writing the old TCP/IP values to the backup file.
#pragma once

#include <string>

#include "platform/FileTypes.h"

// The name of a moment in the backup files' names: year, month, day, hour, minute and
// second in decimal without leading zeros ("2024년1월5일9시3분7초").
constexpr char kMomentFormat[] = "%d년%d월%d일%d시%d분%d초";
std::string MomentName(const win::SYSTEMTIME& moment);

namespace network {

// Appends text to the file at path in text mode (line feeds become CR LF). False,
// with nothing written anywhere, when the file cannot be opened.
bool AppendNetworkBackup(const std::string& path, const std::string& text);

}  // namespace network
