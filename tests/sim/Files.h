// The file system, C runtime streams and local clock of the simulated machine.
// Paths compare without regard to letter case.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "sim/Handles.h"

namespace sim {
using namespace win;

class Machine;

class Files : public platform::IFiles {
public:
    explicit Files(Machine& machine);
    ~Files() override;

    void AddDirectory(const std::string& path);
    void WriteFile(const std::string& path, const std::string& bytes);
    bool Exists(const std::string& path) const;
    bool IsDirectory(const std::string& path) const;
    std::string Read(const std::string& path) const;  // raw bytes; empty when missing
    // Appends raw bytes through a handle from CreateFileA (what a child writes to its standard output).
    bool WriteToHandle(HANDLE file, const std::string& bytes);
    // Makes every open of this path fail.
    void DenyAccess(const std::string& path);
    // Whether a handle from CreateFileA is open on this path that shares neither writing nor deleting.
    bool HeldAgainstChange(const std::string& path) const;
    void SetLocalTime(const SYSTEMTIME& time);

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* attributes,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped) override;
    BOOL DeleteFileA(const char* path) override;
    DWORD GetFileAttributesA(const char* path) override;
    BOOL CreateDirectoryA(const char* path, SECURITY_ATTRIBUTES* attributes) override;
    BOOL MoveFileA(const char* existingPath, const char* newPath) override;
    // The pattern's last part may hold '*' wild cards; names come back in lower case.
    HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) override;
    BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) override;
    BOOL FindClose(HANDLE search) override;
    void GetLocalTime(SYSTEMTIME* time) override;
    CRTFILE fopen(const char* path, const char* mode) override;
    int fputs(const char* text, CRTFILE stream) override;
    char* fgets(char* buffer, int size, CRTFILE stream) override;
    size_t fread(void* buffer, size_t size, size_t count, CRTFILE stream) override;
    int fclose(CRTFILE stream) override;

    // Streams still open, for leak checks in tests.
    size_t OpenStreams() const;

private:
    struct Stream {
        std::string key;
        bool text = false;
        bool reading = false;
        size_t position = 0;
    };
    static std::string Key(const std::string& path);
    bool ParentExists(const std::string& key) const;
    bool NextByte(Stream& stream, char& c);

    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> files_;
    std::set<std::string> directories_;
    std::set<std::string> denied_;
    std::vector<std::weak_ptr<HandleObject>> opened_;  // the file handles of CreateFileA, expired once closed
    std::map<Stream*, std::unique_ptr<Stream>> streams_;
    SYSTEMTIME now_{};
};

}  // namespace sim
