#include "skin/RegionFromBitmap.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/ScopedGdiObject.h"
#include "skin/MemoryDc.h"

namespace {
using namespace win;

constexpr DWORD kGrowth = 100;      // rectangles added to the buffer at a time
constexpr DWORD kBatchSize = 3000;  // rectangles handed to ExtCreateRegion at a time

struct ChannelRange {
    BYTE low;
    BYTE high;
    bool Holds(BYTE value) const { return value >= low && value <= high; }
};

struct KeyRanges {
    ChannelRange red, green, blue;
};

ChannelRange RangeOf(BYTE value) {
    return ChannelRange{static_cast<BYTE>(value <= 16 ? 0 : value - 17),
                        static_cast<BYTE>(value <= 238 ? value + 17 : 255)};
}

KeyRanges RangesOf(COLORREF key) {
    if (key == RGB(0, 0, 0)) return KeyRanges{{0, 16}, {0, 16}, {0, 16}};
    if (key == RGB(255, 255, 255)) return KeyRanges{{239, 255}, {239, 255}, {239, 255}};
    return KeyRanges{RangeOf(GetRValue(key)), RangeOf(GetGValue(key)), RangeOf(GetBValue(key))};
}

// A region-data block growing by 100 rectangles, flushed into the result region in
// batches of at most 3000 rectangles.
class RectangleBatches {
public:
    RectangleBatches() : buffer_(BufferSize(kGrowth), 0), capacity_(kGrowth) { ResetBatch(); }

    void Add(const RECT& rect) {
        if (count_ == capacity_) {
            capacity_ += kGrowth;
            buffer_.resize(BufferSize(capacity_), 0);
        }
        std::memcpy(buffer_.data() + sizeof(RGNDATAHEADER) + count_ * sizeof(RECT), &rect, sizeof(RECT));
        bounds_.left = rect.left < bounds_.left ? rect.left : bounds_.left;
        bounds_.top = rect.top < bounds_.top ? rect.top : bounds_.top;
        bounds_.right = rect.right > bounds_.right ? rect.right : bounds_.right;
        bounds_.bottom = rect.bottom > bounds_.bottom ? rect.bottom : bounds_.bottom;
        if (++count_ == kBatchSize) {
            Flush();
            ResetBatch();
        }
    }

    void Flush() {
        platform::IGdi& gdi = platform::Gdi();
        RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, count_, 0, bounds_};
        std::memcpy(buffer_.data(), &header, sizeof(header));
        platform::ScopedGdiObject batch(gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(buffer_.size()),
                                                            reinterpret_cast<const RGNDATA*>(buffer_.data())));
        if (!result_) {
            result_ = std::move(batch);
        } else if (batch) {
            gdi.CombineRgn(result_.Get(), result_.Get(), batch.Get(), RGN_OR);
        }
    }

    platform::ScopedGdiObject TakeResult() { return std::move(result_); }

private:
    static size_t BufferSize(DWORD rectangles) { return sizeof(RGNDATAHEADER) + rectangles * sizeof(RECT); }

    void ResetBatch() {
        count_ = 0;
        bounds_ = RECT{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
    }

    std::vector<BYTE> buffer_;
    DWORD capacity_;
    DWORD count_ = 0;
    RECT bounds_{};
    platform::ScopedGdiObject result_;
};

// Collects the horizontal runs of one pixel class, top image row first; the work
// copy's rows are stored bottom-up as blue, green, red, reserved.
void CollectRuns(const BYTE* bits, LONG stride, LONG width, LONG height, const KeyRanges& key, bool keyColoured,
                 RectangleBatches& batches) {
    auto isKey = [&key](const BYTE* pixel) {
        return key.blue.Holds(pixel[0]) && key.green.Holds(pixel[1]) && key.red.Holds(pixel[2]);
    };
    for (LONG y = 0; y < height; ++y) {
        const BYTE* row = bits + static_cast<size_t>(height - 1 - y) * stride;
        LONG x = 0;
        while (x < width) {
            LONG start = x;
            while (x < width && isKey(row + x * 4) == keyColoured) ++x;
            if (x > start) batches.Add(RECT{start, y, x, y + 1});
            ++x;  // the pixel ending the run belongs to the other class
        }
    }
}

}  // namespace

HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF key, int scanMode) {
    if (bitmap == nullptr) return nullptr;
    platform::IGdi& gdi = platform::Gdi();
    platform::ScopedGdiObject work;  // declared before the DC it is selected into, so it outlives it
    MemoryDc workDc(nullptr);
    if (!workDc) return nullptr;

    BITMAP size{};
    gdi.GetObjectA(bitmap, sizeof(size), &size);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    work = platform::ScopedGdiObject(gdi.CreateDIBSection(workDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!work) return nullptr;
    workDc.Select(work.Get());

    MemoryDc inputDc(workDc.Get());
    if (!inputDc) return nullptr;
    inputDc.Select(bitmap);
    gdi.BitBlt(workDc.Get(), 0, 0, size.bmWidth, size.bmHeight, inputDc.Get(), 0, 0, SRCCOPY);

    BITMAP workSize{};
    gdi.GetObjectA(work.Get(), sizeof(workSize), &workSize);
    RectangleBatches batches;
    CollectRuns(static_cast<const BYTE*>(bits), workSize.bmWidthBytes, size.bmWidth, size.bmHeight, RangesOf(key),
                scanMode == 0, batches);
    batches.Flush();

    platform::ScopedGdiObject result = batches.TakeResult();
    if (scanMode == 0) {
        const platform::ScopedGdiObject full(gdi.CreateRectRgn(0, 0, size.bmWidth, size.bmHeight));
        if (!full) return nullptr;
        if (result) gdi.CombineRgn(result.Get(), result.Get(), full.Get(), RGN_XOR);
    }
    return result.Release();  // the caller's now
}
