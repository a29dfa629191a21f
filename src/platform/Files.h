// Files and C runtime streams area of the platform seam.
#pragma once

#include "FileTypes.h"

namespace platform {
using namespace win;

class IFiles {
public:
    virtual ~IFiles() = default;
    virtual HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* attributes,
                               DWORD disposition, DWORD flags, HANDLE templateFile) = 0;
    // An anonymous pipe; size 0 asks for the system's default buffer.
    virtual BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* attributes, DWORD size) = 0;
    // Copies up to size bytes from a pipe's read end without taking them, and tells how many
    // wait there; fails with ERROR_BROKEN_PIPE once every write end is closed and nothing is left.
    virtual BOOL PeekNamedPipe(HANDLE pipe, void* buffer, DWORD size, DWORD* read, DWORD* available,
                               DWORD* leftOfMessage) = 0;
    // Reads from a file opened by CreateFileA; at the file's end it succeeds with *read 0.
    // From a pipe's read end it waits for data, and fails with ERROR_BROKEN_PIPE once every
    // write end is closed and nothing is left.
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped) = 0;
    virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, OVERLAPPED* overlapped) = 0;
    virtual BOOL DeleteFileA(const char* path) = 0;
    virtual DWORD GetFileAttributesA(const char* path) = 0;
    virtual BOOL CreateDirectoryA(const char* path, SECURITY_ATTRIBUTES* attributes) = 0;
    virtual BOOL MoveFileA(const char* existingPath, const char* newPath) = 0;
    virtual HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) = 0;
    virtual BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) = 0;
    virtual BOOL FindClose(HANDLE search) = 0;
    virtual void GetLocalTime(SYSTEMTIME* time) = 0;
    // C runtime streams; text modes translate "\n" to "\r\n" on output and back on input.
    virtual CRTFILE fopen(const char* path, const char* mode) = 0;
    virtual int fputs(const char* text, CRTFILE stream) = 0;
    virtual char* fgets(char* buffer, int size, CRTFILE stream) = 0;
    virtual size_t fread(void* buffer, size_t size, size_t count, CRTFILE stream) = 0;
    virtual int fclose(CRTFILE stream) = 0;

    // What an open file or folder is (its attributes tell a folder and a reparse point).
    virtual BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) = 0;
};

}  // namespace platform
