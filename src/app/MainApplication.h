// The application object of Vornel: records its folder, loads the shared skin
// bitmaps and runs the main dialog modally; the program ends when it closes.
#pragma once

#include <string>

#include "app/Sha256.h"
#include "platform/BaseTypes.h"

class MainApplication {
public:
    // helperDigest: the SHA-256 of the Drainex.exe built with this program.
    explicit MainApplication(const Sha256Digest& helperDigest) : drainexDigest(helperDigest) {}

    // Runs the whole program; returns FALSE, so no message loop follows.
    win::BOOL InitInstance(const char* argv0);

    // The folder of the executable, without a trailing backslash; empty when
    // argv[0] holds no backslash.
    std::string exeFolder;

private:
    const Sha256Digest drainexDigest;
};

// argv[0] up to, not including, its last backslash.
std::string FolderOfPath(const std::string& path);
