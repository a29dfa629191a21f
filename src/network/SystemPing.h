// Where the system's own ping lives, so that no ping.exe beside the program or in
// the current folder is ever started in its place.
#pragma once

#include <string>

namespace network {

// The system folder's ping.exe on the NT family (a 32-bit program under WOW64 is
// redirected to the 32-bit one). On the 9x family the system folder's ping.exe when
// it has one, else PING.EXE of the Windows folder. Empty when the folder is unknown.
std::string SystemPingPath();

}  // namespace network
