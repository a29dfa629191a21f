// Pictures and the regions RegionFromBitmap must make of them (key colour black unless
// stated), shared by the simulated and the real GDI tests.
#pragma once

#include <vector>

#include "skin/TestBitmaps.h"

namespace region_cases {
using namespace win;
using testing_bitmaps::Filled;
using testing_bitmaps::Rows;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);

struct KeyCase {
    COLORREF key;
    COLORREF pixel;
    bool keyColoured;
};

inline std::vector<KeyCase> KeyCases() {
    return {
        {kBlack, RGB(16, 16, 16), true},
        {kBlack, RGB(17, 0, 0), false},
        {kBlack, RGB(0, 0, 17), false},
        {RGB(255, 255, 255), RGB(239, 239, 239), true},
        {RGB(255, 255, 255), RGB(238, 255, 255), false},
        {RGB(255, 0, 0), RGB(240, 10, 0), true},
        {RGB(255, 0, 0), RGB(255, 17, 17), true},  // a zero channel of another key reaches 17
        {RGB(255, 0, 0), RGB(237, 0, 0), false},
        {RGB(255, 0, 0), RGB(0, 0, 255), false},
        {RGB(100, 100, 100), RGB(83, 117, 100), true},
        {RGB(100, 100, 100), RGB(82, 100, 100), false},
        {RGB(100, 100, 100), RGB(100, 118, 100), false},
        {RGB(10, 240, 250), RGB(0, 255, 233), true},
        {RGB(10, 240, 250), RGB(28, 255, 255), false},
    };
}

struct ShapeCase {
    const char* name;
    Rows rows;
    std::vector<RECT> expected;
};

inline ShapeCase TopLeftBlack() {
    Rows rows = Filled(2, 2, kGrey);
    rows[0][0] = kBlack;
    return {"2 x 2, top-left black", rows, {{1, 0, 2, 1}, {0, 1, 2, 2}}};
}

// A ring: rows with one run, two runs, one run.
inline ShapeCase Ring() {
    Rows rows = {
        {kBlack, kGrey, kGrey, kGrey, kBlack},
        {kGrey, kGrey, kBlack, kGrey, kGrey},
        {kGrey, kGrey, kBlack, kGrey, kGrey},
        {kBlack, kGrey, kGrey, kGrey, kBlack},
    };
    return {"ring", rows, {{1, 0, 4, 1}, {0, 1, 2, 3}, {3, 1, 5, 3}, {1, 3, 4, 4}}};
}

// One row of 3001 single-pixel runs: a full batch of 3000 and a batch of one.
inline ShapeCase ManyRuns() {
    ShapeCase shape{"3001 runs", Rows(1, std::vector<COLORREF>(6001, kBlack)), {}};
    for (LONG x = 0; x < 6001; x += 2) {
        shape.rows[0][static_cast<size_t>(x)] = kGrey;
        shape.expected.push_back(RECT{x, 0, x + 1, 1});
    }
    return shape;
}

inline std::vector<ShapeCase> ShapeCases() {
    return {
        TopLeftBlack(),
        {"all key", Filled(7, 5, kBlack), {}},
        {"no key", Filled(7, 5, kGrey), {{0, 0, 7, 5}}},
        Ring(),
        ManyRuns(),
    };
}

}  // namespace region_cases
