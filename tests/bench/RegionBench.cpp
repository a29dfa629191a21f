// Measures RegionFromBitmap on a 1920 x 1080 window mask in the simulated machine:
// an elliptic outline with rectangular cut-outs, about six runs a row.
#include <chrono>
#include <cstdio>

#include "platform/sim/Machine.h"
#include "skin/RegionFromBitmap.h"

namespace {
using namespace win;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

bool Opaque(int x, int y) {
    double dx = (x - kWidth / 2.0) / (kWidth / 2.0);
    double dy = (y - kHeight / 2.0) / (kHeight / 2.0);
    if (dx * dx + dy * dy > 1.0) return false;
    bool cutOut = (y / 60) % 3 == 1 && ((x / 120) % 4 == 1 || (x / 120) % 4 == 2);
    return !cutOut;
}

HBITMAP MakeMask(platform::IGdi& gdi) {
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
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) pixels[y * kWidth + x] = Opaque(x, y) ? 0x00C0A080u : 0u;
    }
    return mask;
}

}  // namespace

int main() {
    sim::Machine machine;
    HBITMAP mask = MakeMask(machine.gdi);
    if (mask == nullptr) {
        std::fprintf(stderr, "could not make the mask\n");
        return 1;
    }
    const int rounds = 20;
    size_t rects = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        HRGN region = RegionFromBitmap(mask, RGB(0, 0, 0), 1);
        if (i == 0) rects = machine.gdi.RegionRects(region).size();
        machine.gdi.DeleteObject(region);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double megapixels = static_cast<double>(kWidth) * kHeight * rounds / 1e6;
    std::printf("RegionFromBitmap: %.1f megapixels per second (%d x %d mask, %zu rectangles, %d rounds, %.3f s)\n",
                megapixels / seconds, kWidth, kHeight, rects, rounds, seconds);
    machine.gdi.DeleteObject(mask);
    return 0;
}
