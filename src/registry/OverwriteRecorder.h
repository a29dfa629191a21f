// Told of each registry value a tuner is about to overwrite, while its key is open,
// so that the old content can be kept for a later restore.
#pragma once

#include <string>

class RegistryKey;

class OverwriteRecorder {
public:
    virtual ~OverwriteRecorder() = default;
    virtual void BeforeOverwrite(RegistryKey& key, const std::string& name) = 0;
};
