#include "app/FileDigest.h"

#include "platform/Platform.h"

bool Sha256OfOpenFile(win::HANDLE file, Sha256Digest& digest) {
    Sha256 hash;
    char buffer[16384];
    win::DWORD read = 0;
    do {
        if (!platform::Files().ReadFile(file, buffer, sizeof buffer, &read, nullptr)) return false;
        hash.Update(buffer, read);
    } while (read > 0);
    digest = hash.Finish();
    return true;
}
