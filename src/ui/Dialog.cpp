#include "ui/Dialog.h"

#include "platform/Platform.h"

namespace ui {

Dialog::Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR Dialog::DoModal() {
    return platform::User().DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId_), parent_, &Dialog::Procedure,
                                            reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result) { platform::User().EndDialog(Handle(), result); }

HWND Dialog::Item(int id) const { return platform::User().GetDlgItem(Handle(), id); }

void Dialog::Bind(int id, Control& control) {
    control.Attach(Item(id));
    boundControls_.push_back({id, &control});
}

void Dialog::Bind(int id, Window& window) { window.SetHandle(Item(id)); }

BOOL Dialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

void Dialog::OnOK() { EndDialog(IDOK); }

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(WORD, WORD) { return false; }

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

Control* Dialog::ControlFor(HWND hwnd) const {
    for (const auto& bound : boundControls_) {
        if (bound.second->Handle() == hwnd) return bound.second;
    }
    return nullptr;
}

INT_PTR KAPI Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::IUser& user = platform::User();
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        user.SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        dialog->SetHandle(hwnd);
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<Dialog*>(user.GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    INT_PTR handled = dialog->Dispatch(message, wParam, lParam);
    if (message == WM_DESTROY) {
        for (auto& bound : dialog->boundControls_) bound.second->Detach();
        dialog->boundControls_.clear();
        user.SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    }
    return handled;
}

// Returns TRUE when the message was handled; results go through DWLP_MSGRESULT,
// except for the messages whose result a dialog procedure returns itself.
INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    platform::IUser& user = platform::User();
    LRESULT result = 0;
    bool handled = false;

    HWND about = nullptr;
    if (message == WM_COMMAND) about = reinterpret_cast<HWND>(lParam);
    if (message == WM_DRAWITEM) about = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) about = reinterpret_cast<HWND>(lParam);
    if (Control* control = about ? ControlFor(about) : nullptr) {
        handled = control->OnReflected(message, wParam, lParam, result);
    }

    if (!handled) handled = OnMessage(message, wParam, lParam, result);

    if (!handled && message == WM_COMMAND) {
        WORD id = LOWORD(wParam);
        WORD code = HIWORD(wParam);
        handled = OnCommand(id, code);
        if (!handled && code == BN_CLICKED && id == IDOK) {
            OnOK();
            handled = true;
        } else if (!handled && code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            handled = true;
        }
    }

    if (!handled) return FALSE;
    if (message == WM_QUERYDRAGICON || message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) {
        return static_cast<INT_PTR>(result);
    }
    user.SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result);
    return TRUE;
}

void PumpMessage() {
    platform::IUser& user = platform::User();
    MSG message;
    if (!user.GetMessageA(&message, nullptr, 0, 0)) {
        // Keep the quit request for the modal loop that owns it.
        user.PostMessageA(message.hwnd, WM_QUIT, message.wParam, message.lParam);
        return;
    }
    HWND active = user.GetActiveWindow();
    if (active != nullptr && user.IsDialogMessageA(active, &message)) return;
    user.TranslateMessage(&message);
    user.DispatchMessageA(&message);
}

int AppMessageBox(const char* text, UINT type) {
    return platform::User().MessageBoxA(platform::User().GetActiveWindow(), text, "Kestrava", type);
}

HINSTANCE AppInstance() { return platform::Modules().GetModuleHandleA(nullptr); }

}  // namespace ui
