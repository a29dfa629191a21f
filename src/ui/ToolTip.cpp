#include "ui/ToolTip.h"

#include "platform/Platform.h"
#include "ui/Dialog.h"

namespace ui {
namespace {
constexpr int kMaxTipWidth = 400;  // longer texts wrap
}

bool ToolTip::Create(HWND owner) {
    SetHandle(platform::User().CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                               CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, AppInstance(), nullptr));
    if (Handle() == nullptr) return false;
    Send(TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return true;
}

bool ToolTip::AddTool(HWND control, const char* text) const {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = platform::User().GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

}  // namespace ui
