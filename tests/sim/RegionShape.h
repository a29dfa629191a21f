// The shape of a simulated GDI region: horizontal bands, each with sorted, disjoint
// spans; vertically adjacent bands with equal spans are merged, so every point set
// has exactly one representation (the one Windows reports).
#pragma once

#include <utility>
#include <vector>

#include "platform/GdiTypes.h"

namespace sim {

class RegionShape {
public:
    enum class Op { And, Or, Xor, Diff };

    RegionShape() = default;
    // The union of the rectangles; empty rectangles are ignored.
    static RegionShape FromRects(std::vector<win::RECT> rects);
    static RegionShape Combine(const RegionShape& a, const RegionShape& b, Op op);

    bool Empty() const { return bands_.empty(); }
    std::vector<win::RECT> Rects() const;
    size_t RectCount() const;
    win::RECT Bounds() const;  // all zero when empty
    bool operator==(const RegionShape& other) const;

private:
    using Spans = std::vector<std::pair<win::LONG, win::LONG>>;  // [left, right)
    struct Band {
        win::LONG top;
        win::LONG bottom;
        Spans spans;
        bool operator==(const Band& other) const {
            return top == other.top && bottom == other.bottom && spans == other.spans;
        }
    };
    static Spans CombineSpans(const Spans& a, const Spans& b, Op op);
    void Append(win::LONG top, win::LONG bottom, Spans spans);

    std::vector<Band> bands_;
};

}  // namespace sim
