// The settings record of one boost: the old content of every display-driver and
// TCP/IP value, appended as a line just before the boost overwrites it, so that a
// restore can put back the state before Kestrava first changed it, even after a kill.
#pragma once

#include <memory>
#include <string>

#include "registry/OverwriteRecorder.h"
#include "restore/TunedKeys.h"

// stateFolder + "\Settings".
std::string SettingsRecordFolder(const std::string& stateFolder);
// The record path for this moment, named like the network backup.
std::string SettingsRecordPath(const std::string& stateFolder);

class SettingsRecord : public OverwriteRecorder {
public:
    // Records the next boost into the file, made with its folders at the first line; a
    // file of the same moment gets the new lines after its own. An empty path keeps no record.
    void Start(const std::string& recordPath);
    // Values outside the tuned keys, and values that exist but cannot be read, get no line.
    void BeforeOverwrite(RegistryKey& key, const std::string& name) override;

private:
    std::string path;
    std::unique_ptr<TunedKeys> keys;
};
