// A static control showing one bitmap out of a list of frames, stepped by a timer as
// an animation. The control takes the size of the frame it paints.
#pragma once

#include <vector>

#include "platform/ScopedGdiObject.h"
#include "ui/Window.h"

class SkinStatic : public ui::Control {
public:
    // Loads a bitmap resource as the new last frame and makes it current; a failed load
    // adds a null frame.
    void AddFrame(int resourceId);
    // Makes a frame current and repaints; indexes outside the list are ignored.
    void SetFrame(int index);
    // The next frame, after the last one the first.
    void NextFrame();
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    int CurrentFrame() const { return current_; }
    // One frame step every 100 ms (timer 0 of the control's window).
    void StartAnimation();
    void StopAnimation();

    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

private:
    void Paint();
    void FreeFrames();

    std::vector<platform::ScopedGdiObject> frames_;  // freed with the window, or with the control
    int current_ = -1;
    win::HBITMAP bitmap_ = nullptr;
};

// The busy indicator of both dialogs: frames 148 to 154 and then 147, so that it
// shows 147 until it is animated.
void AddBusyIndicatorFrames(SkinStatic& indicator);
