// What the skin button drawing tests share, in the sim and under Wine: the colours
// of their pictures and a button whose drawing can be called directly.
#pragma once

#include "skin/SkinButton.h"

namespace skin_button_test {
using namespace win;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kNearBlack = RGB(1, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);

class TestButton : public SkinButton {
public:
    using SkinButton::DrawItem;
};

}  // namespace skin_button_test
