// RegionFromBitmap on a 1920 x 1080 window mask in the simulated machine (build it in
// Release): an elliptic outline with rectangular cut-outs, about six runs a row. The
// reference is a plain pass that only reads the same pixels. The machine's share of the
// time is measured by doing its parts alone: the 32-bit work copy made with BitBlt, and
// the same rectangles built into a region in the same batches; the rest is the scan.
// Best of several rounds each. Prints rows for tools/bench.sh.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchTable.h"
#include "sim/Machine.h"
#include "skin/RegionFromBitmap.h"

namespace {
using namespace win;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRounds = 20;
constexpr size_t kBatch = 3000;

bool Opaque(int x, int y) {
    double dx = (x - kWidth / 2.0) / (kWidth / 2.0);
    double dy = (y - kHeight / 2.0) / (kHeight / 2.0);
    if (dx * dx + dy * dy > 1.0) return false;
    bool cutOut = (y / 60) % 3 == 1 && ((x / 120) % 4 == 1 || (x / 120) % 4 == 2);
    return !cutOut;
}

HBITMAP MakeMask(platform::IGdi& gdi, DWORD*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP mask = gdi.CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (mask == nullptr) return nullptr;
    pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) pixels[y * kWidth + x] = Opaque(x, y) ? 0x00C0A080u : 0u;
    }
    return mask;
}

template <typename Work>
double BestMs(Work work) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        work();
        double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (elapsed < best) best = elapsed;
    }
    return best;
}

// The work copy of the mask, made as RegionFromBitmap makes it.
void CopyMask(sim::Gdi& gdi, HBITMAP mask) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC workDc = gdi.CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP work = gdi.CreateDIBSection(workDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ workDefault = gdi.SelectObject(workDc, work);
    HDC inputDc = gdi.CreateCompatibleDC(workDc);
    HGDIOBJ inputDefault = gdi.SelectObject(inputDc, mask);
    gdi.BitBlt(workDc, 0, 0, kWidth, kHeight, inputDc, 0, 0, SRCCOPY);
    gdi.SelectObject(inputDc, inputDefault);
    gdi.DeleteDC(inputDc);
    gdi.SelectObject(workDc, workDefault);
    gdi.DeleteDC(workDc);
    gdi.DeleteObject(work);
}

// The rectangles into a region as RegionFromBitmap hands them over: batches of 3000, each
// batch's region combined into the result.
HRGN BuildRegion(sim::Gdi& gdi, const std::vector<RECT>& rects) {
    HRGN result = nullptr;
    for (size_t first = 0; first < rects.size(); first += kBatch) {
        const size_t count = rects.size() - first < kBatch ? rects.size() - first : kBatch;
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
        RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(count), 0, RECT{0, 0, kWidth, kHeight}};
        std::memcpy(data.data(), &header, sizeof header);
        std::memcpy(data.data() + sizeof header, &rects[first], count * sizeof(RECT));
        HRGN batch = gdi.ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
        if (result == nullptr) {
            result = batch;
        } else {
            gdi.CombineRgn(result, result, batch, RGN_OR);
            gdi.DeleteObject(batch);
        }
    }
    return result;
}

}  // namespace

int main() {
    sim::Machine machine;
    DWORD* pixels = nullptr;
    HBITMAP mask = MakeMask(machine.gdi, pixels);
    if (mask == nullptr) {
        std::fprintf(stderr, "could not make the mask\n");
        return 1;
    }
    HRGN sample = RegionFromBitmap(mask, RGB(0, 0, 0), 1);
    const std::vector<RECT> rects = machine.gdi.RegionRects(sample);
    machine.gdi.DeleteObject(sample);

    const double region = BestMs([&] { machine.gdi.DeleteObject(RegionFromBitmap(mask, RGB(0, 0, 0), 1)); });
    volatile DWORD sum = 0;
    const double read = BestMs([&] {
        DWORD total = 0;
        for (int i = 0; i < kWidth * kHeight; ++i) total += pixels[i];
        sum = total;
    });
    const double copy = BestMs([&] { CopyMask(machine.gdi, mask); });
    const double regionCalls = BestMs([&] { machine.gdi.DeleteObject(BuildRegion(machine.gdi, rects)); });

    char figure[96];
    std::snprintf(figure, sizeof figure, "RegionFromBitmap: %dx%d mask, %zu rectangles", kWidth, kHeight, rects.size());
#ifdef NDEBUG
    const char* build = "native Release build";
#else
    const char* build = "native Debug build";
#endif
    bench::Section(std::string("RegionFromBitmap, ") + build +
                   " on the simulated machine; reference: a plain read of the pixels");
    bench::Row(figure, bench::Duration(region), "plain read " + bench::Duration(read), bench::Ratio(region, read));
    std::printf("\nRegionFromBitmap: %.0f megapixels per second; of its %.2f ms the machine's work copy takes %.2f ms "
                "and its region calls %.2f ms, leaving %.2f ms for the scan\n",
                kWidth * kHeight / region / 1000.0, region, copy, regionCalls, region - copy - regionCalls);
    machine.gdi.DeleteObject(mask);
    return 0;
}
