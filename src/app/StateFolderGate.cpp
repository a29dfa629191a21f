#include "app/StateFolderGate.h"

#include "platform/Platform.h"
#include "restore/StateFolder.h"

namespace {

std::string MovedText(const StateFolder& state) {
    return "Kestrava 기록 폴더를 안전하게 쓸 수 없어 다른 이름으로 옮겼습니다.\n\n" + state.path + "\n" +
           state.movedBecause + "\n\n옮긴 곳: " + state.movedAside + "\n\n" +
           (state.refusal ? "" : "새 기록 폴더를 만들어 씁니다.");
}

std::string RefusalText(const StateFolder& state) {
    std::string text = "Kestrava 기록 폴더를 쓸 수 없습니다.\n\n";
    if (!state.path.empty()) text += state.path + "\n";
    return text + state.refusal +
           "\n\n복구 기록, 설정 기록과 네트워크 백업 없이 부스트하며, 설정 복원은 할 수 없습니다.";
}

}  // namespace

std::string StateFolderGate::Use(win::HWND owner) {
    const StateFolder state = OpenStateFolder(programFolder, mayMoveAside);
    if (!state.movedAside.empty() || state.refusal != nullptr) mayMoveAside = false;
    std::string text;
    if (!state.movedAside.empty()) text = MovedText(state);
    if (state.refusal != nullptr && !toldRefusal) {
        toldRefusal = true;
        text += RefusalText(state);
    }
    if (!text.empty()) {
        platform::User().MessageBoxA(owner, text.c_str(), "Kestrava", win::MB_OK | win::MB_ICONINFORMATION);
    }
    return state.refusal == nullptr ? state.path : std::string();
}
