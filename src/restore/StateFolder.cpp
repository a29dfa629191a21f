#include "restore/StateFolder.h"

#include "platform/Platform.h"
#include "platform/RuntimeImports.h"
#include "platform/ScopedHandle.h"
#include "platform/WindowsFamily.h"
#include "registry/AdminSecurity.h"

using namespace win;

namespace {

const char kNoPlace[] = "모든 사용자의 응용 프로그램 데이터 폴더를 찾을 수 없습니다.";
const char kMissing[] = "폴더를 만들거나 열 수 없습니다.";
const char kLinked[] = "폴더가 아니라 다른 곳으로 이어지는 연결(재분석 지점)입니다.";
const char kNotFolder[] = "같은 이름의 파일이 있습니다.";
const char kForeignOwner[] = "폴더의 소유자가 Administrators나 SYSTEM이 아닙니다.";

// CSIDL_COMMON_APPDATA from shell32 of the system folder; empty where the system lacks it.
// Never from the environment, which the user controls.
std::string CommonAppData() {
    auto folderPath = platform::imports::SHGetFolderPathA();
    char folder[MAX_PATH] = {};
    const bool found =
        folderPath && folderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK;
    return found ? std::string(folder) : std::string();
}

// The folder itself, never what a reparse point there leads to.
HANDLE OpenUnfollowed(const std::string& folder) {
    return platform::Files().CreateFileA(
        folder.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Checks the one object opened. Besides Administrators and SYSTEM, the owner of the folder
// that holds it may own it: that owner could replace it anyway (on Windows SYSTEM owns the
// all-users application data; Wine, which keeps no file security, names the user as owner
// of every file).
const char* Refusal(const std::string& folder, const std::string& parent) {
    const platform::ScopedHandle opened(OpenUnfollowed(folder));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!opened || !platform::Files().GetFileInformationByHandle(opened.Get(), &information)) return kMissing;
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return kLinked;
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return kNotFolder;
    std::vector<BYTE> owner;
    if (!OwnerOf(opened.Get(), owner)) return kForeignOwner;
    if (IsAdministratorsOrSystem(owner)) return nullptr;
    const platform::ScopedHandle holder(OpenUnfollowed(parent));
    std::vector<BYTE> holderOwner;
    return holder && OwnerOf(holder.Get(), holderOwner) && holderOwner == owner ? nullptr : kForeignOwner;
}

}  // namespace

StateFolder OpenStateFolder(const std::string& exeFolder) {
    if (!platform::IsNtFamily()) return {exeFolder + "\\Restore", nullptr};
    const std::string appData = CommonAppData();
    if (appData.empty()) return {std::string(), kNoPlace};
    StateFolder state{appData + "\\Kestrava", nullptr};
    auto& files = platform::Files();
    if (files.GetFileAttributesA(state.path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        AdminDescriptor descriptor;
        if (descriptor.Build(UsersAccess::Read, true)) {
            SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), descriptor.Get(), FALSE};
            files.CreateDirectoryA(state.path.c_str(), &attributes);
        }
    }
    state.refusal = Refusal(state.path, appData);
    return state;
}
