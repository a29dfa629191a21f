// Files, C runtime streams and local time.
#include <cstdio>

#include "platform/win32/Win32.h"

KESTRAVA_SAME_LAYOUT(SYSTEMTIME);
KESTRAVA_SAME_LAYOUT(WIN32_FIND_DATAA);
KESTRAVA_SAME_LAYOUT(BY_HANDLE_FILE_INFORMATION);

namespace {

class Win32Files : public platform::IFiles {
public:
    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, win::SECURITY_ATTRIBUTES* attributes,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override {
        return ::CreateFileA(path, access, shareMode, reinterpret_cast<::SECURITY_ATTRIBUTES*>(attributes),
                             disposition, flags, templateFile);
    }
    BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, win::SECURITY_ATTRIBUTES* attributes, DWORD size) override {
        return ::CreatePipe(readEnd, writeEnd, reinterpret_cast<::SECURITY_ATTRIBUTES*>(attributes), size);
    }
    BOOL PeekNamedPipe(HANDLE pipe, void* buffer, DWORD size, DWORD* read, DWORD* available,
                       DWORD* leftOfMessage) override {
        return ::PeekNamedPipe(pipe, buffer, size, read, available, leftOfMessage);
    }
    BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, win::OVERLAPPED* overlapped) override {
        return ::ReadFile(file, buffer, size, read, reinterpret_cast<::OVERLAPPED*>(overlapped));
    }
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, win::OVERLAPPED* overlapped) override {
        return ::WriteFile(file, buffer, size, written, reinterpret_cast<::OVERLAPPED*>(overlapped));
    }
    BOOL DeleteFileA(const char* path) override { return ::DeleteFileA(path); }
    DWORD GetFileAttributesA(const char* path) override { return ::GetFileAttributesA(path); }
    BOOL CreateDirectoryA(const char* path, win::SECURITY_ATTRIBUTES* attributes) override {
        return ::CreateDirectoryA(path, reinterpret_cast<::SECURITY_ATTRIBUTES*>(attributes));
    }
    BOOL MoveFileA(const char* existingPath, const char* newPath) override { return ::MoveFileA(existingPath, newPath); }
    HANDLE FindFirstFileA(const char* pattern, win::WIN32_FIND_DATAA* found) override {
        return ::FindFirstFileA(pattern, reinterpret_cast<::WIN32_FIND_DATAA*>(found));
    }
    BOOL FindNextFileA(HANDLE search, win::WIN32_FIND_DATAA* found) override {
        return ::FindNextFileA(search, reinterpret_cast<::WIN32_FIND_DATAA*>(found));
    }
    BOOL FindClose(HANDLE search) override { return ::FindClose(search); }
    void GetLocalTime(win::SYSTEMTIME* time) override { ::GetLocalTime(reinterpret_cast<::SYSTEMTIME*>(time)); }
    win::CRTFILE fopen(const char* path, const char* mode) override { return std::fopen(path, mode); }
    int fputs(const char* text, win::CRTFILE stream) override {
        return std::fputs(text, static_cast<std::FILE*>(stream));
    }
    char* fgets(char* buffer, int size, win::CRTFILE stream) override {
        return std::fgets(buffer, size, static_cast<std::FILE*>(stream));
    }
    size_t fread(void* buffer, size_t size, size_t count, win::CRTFILE stream) override {
        return std::fread(buffer, size, count, static_cast<std::FILE*>(stream));
    }
    int fclose(win::CRTFILE stream) override { return std::fclose(static_cast<std::FILE*>(stream)); }

    BOOL GetFileInformationByHandle(HANDLE file, win::BY_HANDLE_FILE_INFORMATION* information) override {
        return ::GetFileInformationByHandle(file, reinterpret_cast<::BY_HANDLE_FILE_INFORMATION*>(information));
    }
};

Win32Files files;

struct Install {
    Install() { platform::Current().files = &files; }
} install;

}  // namespace
