// Modal dialogs from resource templates.
#pragma once

#include <map>
#include <vector>

#include "ui/Window.h"

namespace ui {

class Dialog : public Window {
public:
    Dialog(int templateId, HWND parent);
    ~Dialog() override = default;

    // Runs the dialog modally; returns the value given to EndDialog.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    HWND Item(int id) const;

protected:
    // Binds a control object to a template item (DDX_Control); call from DoDataExchange.
    void Bind(int id, Control& control);
    void Bind(int id, Window& window);

    virtual void DoDataExchange() {}
    // Runs DoDataExchange; returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Command notifications from controls (BN_CLICKED and the like); true when handled.
    virtual bool OnCommand(WORD id, WORD code);
    // Every message before the default handling; true when handled, with its result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR KAPI Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    Control* ControlFor(HWND hwnd) const;

    int templateId_;
    HWND parent_;
    std::vector<std::pair<int, Control*>> boundControls_;
};

// Dispatches one message of the calling thread's queue, waiting for one if none is
// queued (CWinThread::PumpMessage); dialog keys go to the active modal dialog.
void PumpMessage();

// The application's message box (AfxMessageBox): caption "Kestrava", owned by the active window.
int AppMessageBox(const char* text, UINT type);

// The application instance (the module of the running program).
HINSTANCE AppInstance();

}  // namespace ui
