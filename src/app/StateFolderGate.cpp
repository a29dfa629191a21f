#include "app/StateFolderGate.h"

#include "platform/Platform.h"
#include "restore/StateFolder.h"

std::string StateFolderGate::Use(win::HWND owner) {
    const StateFolder state = OpenStateFolder(programFolder);
    if (state.refusal == nullptr) return state.path;
    if (!told) {
        told = true;
        std::string text = "Kestrava 기록 폴더를 쓸 수 없습니다.\n\n";
        if (!state.path.empty()) text += state.path + "\n";
        text += std::string(state.refusal) +
                "\n\n복구 기록, 설정 기록과 네트워크 백업 없이 부스트하며, 설정 복원은 할 수 없습니다.";
        platform::User().MessageBoxA(owner, text.c_str(), "Kestrava", win::MB_OK | win::MB_ICONINFORMATION);
    }
    return std::string();
}
