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
    // Appends raw bytes through a handle from CreateFileA or a pipe's write end (what a child
    // writes to its standard output).
    bool WriteToHandle(HANDLE file, const std::string& bytes);
    // Makes every open of this path fail.
    void DenyAccess(const std::string& path);
    // Whether a handle from CreateFileA is open on this path that shares neither writing nor deleting.
    bool HeldAgainstChange(const std::string& path) const;
    void SetLocalTime(const SYSTEMTIME& time);

    // Security of files and folders: an owner (the user's SID unless the creating
    // descriptor names one) and the DACL and control bits of the creating descriptor.
    struct Ace {
        std::vector<BYTE> sid;
        DWORD mask = 0;
        BYTE flags = 0;  // inheritance
        bool operator==(const Ace& other) const {
            return sid == other.sid && mask == other.mask && flags == other.flags;
        }
    };
    struct Security {
        std::vector<BYTE> owner;
        std::vector<Ace> dacl;  // the access-allowed entries given; empty: none
        WORD control = 0;
    };
    static const std::vector<BYTE> kUserSid;  // the signed-in user, owner of what is made without one
    static const std::vector<BYTE> kSystemSid;
    static const std::vector<BYTE> kAdministratorsSid;
    static const std::vector<BYTE> kUsersSid;
    Security SecurityOf(const std::string& path) const;
    void SetOwner(const std::string& path, const std::vector<BYTE>& sid);
    // Control bits without SE_DACL_PRESENT: no DACL, access for everyone.
    void SetDacl(const std::string& path, const std::vector<Ace>& dacl, WORD control);
    // Turns the existing path into a reparse point (a junction or link). Paths through it
    // still reach what it holds, so that a test sees what was written there.
    void MakeLink(const std::string& path);
    // The security of what the handle opened; false for other handles.
    bool SecurityOf(HANDLE file, Security& security) const;
    // The shell's folder look-up, exported by shell32.dll in the system folder alone:
    // CSIDL_COMMON_APPDATA is C:\ProgramData, which exists.
    HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, char* path);

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* attributes,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override;
    // The default buffer holds 4096 bytes.
    BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* attributes, DWORD size) override;
    // Tells only how many bytes wait (nothing is copied).
    BOOL PeekNamedPipe(HANDLE pipe, void* buffer, DWORD size, DWORD* read, DWORD* available,
                       DWORD* leftOfMessage) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped) override;
    // Only appending handles (FILE_APPEND_DATA) write: at the file's end.
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, OVERLAPPED* overlapped) override;
    BOOL DeleteFileA(const char* path) override;
    DWORD GetFileAttributesA(const char* path) override;
    BOOL CreateDirectoryA(const char* path, SECURITY_ATTRIBUTES* attributes) override;
    // Renames a file, or a folder with all it holds (a link: the link alone, with the
    // paths through it).
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
    // Folders open with FILE_FLAG_BACKUP_SEMANTICS; CREATE_NEW fails on any existing name.
    BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) override;

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
    // Called with the lock held, for a path just made.
    void Secure(const std::string& key, const SECURITY_ATTRIBUTES* attributes);
    DWORD AttributesOf(const std::string& key) const;

    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> files_;
    std::set<std::string> directories_;
    std::set<std::string> denied_;
    std::vector<std::weak_ptr<HandleObject>> opened_;  // the file handles of CreateFileA, expired once closed
    std::map<std::string, Security> security_;
    std::set<std::string> links_;
    std::map<Stream*, std::unique_ptr<Stream>> streams_;
    SYSTEMTIME now_{};
};

}  // namespace sim
