// The running window shown while a boost is active: the packet size, the available
// memory and the number of processes optimised, in the bottom-right corner of the
// screen. Closing it ends the boost.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "skin/SkinButton.h"
#include "skin/SkinStatic.h"
#include "ui/Dialog.h"

class BoostDialog : public ui::Dialog {
public:
    explicit BoostDialog(win::HWND parent);

    void SetPacketSize(int32_t packetSize) { networkValue_ = packetSize; }
    void SetProcessCount(int32_t processCount) { processCount_ = processCount; }
    // The executable names of the game the boost left alone; empty: no such line.
    void SetSparedProgram(std::string names) { sparedProgram_ = std::move(names); }
    // Called when the window opens and then about twice a second while it shows.
    void SetBoostWatch(std::function<void()> watch) { boostWatch_ = std::move(watch); }

protected:
    void DoDataExchange() override;
    win::BOOL OnInitDialog() override;
    // Enter does nothing; only Cancel (Esc or either button) closes the window.
    void OnOK() override {}
    bool OnCommand(win::WORD id, win::WORD code) override;
    bool OnMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam, win::LRESULT& result) override;

private:
    struct ResultLine {
        const ui::Window* anchor;
        const char* format;
        int32_t value;
        std::string Text() const;
    };
    std::array<ResultLine, 3> ResultLines() const;
    void SetUpSkin();
    void SetUpButtons();
    void Paint();

    SkinStatic statusIcon_;
    SkinButton closeButton_;
    ui::Window processAnchor_;
    ui::Window memoryAnchor_;
    ui::Window networkAnchor_;
    SkinButton mainButton_;
    int32_t networkValue_ = 0;
    int32_t processCount_ = 0;
    int32_t availableMemoryMb_ = 0;
    std::string sparedProgram_;
    std::function<void()> boostWatch_;
};

// The top-left corner for a window of the given size in the bottom-right corner of the
// desktop, 5 pixels from its edges and clear of a taskbar along the bottom or the right
// edge. False when there is no desktop window.
bool PlaceAboveTaskbar(int width, int height, int& x, int& y);
