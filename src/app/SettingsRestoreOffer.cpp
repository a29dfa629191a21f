#include "app/SettingsRestoreOffer.h"

#include "platform/Platform.h"

using namespace win;

namespace {

const char kNothingToRestore[] = "되돌릴 설정이 없습니다.";
const char kRecordsUnreadable[] = "Kestrava 기록 폴더를 쓸 수 없어 설정 기록을 읽을 수 없습니다.";
const char kRestoreQuestion[] =
    "Kestrava가 바꾼 그래픽 드라이버와 네트워크(TCP/IP) 설정을 처음 상태로 되돌리시겠습니까?";

}  // namespace

std::string SettingsRestoreReport(const SettingsRestoreResult& result) {
    std::string report = "설정 " + std::to_string(result.restored) +
                         "개를 되돌렸습니다. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다.";
    if (result.skipped > 0) {
        report += "\n손상되었거나 알 수 없는 기록 " + std::to_string(result.skipped) + "줄은 건너뛰었습니다.";
    }
    return report;
}

void OfferSettingsRestore(HWND owner, const std::string& caption, const std::string& stateFolder) {
    platform::IUser& user = platform::User();
    if (stateFolder.empty()) {
        user.MessageBoxA(owner, kRecordsUnreadable, caption.c_str(), MB_ICONINFORMATION);
        return;
    }
    if (!HasSettingsToRestore(stateFolder)) {
        user.MessageBoxA(owner, kNothingToRestore, caption.c_str(), MB_ICONINFORMATION);
        return;
    }
    int answer = user.MessageBoxA(owner, kRestoreQuestion, caption.c_str(), MB_YESNO | MB_ICONQUESTION);
    if (answer != static_cast<int>(IDYES)) return;
    std::string report = SettingsRestoreReport(RestoreSettings(stateFolder));
    user.MessageBoxA(owner, report.c_str(), caption.c_str(), MB_ICONINFORMATION);
}
