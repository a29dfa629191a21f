// Writing the old TCP/IP values to the backup file.
#pragma once

#include <string>

namespace network {

// Appends text to the file at path in text mode (line feeds become CR LF). False,
// with nothing written anywhere, when the file cannot be opened.
bool AppendNetworkBackup(const std::string& path, const std::string& text);

}  // namespace network
