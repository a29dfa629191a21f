// The SHA-256 of a file, read through a handle the caller holds open.
#pragma once

#include "app/Sha256.h"
#include "platform/BaseTypes.h"

// Reads the file from its current position to its end; false when a read fails.
bool Sha256OfOpenFile(win::HANDLE file, Sha256Digest& digest);
