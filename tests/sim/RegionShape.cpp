#include "sim/RegionShape.h"

#include <algorithm>

namespace sim {
using win::LONG;
using win::RECT;

namespace {

bool Keep(bool inA, bool inB, RegionShape::Op op) {
    switch (op) {
    case RegionShape::Op::And: return inA && inB;
    case RegionShape::Op::Or: return inA || inB;
    case RegionShape::Op::Xor: return inA != inB;
    case RegionShape::Op::Diff: return inA && !inB;
    }
    return false;
}

}  // namespace

void RegionShape::Append(LONG top, LONG bottom, Spans spans) {
    if (spans.empty() || top >= bottom) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back(Band{top, bottom, std::move(spans)});
}

RegionShape RegionShape::FromRects(std::vector<RECT> rects) {
    rects.erase(std::remove_if(rects.begin(), rects.end(),
                               [](const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }),
                rects.end());
    RegionShape shape;
    if (rects.empty()) return shape;
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    std::vector<LONG> edges;
    edges.reserve(rects.size() * 2);
    for (const RECT& r : rects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<const RECT*> active;
    size_t next = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        LONG top = edges[i];
        while (next < rects.size() && rects[next].top <= top) active.push_back(&rects[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [top](const RECT* r) { return r->bottom <= top; }),
                     active.end());
        Spans spans;
        spans.reserve(active.size());
        for (const RECT* r : active) spans.emplace_back(r->left, r->right);
        std::sort(spans.begin(), spans.end());
        Spans merged;
        for (const auto& span : spans) {
            if (!merged.empty() && span.first <= merged.back().second) {
                merged.back().second = std::max(merged.back().second, span.second);
            } else {
                merged.push_back(span);
            }
        }
        shape.Append(top, edges[i + 1], std::move(merged));
    }
    return shape;
}

RegionShape::Spans RegionShape::CombineSpans(const Spans& a, const Spans& b, Op op) {
    std::vector<LONG> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (const auto& s : a) {
        xs.push_back(s.first);
        xs.push_back(s.second);
    }
    for (const auto& s : b) {
        xs.push_back(s.first);
        xs.push_back(s.second);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    Spans result;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        LONG left = xs[i];
        while (ia < a.size() && a[ia].second <= left) ++ia;
        while (ib < b.size() && b[ib].second <= left) ++ib;
        bool inA = ia < a.size() && a[ia].first <= left;
        bool inB = ib < b.size() && b[ib].first <= left;
        if (!Keep(inA, inB, op)) continue;
        if (!result.empty() && result.back().second == left) {
            result.back().second = xs[i + 1];
        } else {
            result.emplace_back(left, xs[i + 1]);
        }
    }
    return result;
}

RegionShape RegionShape::Combine(const RegionShape& a, const RegionShape& b, Op op) {
    std::vector<LONG> edges;
    edges.reserve(2 * (a.bands_.size() + b.bands_.size()));
    for (const Band& band : a.bands_) {
        edges.push_back(band.top);
        edges.push_back(band.bottom);
    }
    for (const Band& band : b.bands_) {
        edges.push_back(band.top);
        edges.push_back(band.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    static const Spans none;
    RegionShape shape;
    size_t ia = 0, ib = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        LONG top = edges[i];
        while (ia < a.bands_.size() && a.bands_[ia].bottom <= top) ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].bottom <= top) ++ib;
        const Spans& spansA = ia < a.bands_.size() && a.bands_[ia].top <= top ? a.bands_[ia].spans : none;
        const Spans& spansB = ib < b.bands_.size() && b.bands_[ib].top <= top ? b.bands_[ib].spans : none;
        if (spansA.empty() && spansB.empty()) continue;
        shape.Append(top, edges[i + 1], CombineSpans(spansA, spansB, op));
    }
    return shape;
}

std::vector<RECT> RegionShape::Rects() const {
    std::vector<RECT> rects;
    rects.reserve(RectCount());
    for (const Band& band : bands_) {
        for (const auto& span : band.spans) rects.push_back(RECT{span.first, band.top, span.second, band.bottom});
    }
    return rects;
}

size_t RegionShape::RectCount() const {
    size_t count = 0;
    for (const Band& band : bands_) count += band.spans.size();
    return count;
}

RECT RegionShape::Bounds() const {
    if (bands_.empty()) return RECT{0, 0, 0, 0};
    RECT bounds{bands_.front().spans.front().first, bands_.front().top, bands_.front().spans.back().second,
                bands_.back().bottom};
    for (const Band& band : bands_) {
        bounds.left = std::min(bounds.left, band.spans.front().first);
        bounds.right = std::max(bounds.right, band.spans.back().second);
    }
    return bounds;
}

bool RegionShape::operator==(const RegionShape& other) const { return bands_ == other.bands_; }

}  // namespace sim
