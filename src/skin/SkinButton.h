// An owner-drawn bitmap button: one picture while the pointer is over it or it is
// pressed, another when idle, each with a key colour drawn transparent over a state
// background colour. A check-box control becomes a bitmap check box that keeps its
// own check state.
#pragma once

#include <string>

#include "platform/ScopedGdiObject.h"
#include "ui/Window.h"

class SkinButton : public ui::Control {
public:
    // Results of the set-up calls.
    static constexpr int kOk = 0;
    static constexpr int kInvalidBitmap = 1;
    static constexpr int kMaskFailed = 2;
    static constexpr int kInvalidIndex = 3;

    // Colour indexes: background and text while the pointer is over it or it is pressed,
    // when idle, and when it has the focus.
    static constexpr int kHotBackground = 0;
    static constexpr int kHotText = 1;
    static constexpr int kIdleBackground = 2;
    static constexpr int kIdleText = 3;
    static constexpr int kFocusBackground = 4;
    static constexpr int kFocusText = 5;

    SkinButton();
    ~SkinButton() override;

    // Loads both bitmap resources; an idle id of 0 leaves the first picture for every state.
    int SetBitmaps(int hotId, win::COLORREF hotKey, int idleId, win::COLORREF idleKey);
    // Takes over the bitmaps (freeing any previous ones) and builds their masks.
    int SetBitmapHandles(win::HBITMAP hot, win::COLORREF hotKey, win::HBITMAP idle, win::COLORREF idleKey);
    // Picture offset while pressed: mode 0 (1, 1), mode 1 (0, 2), anything else none.
    void SetPressedOffset(int mode, bool redraw);
    // Whether a frame is drawn around the button while the pointer is over it or it is pressed.
    void SetFlatBorder(bool on, bool redraw);
    // kInvalidIndex for an index (taken as a byte) above 5.
    int SetColor(int index, win::COLORREF colour, bool redraw);
    // CLR_INVALID for an index outside 0 to 5.
    win::COLORREF GetColor(int index) const {
        return index >= 0 && index <= kFocusText ? colours_[index] : win::CLR_INVALID;
    }
    void ResetColors(bool redraw);
    // Only check boxes keep a check state.
    void SetCheck(bool checked, bool redraw);
    bool GetCheck() const { return checked_; }

    // A monochrome mask, white where the bitmap has exactly the key colour; those pixels
    // of the bitmap are turned black. Null on failure.
    static win::HBITMAP MakeMask(win::HBITMAP bitmap, int width, int height, win::COLORREF key);

    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool OnReflected(win::UINT message, win::WPARAM wParam, win::LPARAM lParam, win::LRESULT& result) override;

protected:
    void OnAttached() override;
    virtual void DrawItem(const win::DRAWITEMSTRUCT& item);
    virtual void DrawBackground(win::HDC dc, const win::RECT& item);
    virtual void DrawBorder(win::HDC dc, const win::RECT& item);
    // Draws the state's picture; textArea becomes what is left beside it for the label.
    virtual void DrawBitmap(win::HDC dc, bool hasText, const win::RECT& item, win::RECT& textArea);
    virtual void DrawLabel(win::HDC dc, const std::string& text, win::RECT textArea);

private:
    struct Slot {
        platform::ScopedGdiObject bitmap;
        int width = 0;
        int height = 0;
        win::COLORREF key = 0;
        platform::ScopedGdiObject mask;
    };

    int FillSlot(Slot& slot, platform::ScopedGdiObject bitmap, win::COLORREF key);
    void FreeBitmaps();
    void Redraw() const;
    bool Hot() const { return pointerOver_ || pressed_; }
    void OnMouseMove(win::WPARAM keys, win::LPARAM position);
    void CancelHover();
    void DrawMasked(win::HDC dc, const Slot& slot, int x, int y);
    void DrawDisabled(win::HDC dc, const Slot& slot, int x, int y);

    Slot hot_;
    Slot idle_;
    win::COLORREF colours_[6];
    bool checkBox_ = false;
    bool defaultButton_ = false;
    bool checked_ = false;
    bool pointerOver_ = false;
    bool borderOnHover_ = true;
    win::POINT pressedOffset_{1, 1};
    // Taken from each draw request.
    bool pressed_ = false;
    bool focused_ = false;
    bool disabled_ = false;
};
