#include "restore/StateFolder.h"

#include <string>
#include <vector>

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
const char kOpenToOthers[] = "Administrators와 SYSTEM이 아닌 사용자도 폴더와 그 안의 파일을 바꿀 수 있습니다.";
const char kUnprotected[] = "폴더가 위 폴더의 권한을 물려받습니다.";
constexpr int kMostAsideNames = 100;

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
// that holds it may own it and hold any right in it: that owner could replace it anyway.
// Wine, which keeps no file security, names the user as the owner of every file and makes
// each DACL up from the Unix mode bits: unprotected, with the user's full access. On
// Windows SYSTEM owns the all-users application data, so there the DACL must be protected.
const char* Refusal(const std::string& folder, const std::string& parent) {
    const platform::ScopedHandle opened(OpenUnfollowed(folder));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!opened || !platform::Files().GetFileInformationByHandle(opened.Get(), &information)) return kMissing;
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return kLinked;
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return kNotFolder;
    std::vector<BYTE> owner;
    if (!OwnerOf(opened.Get(), owner)) return kForeignOwner;
    std::vector<BYTE> holderOwner;
    if (!IsAdministratorsOrSystem(owner)) {
        const platform::ScopedHandle holder(OpenUnfollowed(parent));
        if (!holder || !OwnerOf(holder.Get(), holderOwner) || holderOwner != owner) return kForeignOwner;
    }
    const DaclVerdict verdict = CheckDacl(opened.Get(), holderOwner);
    if (verdict == DaclVerdict::OpenToOthers) return kOpenToOthers;
    return verdict == DaclVerdict::Unprotected && holderOwner.empty() ? kUnprotected : nullptr;
}

// Made owned by Administrators with the program's own DACL, where nothing holds the name.
void MakeFolder(const std::string& folder) {
    auto& files = platform::Files();
    if (files.GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    AdminDescriptor descriptor;
    if (!descriptor.Build(UsersAccess::Read, true)) return;
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), descriptor.Get(), FALSE};
    files.CreateDirectoryA(folder.c_str(), &attributes);
}

// Renames whatever holds the name to the first free <name>.refused-<n> beside it; renaming
// a reparse point renames the link, never what it leads to. Empty when it could not.
std::string MoveAside(const std::string& folder) {
    for (int number = 1; number <= kMostAsideNames; ++number) {
        const std::string aside = folder + ".refused-" + std::to_string(number);
        if (platform::Files().MoveFileA(folder.c_str(), aside.c_str())) return aside;
    }
    return std::string();
}

}  // namespace

StateFolder OpenStateFolder(const std::string& exeFolder, bool moveRefusedAside) {
    if (!platform::IsNtFamily()) {
        const std::string beside = exeFolder + "\\Restore";
        platform::Files().CreateDirectoryA(beside.c_str(), nullptr);
        return {beside, nullptr};
    }
    const std::string appData = CommonAppData();
    if (appData.empty()) return {std::string(), kNoPlace};
    StateFolder state{appData + "\\Kestrava", nullptr};
    MakeFolder(state.path);
    state.refusal = Refusal(state.path, appData);
    if (state.refusal == nullptr || !moveRefusedAside) return state;
    state.movedAside = MoveAside(state.path);
    if (state.movedAside.empty()) return state;
    state.movedBecause = state.refusal;
    MakeFolder(state.path);
    state.refusal = Refusal(state.path, appData);
    return state;
}
