// The probe against the test ping (tests/programs/ping.exe, put in place of the system's
// ping in the Wine prefix, with Wine's own ping overridden), with the real registry and files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network/NetworkTuner.h"
#include "network/ProbeMessages.h"
#include "platform/win32/Win32.h"

namespace {

const char* const kNt = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char* const kNtValues[] = {"SackOpts",           "TcpWindowSize",       "Tcp1323Opts",
                                 "DefaultTTL",         "EnablePMTUBHDetect",  "EnablePMTUDiscovery",
                                 "GlobalMaxTcpWindowSize", "TcpMaxDupAcks"};

// The values of the TCP/IP parameters key as they were, put back when the test ends.
class SavedTcpParameters {
public:
    SavedTcpParameters() {
        for (const char* name : kNtValues) {
            Saved saved{name, false, 0, {}};
            HKEY key;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNt, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
                DWORD size = 0;
                if (::RegQueryValueExA(key, name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
                    saved.data.resize(size);
                    saved.exists = ::RegQueryValueExA(key, name, nullptr, &saved.type, saved.data.data(), &size) ==
                                   ERROR_SUCCESS;
                }
                ::RegCloseKey(key);
            }
            values_.push_back(saved);
        }
    }
    ~SavedTcpParameters() {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNt, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        for (const Saved& saved : values_) {
            if (saved.exists) {
                ::RegSetValueExA(key, saved.name.c_str(), 0, saved.type, saved.data.data(),
                                 static_cast<DWORD>(saved.data.size()));
            } else {
                ::RegDeleteValueA(key, saved.name.c_str());
            }
        }
        ::RegCloseKey(key);
    }

private:
    struct Saved {
        std::string name;
        bool exists;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Saved> values_;
};

void WriteDword(const char* name, DWORD value) {
    HKEY key;
    if (::RegCreateKeyA(HKEY_LOCAL_MACHINE, kNt, &key) != ERROR_SUCCESS) return;
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(key);
}

bool ReadDword(const char* name, DWORD& value) {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNt, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = sizeof value;
    bool ok = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
              type == REG_DWORD;
    ::RegCloseKey(key);
    return ok;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

std::wstring Cp949ToWide(const std::string& text) {
    int length = ::MultiByteToWideChar(949, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    ::MultiByteToWideChar(949, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

// A fresh application folder under the temporary folder, with its state folder as the
// program's start-up makes it, removed with its backups.
class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "kestrava-net-" + std::to_string(::GetCurrentProcessId()) + "-" +
               std::to_string(::GetTickCount());
        created = ::CreateDirectoryA(path.c_str(), nullptr) != FALSE &&
                  ::CreateDirectoryA((path + "\\Restore").c_str(), nullptr) != FALSE;
    }
    ~ScratchFolder() {
        const std::string backups = path + "\\Restore\\NetOpti";
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((backups + "\\*.nbk").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                ::DeleteFileA((backups + "\\" + found.cFileName).c_str());
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(backups.c_str());
        ::RemoveDirectoryA((path + "\\Restore").c_str());
        ::RemoveDirectoryA(path.c_str());
    }

    std::string path;
    bool created;
};

// The main dialog's side: records the reports and tunes when a size arrives.
struct Dialog {
    NetworkTuner tuner;
    std::string exeFolder;
    std::vector<int> steps;
    WPARAM result = 0;
    LPARAM size = 0;
    std::string backupPath;
    volatile bool done = false;

    static Dialog* current;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (current && message == WM_PROBE_STEP) {
            current->steps.push_back(static_cast<int>(wParam));
            return 0;
        }
        if (current && message == WM_PROBE_DONE) {
            current->result = wParam;
            current->size = lParam;
            if (wParam == 1) {
                current->backupPath = MakeNetworkBackupPath(current->exeFolder + "\\Restore");
                current->tuner.ApplyTcpTuning(static_cast<int>(lParam), current->backupPath);
            }
            current->done = true;
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
};
Dialog* Dialog::current = nullptr;

// A folder that a user planted where the 9x family keeps ping's output changes nothing on NT.
TEST(MtuProbeWine, FindsTheTestPingsPathAndTunesTheRegistry) {
    ASSERT_EQ(::GetACP(), 949u) << "run with the Korean code page (LC_ALL=ko_KR.UTF-8)";
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string systemPing = std::string(system) + "\\ping.exe";
    ASSERT_NE(::GetFileAttributesA(systemPing.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the test ping belongs at " << systemPing << " (WINEDLLOVERRIDES ping.exe=n)";
    ::SetEnvironmentVariableA("KESTRAVA_PING_MTU", "1472");

    ScratchFolder scratch;
    ASSERT_TRUE(scratch.created);
    Dialog dialog;
    dialog.exeFolder = scratch.path;

    SavedTcpParameters saved;
    WriteDword("EnablePMTUBHDetect", 1);
    const bool plantedHere = ::CreateDirectoryA("C:\\temp.ping", nullptr) != FALSE;
    ASSERT_NE(::GetFileAttributesA("C:\\temp.ping") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Dialog::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KestravaProbeTest";
    ASSERT_NE(::RegisterClassA(&windowClass), 0);
    HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    Dialog::current = &dialog;
    ASSERT_TRUE(dialog.tuner.StartProbe("127.0.0.1", window));
    const DWORD deadline = ::GetTickCount() + 60000;
    while (!dialog.done && ::GetTickCount() < deadline) {
        MSG message;
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        } else {
            ::Sleep(1);
        }
    }
    Dialog::current = nullptr;
    ::DestroyWindow(window);
    ::UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
    ASSERT_TRUE(dialog.done) << "no end of the probe within a minute";

    const DWORD plantedAttributes = ::GetFileAttributesA("C:\\temp.ping");
    if (plantedHere) ::RemoveDirectoryA("C:\\temp.ping");
    EXPECT_NE(plantedAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(plantedAttributes, INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(dialog.steps, (std::vector<int>{1500, 1490, 1480, 1470, 1471, 1472, 1473}));
    EXPECT_EQ(dialog.result, 1u);
    EXPECT_EQ(dialog.size, 1472);

    // Windows Vista and later keep their black-hole router detection.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(::GetVersionExA(&version));
    const bool vistaOrLater = version.dwMajorVersion >= 6;
    const struct {
        const char* name;
        DWORD value;
    } expected[] = {{"SackOpts", 1},
                    {"TcpWindowSize", 372320},
                    {"Tcp1323Opts", 1},
                    {"DefaultTTL", 64},
                    {"EnablePMTUBHDetect", vistaOrLater ? 1u : 0u},
                    {"EnablePMTUDiscovery", 1},
                    {"GlobalMaxTcpWindowSize", 372320},
                    {"TcpMaxDupAcks", 2}};
    for (const auto& value : expected) {
        DWORD actual = 0xDEAD;
        EXPECT_TRUE(ReadDword(value.name, actual)) << value.name;
        EXPECT_EQ(actual, value.value) << value.name;
    }

    // One backup file, its Korean name intact on disk, two CR LF lines per value written.
    const std::string folder = dialog.exeFolder + "\\Restore\\NetOpti";
    ASSERT_EQ(dialog.backupPath.rfind(folder + "\\", 0), 0u);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((Cp949ToWide(folder) + L"\\*.nbk").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::wstring name = found.cFileName;
    EXPECT_FALSE(::FindNextFileW(search, &found));
    ::FindClose(search);
    EXPECT_EQ(name, Cp949ToWide(dialog.backupPath.substr(folder.size() + 1)));
    EXPECT_NE(name.find(L"\uB144"), std::wstring::npos);             // 년
    EXPECT_EQ(name.substr(name.size() - 5), std::wstring(L"\uCD08.nbk"));  // 초.nbk
    const std::string content = ReadWholeFile(dialog.backupPath);
    EXPECT_EQ(content.rfind("SackOpts\r\n", 0), 0u);
    size_t lines = 0;
    for (size_t at = content.find("\r\n"); at != std::string::npos; at = content.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, vistaOrLater ? 14u : 16u);
    EXPECT_EQ(content.find("\n\n"), std::string::npos);
}

}  // namespace
