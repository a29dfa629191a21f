// One open registry key with typed reads and writes. On the NT family, Open
// temporarily widens the security of a key the caller cannot open with full
// access; Close (and destruction) put every replaced DACL back.
#pragma once

#include <string>
#include <vector>

#include "platform/RegistryTypes.h"
#include "platform/ScopedRegistryKey.h"

// What a query finds of a value: a value that is there but cannot be read (access denied,
// no key open) is neither missing nor present.
enum class ValuePresence { Present, Missing, Unreadable };

class RegistryKey {
public:
    RegistryKey() = default;
    virtual ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key (widening its security when needed) or, with create set,
    // creates a missing one. False if a key is already open. A leading '\' of the
    // sub-key text is ignored by every operation.
    bool Open(win::HKEY root, const std::string& path, bool create, bool readOnly);
    // RegCreateKeyA without any widening; false if a key is already open.
    bool Create(win::HKEY root, const std::string& path);
    // Closes the key and restores every replaced DACL, last replaced first. Always true.
    bool Close();

    // Every value operation returns false at once when no key is open.
    // Reads a value as text; multi-strings have their NULs turned into line feeds.
    // Strict refuses data over 1024 bytes and multi-strings.
    bool QueryString(const std::string& name, std::string& text, bool strict);
    // Reads exactly 4 bytes of any type; value is 0 on failure.
    bool QueryDword(const std::string& name, win::DWORD& value);
    bool SetString(const std::string& name, const std::string& text);
    bool SetDword(const std::string& name, win::DWORD value);
    bool SetValue(const std::string& name, const void* data, win::DWORD size, win::DWORD type);
    bool ValueExists(const std::string& name);
    // Missing only when the query answers ERROR_FILE_NOT_FOUND.
    ValuePresence Presence(const std::string& name);
    // The value's type and data as stored; false when it cannot be read.
    bool QueryValue(const std::string& name, win::DWORD& type, std::vector<win::BYTE>& data);
    bool DeleteValue(const std::string& name);
    // True when the open key holds neither values nor sub-keys.
    bool IsEmpty();

    bool IsOpen() const { return static_cast<bool>(key_); }
    // True while the key is open from an Open that created it.
    bool CreatedKey() const { return created_; }
    // Root and sub-key text of the last Open or Create; the text is emptied by Close.
    win::HKEY Root() const { return root_; }
    const std::string& Path() const { return path_; }

private:
    struct JournalEntry {
        win::HKEY root;
        std::string path;
        std::vector<win::BYTE> descriptor;  // self-relative, as RegGetKeySecurity returned it
    };

    void Widen(win::HKEY root, const std::string& path);
    // Journals the DACL of an open key and replaces it; false when the replacement failed.
    bool ReplaceDacl(win::HKEY key, win::HKEY root, const std::string& level, win::PSECURITY_DESCRIPTOR widening);
    void Restore();

    platform::ScopedRegistryKey key_;
    bool created_ = false;
    win::HKEY root_ = nullptr;
    std::string path_;
    std::vector<JournalEntry> journal_;  // in widening order, top of the path first
};

// Deletes a key that holds neither values nor sub-keys, widening its security like Open;
// false, with nothing deleted, otherwise.
bool DeleteEmptyKey(win::HKEY root, const std::string& path);

// True on the NT family, as the whole program decides it.
bool IsWindowsNt();
