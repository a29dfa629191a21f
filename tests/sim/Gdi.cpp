#include "sim/Gdi.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Platform.h"
#include "sim/PixelBuffer.h"
#include "sim/RegionShape.h"

namespace sim {

struct Gdi::Object {
    virtual ~Object() = default;
    bool stock = false;
};

struct Gdi::Bitmap : Gdi::Object {
    Bitmap(int width, int height, int bitsPerPixel, bool isDib, bool bottomUp)
        : pixels(width, height, bitsPerPixel, isDib ? 4 : 2, bottomUp), dib(isDib) {}
    PixelBuffer pixels;
    bool dib;
    BITMAPINFOHEADER header{};  // DIB sections: the header they were made from
    HDC selectedIn = nullptr;
    int surfaceUsers = 0;
    std::vector<TextRecord> texts;
    std::vector<BlitRecord> blits;
};

struct Gdi::Dc : Gdi::Object {
    HBITMAP selected = nullptr;  // memory DCs
    HBITMAP surface = nullptr;   // surface DCs
    COLORREF text = RGB(0, 0, 0);
    COLORREF background = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
};

namespace {

struct Brush : Gdi::Object {
    COLORREF colour = 0;
    bool hollow = false;
};

struct Font : Gdi::Object {
    std::string face;
    int height = 16;
};

struct Region : Gdi::Object {
    RegionShape shape;
};

constexpr long kMaxPixels = 1L << 26;
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool Inside(const POINT& point, const RECT& rect) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

RECT Normalized(RECT rect) {
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    return rect;
}

int Complexity(const RegionShape& shape) {
    size_t count = shape.RectCount();
    return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CharWidth(int fontHeight) { return std::max(1, fontHeight / 2); }

// Lines of a text as DrawTextA lays them out; maxWidth < 0 means no word wrapping.
std::vector<std::string> Lines(const std::string& text, int maxWidth, int charWidth) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        if (maxWidth < 0) {
            lines.push_back(paragraph);
        } else {
            std::string line;
            size_t position = 0;
            bool any = false;
            while (position <= paragraph.size()) {
                size_t space = paragraph.find(' ', position);
                std::string word = paragraph.substr(position, space == std::string::npos ? std::string::npos
                                                                                        : space - position);
                std::string joined = any ? line + " " + word : word;
                if (any && static_cast<int>(joined.size()) * charWidth > maxWidth) {
                    lines.push_back(line);
                    line = word;
                } else {
                    line = joined;
                }
                any = true;
                if (space == std::string::npos) break;
                position = space + 1;
            }
            lines.push_back(line);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

Gdi::Gdi(Machine&) {
    auto addStock = [this](int index, std::unique_ptr<Object> object) {
        object->stock = true;
        stock_[index] = AddObject(std::move(object));
    };
    auto brush = [](COLORREF colour, bool hollow) {
        auto made = std::make_unique<Brush>();
        made->colour = colour;
        made->hollow = hollow;
        return made;
    };
    auto font = [](const char* face, int height) {
        auto made = std::make_unique<Font>();
        made->face = face;
        made->height = height;
        return made;
    };
    addStock(WHITE_BRUSH, brush(kWhite, false));
    addStock(BLACK_BRUSH, brush(RGB(0, 0, 0), false));
    addStock(NULL_BRUSH, brush(0, true));
    addStock(SYSTEM_FONT, font("System", 16));
    addStock(DEFAULT_GUI_FONT, font("Gulim", 12));
    Bitmap* defaultBitmap = NewBitmap(1, 1, 1, false, false, &defaultBitmap_);
    defaultBitmap->stock = true;
    platform::Current().gdi = this;
}

Gdi::~Gdi() { platform::Current().gdi = nullptr; }

HGDIOBJ Gdi::AddObject(std::unique_ptr<Object> object) {
    uintptr_t value = next_;
    next_ += 4;
    objects_[value] = std::move(object);
    return reinterpret_cast<HGDIOBJ>(value);
}

template <typename T>
T* Gdi::Find(HGDIOBJ handle) const {
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : dynamic_cast<T*>(it->second.get());
}

Gdi::Bitmap* Gdi::TargetOf(HGDIOBJ bitmapOrDc) const {
    if (Dc* dc = Find<Dc>(bitmapOrDc)) return Find<Bitmap>(dc->surface ? dc->surface : dc->selected);
    return Find<Bitmap>(bitmapOrDc);
}

Gdi::Bitmap* Gdi::NewBitmap(int width, int height, int bitsPerPixel, bool dib, bool bottomUp, HBITMAP* handle) {
    auto bitmap = std::make_unique<Bitmap>(width, height, bitsPerPixel, dib, bottomUp);
    Bitmap* made = bitmap.get();
    *handle = AddObject(std::move(bitmap));
    return made;
}

bool Gdi::ShouldFail(const char* call) {
    auto it = failures_.find(call);
    if (it == failures_.end()) return false;
    if (it->second > 0) {
        --it->second;
        return false;
    }
    failures_.erase(it);
    return true;
}

void Gdi::FailCall(const std::string& call, int successes) {
    std::lock_guard<std::mutex> lock(mutex_);
    failures_[call] = successes;
}

// --- For the window manager ---

HDC Gdi::CreateSurfaceDC(HBITMAP surface) {
    std::lock_guard<std::mutex> lock(mutex_);
    Bitmap* bitmap = Find<Bitmap>(surface);
    if (bitmap == nullptr) return nullptr;
    auto dc = std::make_unique<Dc>();
    dc->surface = surface;
    dc->font = stock_[SYSTEM_FONT];
    dc->brush = stock_[WHITE_BRUSH];
    ++bitmap->surfaceUsers;
    return AddObject(std::move(dc));
}

HFONT Gdi::CreateFontObject(const std::string& face, int height) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto font = std::make_unique<Font>();
    font->face = face;
    font->height = height;
    return AddObject(std::move(font));
}

std::vector<RECT> Gdi::RegionRects(HRGN region) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Region* found = Find<Region>(region);
    return found ? found->shape.Rects() : std::vector<RECT>{};
}

// --- Inspection ---

std::vector<TextRecord> Gdi::Texts(HGDIOBJ bitmapOrDc) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Bitmap* bitmap = TargetOf(bitmapOrDc);
    return bitmap ? bitmap->texts : std::vector<TextRecord>{};
}

std::vector<BlitRecord> Gdi::Blits(HGDIOBJ bitmapOrDc) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Bitmap* bitmap = TargetOf(bitmapOrDc);
    return bitmap ? bitmap->blits : std::vector<BlitRecord>{};
}

COLORREF Gdi::PixelOf(HGDIOBJ bitmapOrDc, int x, int y) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Bitmap* bitmap = TargetOf(bitmapOrDc);
    if (bitmap == nullptr || !bitmap->pixels.Contains(x, y)) return CLR_INVALID;
    return bitmap->pixels.Colour(x, y);
}

HBITMAP Gdi::SelectedBitmap(HDC dc) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    return found ? found->selected : nullptr;
}

size_t Gdi::LiveObjects() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<size_t>(std::count_if(objects_.begin(), objects_.end(), [](const auto& entry) {
        return !entry.second->stock && dynamic_cast<Dc*>(entry.second.get()) == nullptr;
    }));
}

size_t Gdi::LiveDcs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<size_t>(std::count_if(objects_.begin(), objects_.end(), [](const auto& entry) {
        return dynamic_cast<Dc*>(entry.second.get()) != nullptr;
    }));
}

// --- Device contexts and objects ---

HDC Gdi::CreateCompatibleDC(HDC dc) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ShouldFail("CreateCompatibleDC") || (dc != nullptr && Find<Dc>(dc) == nullptr)) return nullptr;
    auto made = std::make_unique<Dc>();
    made->selected = defaultBitmap_;
    made->font = stock_[SYSTEM_FONT];
    made->brush = stock_[WHITE_BRUSH];
    return AddObject(std::move(made));
}

BOOL Gdi::DeleteDC(HDC dc) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    if (found == nullptr) return FALSE;
    if (Bitmap* bitmap = Find<Bitmap>(found->selected)) {
        if (bitmap->selectedIn == dc) bitmap->selectedIn = nullptr;
    }
    if (Bitmap* surface = Find<Bitmap>(found->surface)) --surface->surfaceUsers;
    objects_.erase(reinterpret_cast<uintptr_t>(dc));
    return TRUE;
}

// Like Windows: a memory DC still holding its initial 1 x 1 monochrome bitmap gives
// monochrome bitmaps; zero sizes give that default bitmap itself.
HBITMAP Gdi::CreateCompatibleBitmap(HDC dc, int width, int height) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ShouldFail("CreateCompatibleBitmap") || width < 0 || height < 0 ||
        static_cast<long>(width) * height > kMaxPixels) {
        return nullptr;
    }
    bool monochrome = false;
    if (dc != nullptr) {
        Bitmap* target = Find<Dc>(dc) ? TargetOf(dc) : nullptr;
        if (target == nullptr) return nullptr;
        monochrome = target->pixels.BitsPerPixel() == 1;
    }
    if (width == 0 || height == 0) return defaultBitmap_;
    HBITMAP handle;
    NewBitmap(width, height, monochrome ? 1 : 32, false, false, &handle);
    return handle;
}

HBITMAP Gdi::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ShouldFail("CreateBitmap") || planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32) || width < 0 ||
        height < 0 || static_cast<long>(width) * height > kMaxPixels) {
        return nullptr;
    }
    if (width == 0 || height == 0) return defaultBitmap_;
    HBITMAP handle;
    Bitmap* bitmap = NewBitmap(width, height, static_cast<int>(bitsPerPixel), false, false, &handle);
    if (bits != nullptr) std::memcpy(bitmap->pixels.Bytes(), bits, bitmap->pixels.Size());
    return handle;
}

HBITMAP Gdi::CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    if (bits != nullptr) *bits = nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    if (ShouldFail("CreateDIBSection") || info == nullptr || usage != DIB_RGB_COLORS || section != nullptr) {
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    int bitCount = header.biBitCount;
    long height = header.biHeight < 0 ? -static_cast<long>(header.biHeight) : header.biHeight;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biCompression != BI_RGB ||
        header.biWidth <= 0 || height == 0 || static_cast<long>(header.biWidth) * height > kMaxPixels ||
        (bitCount != 1 && bitCount != 8 && bitCount != 24 && bitCount != 32)) {
        return nullptr;
    }
    HBITMAP handle;
    Bitmap* bitmap = NewBitmap(header.biWidth, static_cast<int>(height), bitCount, true, header.biHeight > 0, &handle);
    bitmap->header = header;
    bitmap->header.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->header.biSizeImage = static_cast<DWORD>(bitmap->pixels.Size());
    if (bitCount <= 8) {
        size_t entries = size_t{1} << bitCount;
        if (header.biClrUsed != 0 && header.biClrUsed < entries) entries = header.biClrUsed;
        const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + header.biSize);
        bitmap->pixels.Palette().assign(table, table + entries);
    }
    if (bits != nullptr) *bits = bitmap->pixels.Bytes();
    return handle;
}

// A bitmap can be selected into one memory DC at a time, as in Windows; the shared
// default bitmap is exempt.
HGDIOBJ Gdi::SelectObject(HDC dc, HGDIOBJ object) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    if (found == nullptr || ShouldFail("SelectObject")) return nullptr;
    if (Bitmap* bitmap = Find<Bitmap>(object)) {
        if (found->surface != nullptr) return nullptr;
        if (!bitmap->stock && bitmap->selectedIn != nullptr && bitmap->selectedIn != dc) return nullptr;
        HGDIOBJ previous = found->selected;
        if (Bitmap* old = Find<Bitmap>(previous)) {
            if (old->selectedIn == dc) old->selectedIn = nullptr;
        }
        if (!bitmap->stock) bitmap->selectedIn = dc;
        found->selected = object;
        return previous;
    }
    if (Find<Font>(object) != nullptr) return std::exchange(found->font, object);
    if (Find<Brush>(object) != nullptr) return std::exchange(found->brush, object);
    return nullptr;
}

// Bitmaps still selected into a DC stay alive and the call fails, so tests see the leak.
BOOL Gdi::DeleteObject(HGDIOBJ object) {
    std::lock_guard<std::mutex> lock(mutex_);
    Object* found = Find<Object>(object);
    if (found == nullptr || dynamic_cast<Dc*>(found) != nullptr) return FALSE;
    if (found->stock) return TRUE;
    if (auto* bitmap = dynamic_cast<Bitmap*>(found)) {
        if (bitmap->selectedIn != nullptr || bitmap->surfaceUsers > 0) return FALSE;
    }
    objects_.erase(reinterpret_cast<uintptr_t>(object));
    return TRUE;
}

int Gdi::GetObjectA(HGDIOBJ object, int size, void* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    Bitmap* bitmap = Find<Bitmap>(object);
    if (bitmap == nullptr) return 0;
    const PixelBuffer& pixels = bitmap->pixels;
    BITMAP info{};
    info.bmWidth = pixels.Width();
    info.bmHeight = pixels.Height();
    info.bmWidthBytes = pixels.Stride();
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(pixels.BitsPerPixel());
    info.bmBits = bitmap->dib ? const_cast<BYTE*>(pixels.Bytes()) : nullptr;
    int needed = bitmap->dib ? static_cast<int>(sizeof(DIBSECTION)) : static_cast<int>(sizeof(BITMAP));
    if (buffer == nullptr) return needed;
    if (bitmap->dib && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION section{};
        section.dsBm = info;
        section.dsBmih = bitmap->header;
        std::memcpy(buffer, &section, sizeof(section));
        return sizeof(DIBSECTION);
    }
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    std::memcpy(buffer, &info, sizeof(info));
    return sizeof(BITMAP);
}

HGDIOBJ Gdi::GetStockObject(int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = stock_.find(index);
    return it == stock_.end() ? nullptr : it->second;
}

// --- Pixels ---

// As in Windows, monochrome bitmaps without a colour table (not DIB sections) act as
// masks: as a source they give the target DC's text colour for 0 bits and its
// background colour for 1 bits; as a target they get 1 exactly where the source pixel
// equals the source DC's background colour.
BOOL Gdi::BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT) return FALSE;
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* targetDc = Find<Dc>(target);
    Dc* sourceDc = Find<Dc>(source);
    Bitmap* to = targetDc ? TargetOf(target) : nullptr;
    Bitmap* from = sourceDc ? TargetOf(source) : nullptr;
    if (to == nullptr || from == nullptr) return FALSE;
    if (width <= 0 || height <= 0) return TRUE;
    HBITMAP sourceHandle = sourceDc->surface ? sourceDc->surface : sourceDc->selected;
    to->blits.push_back(BlitRecord{sourceHandle, RECT{x, y, x + width, y + height}, rop});

    PixelBuffer copy = from == to ? from->pixels : PixelBuffer(0, 0, 32, 4, false);
    const PixelBuffer& src = from == to ? copy : from->pixels;
    PixelBuffer& dst = to->pixels;

    RECT sourceRect{sourceX, sourceY, sourceX + width, sourceY + height};
    RECT targetRect{x, y, x + width, y + height};
    std::vector<TextRecord> carried;
    for (const TextRecord& text : from->texts) {
        if (!Inside(text.origin, sourceRect)) continue;
        TextRecord moved = text;
        moved.origin = POINT{text.origin.x - sourceX + x, text.origin.y - sourceY + y};
        carried.push_back(moved);
    }
    if (rop == SRCCOPY) {
        auto& texts = to->texts;
        texts.erase(std::remove_if(texts.begin(), texts.end(),
                                   [&](const TextRecord& text) { return Inside(text.origin, targetRect); }),
                    texts.end());
    }

    int firstColumn = std::max({0, -x, -sourceX});
    int endColumn = std::min({width, dst.Width() - x, src.Width() - sourceX});
    int sourceBits = src.BitsPerPixel();
    int targetBits = dst.BitsPerPixel();
    COLORREF sourceKey = sourceDc->background & 0xFFFFFF;
    COLORREF zeroColour = targetDc->text & 0xFFFFFF;
    COLORREF oneColour = targetDc->background & 0xFFFFFF;
    auto apply = [rop](DWORD s, DWORD d) { return rop == SRCCOPY ? s : rop == SRCAND ? (s & d) : (s | d); };

    for (int row = 0; row < height && firstColumn < endColumn; ++row) {
        int ty = y + row;
        int sy = sourceY + row;
        if (ty < 0 || ty >= dst.Height() || sy < 0 || sy >= src.Height()) continue;
        if (sourceBits == targetBits && sourceBits >= 24) {
            int bytes = sourceBits / 8;
            const BYTE* in = src.Row(sy) + static_cast<size_t>(sourceX + firstColumn) * bytes;
            BYTE* out = dst.Row(ty) + static_cast<size_t>(x + firstColumn) * bytes;
            size_t count = static_cast<size_t>(endColumn - firstColumn) * bytes;
            if (rop == SRCCOPY) {
                std::memcpy(out, in, count);
            } else {
                for (size_t i = 0; i < count; ++i) out[i] = static_cast<BYTE>(apply(in[i], out[i]));
            }
            continue;
        }
        for (int column = firstColumn; column < endColumn; ++column) {
            int tx = x + column;
            int sx = sourceX + column;
            if (targetBits == 1) {
                DWORD bit = sourceBits == 1 ? static_cast<DWORD>(src.Index(sx, sy))
                            : to->dib       ? static_cast<DWORD>(dst.NearestIndex(src.Colour(sx, sy)))
                                            : (src.Colour(sx, sy) == sourceKey ? 1u : 0u);
                dst.SetIndex(tx, ty, static_cast<int>(apply(bit, static_cast<DWORD>(dst.Index(tx, ty))) & 1));
            } else {
                COLORREF colour = sourceBits == 1 && !from->dib ? (src.Index(sx, sy) ? oneColour : zeroColour)
                                                                : src.Colour(sx, sy);
                dst.SetColour(tx, ty, apply(colour, dst.Colour(tx, ty)) & 0xFFFFFF);
            }
        }
    }
    to->texts.insert(to->texts.end(), carried.begin(), carried.end());
    return TRUE;
}

COLORREF Gdi::GetPixel(HDC dc, int x, int y) {
    std::lock_guard<std::mutex> lock(mutex_);
    Bitmap* bitmap = Find<Dc>(dc) ? TargetOf(dc) : nullptr;
    if (bitmap == nullptr || !bitmap->pixels.Contains(x, y)) return CLR_INVALID;
    return bitmap->pixels.Colour(x, y);
}

void Gdi::Fill(Dc& dc, RECT rect, COLORREF colour) {
    Bitmap* bitmap = Find<Bitmap>(dc.surface ? dc.surface : dc.selected);
    if (bitmap == nullptr) return;
    auto& texts = bitmap->texts;
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [&](const TextRecord& text) { return Inside(text.origin, rect); }),
                texts.end());
    PixelBuffer& pixels = bitmap->pixels;
    int left = std::max<int>(rect.left, 0);
    int right = std::min<int>(rect.right, pixels.Width());
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, pixels.Height()); ++y) {
        for (int x = left; x < right; ++x) pixels.SetColour(x, y, colour & 0xFFFFFF);
    }
}

int Gdi::FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    Brush* fill = Find<Brush>(brush);
    if (found == nullptr || fill == nullptr || rect == nullptr) return 0;
    if (!fill->hollow) Fill(*found, *rect, fill->colour);
    return 1;
}

HBRUSH Gdi::CreateSolidBrush(COLORREF color) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto brush = std::make_unique<Brush>();
    brush->colour = color & 0xFFFFFF;
    return AddObject(std::move(brush));
}

BOOL Gdi::DrawStateA(HDC dc, HBRUSH, void*, LPARAM data, WPARAM, int x, int y, int cx, int cy, UINT flags) {
    if ((flags & 0xF) != DST_BITMAP) return FALSE;
    bool disabled = (flags & DSS_DISABLED) != 0;
    COLORREF highlight = kWhite;
    COLORREF shadow = RGB(128, 128, 128);
    if (disabled && platform::Current().user != nullptr) {
        highlight = platform::User().GetSysColor(COLOR_BTNHIGHLIGHT);
        shadow = platform::User().GetSysColor(COLOR_BTNSHADOW);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    Bitmap* image = Find<Bitmap>(reinterpret_cast<HBITMAP>(data));
    Bitmap* to = found ? TargetOf(dc) : nullptr;
    if (to == nullptr || image == nullptr) return FALSE;
    const PixelBuffer src = image->pixels;
    PixelBuffer& dst = to->pixels;
    int width = cx != 0 ? std::min(cx, src.Width()) : src.Width();
    int height = cy != 0 ? std::min(cy, src.Height()) : src.Height();
    auto put = [&dst](int px, int py, COLORREF colour) {
        if (dst.Contains(px, py)) dst.SetColour(px, py, colour & 0xFFFFFF);
    };
    // Disabled: every pixel that is not white is embossed, highlight below right, shadow on top.
    for (int pass = disabled ? 0 : 1; pass < 2; ++pass) {
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                COLORREF colour = src.Colour(column, row);
                if (!disabled) {
                    put(x + column, y + row, colour);
                } else if (colour != kWhite) {
                    put(x + column + (pass == 0 ? 1 : 0), y + row + (pass == 0 ? 1 : 0), pass == 0 ? highlight : shadow);
                }
            }
        }
    }
    return TRUE;
}

// --- Text ---

COLORREF Gdi::SetTextColor(HDC dc, COLORREF color) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    return found ? std::exchange(found->text, color) : CLR_INVALID;
}

COLORREF Gdi::SetBkColor(HDC dc, COLORREF color) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    return found ? std::exchange(found->background, color) : CLR_INVALID;
}

int Gdi::SetBkMode(HDC dc, int mode) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    if (found == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(found->bkMode, mode);
}

int Gdi::FontHeight(const Dc& dc) const {
    Font* font = Find<Font>(dc.font);
    return font ? font->height : 16;
}

// Text cells are FontHeight high and CharWidth wide per byte; an opaque background
// fills the cells with the background colour.
void Gdi::DrawLine(HDC handle, Dc& dc, int x, int y, const std::string& text) {
    if (text.empty()) return;
    Bitmap* bitmap = Find<Bitmap>(dc.surface ? dc.surface : dc.selected);
    if (bitmap == nullptr) return;
    int height = FontHeight(dc);
    if (dc.bkMode == OPAQUE) {
        Fill(dc, RECT{x, y, x + static_cast<LONG>(text.size()) * CharWidth(height), y + height}, dc.background);
    }
    bitmap->texts.push_back(TextRecord{text, POINT{x, y}, dc.text, dc.bkMode == TRANSPARENT, dc.font, handle});
}

BOOL Gdi::TextOutA(HDC dc, int x, int y, const char* text, int length) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    if (found == nullptr || text == nullptr || length < 0) return FALSE;
    DrawLine(dc, *found, x, y, std::string(text, static_cast<size_t>(length)));
    return TRUE;
}

int Gdi::DrawTextA(HDC dc, const char* text, int length, RECT* rect, UINT format) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    if (found == nullptr || text == nullptr || rect == nullptr) return 0;
    std::string content = length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
    int height = FontHeight(*found);
    int charWidth = CharWidth(height);
    int available = static_cast<int>(rect->right - rect->left);
    std::vector<std::string> lines = Lines(content, (format & DT_WORDBREAK) ? available : -1, charWidth);
    int total = static_cast<int>(lines.size()) * height;
    if (format & DT_CALCRECT) {
        size_t widest = 0;
        for (const std::string& line : lines) widest = std::max(widest, line.size());
        rect->right = rect->left + static_cast<LONG>(widest) * charWidth;
        rect->bottom = rect->top + total;
        return total;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        int lineWidth = static_cast<int>(lines[i].size()) * charWidth;
        int x = rect->left + ((format & DT_CENTER) ? (available - lineWidth) / 2 : 0);
        DrawLine(dc, *found, x, rect->top + static_cast<int>(i) * height, lines[i]);
    }
    return total;
}

BOOL Gdi::ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT length,
                      const int*) {
    std::lock_guard<std::mutex> lock(mutex_);
    Dc* found = Find<Dc>(dc);
    if (found == nullptr) return FALSE;
    if ((options & ETO_OPAQUE) && rect != nullptr) Fill(*found, Normalized(*rect), found->background);
    if (text != nullptr && length > 0) DrawLine(dc, *found, x, y, std::string(text, length));
    return TRUE;
}

// --- Regions ---

HRGN Gdi::CreateRectRgn(int left, int top, int right, int bottom) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ShouldFail("CreateRectRgn")) return nullptr;
    auto region = std::make_unique<Region>();
    region->shape = RegionShape::FromRects({Normalized(RECT{left, top, right, bottom})});
    return AddObject(std::move(region));
}

// Only untransformed rectangle lists are supported.
HRGN Gdi::ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ShouldFail("ExtCreateRegion") || transform != nullptr || data == nullptr ||
        size < sizeof(RGNDATAHEADER) || data->rdh.dwSize < sizeof(RGNDATAHEADER) ||
        data->rdh.iType != RDH_RECTANGLES ||
        size < data->rdh.dwSize + static_cast<uint64_t>(data->rdh.nCount) * sizeof(RECT)) {
        return nullptr;
    }
    std::vector<RECT> rects(data->rdh.nCount);
    if (!rects.empty()) {
        std::memcpy(rects.data(), reinterpret_cast<const BYTE*>(data) + data->rdh.dwSize, rects.size() * sizeof(RECT));
    }
    auto region = std::make_unique<Region>();
    region->shape = RegionShape::FromRects(std::move(rects));
    return AddObject(std::move(region));
}

int Gdi::CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    std::lock_guard<std::mutex> lock(mutex_);
    Region* target = Find<Region>(destination);
    Region* first = Find<Region>(source1);
    Region* second = Find<Region>(source2);
    if (ShouldFail("CombineRgn") || target == nullptr || first == nullptr ||
        (mode != RGN_COPY && second == nullptr)) {
        return RGN_ERROR;
    }
    switch (mode) {
    case RGN_COPY: target->shape = first->shape; break;
    case RGN_AND: target->shape = RegionShape::Combine(first->shape, second->shape, RegionShape::Op::And); break;
    case RGN_OR: target->shape = RegionShape::Combine(first->shape, second->shape, RegionShape::Op::Or); break;
    case RGN_XOR: target->shape = RegionShape::Combine(first->shape, second->shape, RegionShape::Op::Xor); break;
    case RGN_DIFF: target->shape = RegionShape::Combine(first->shape, second->shape, RegionShape::Op::Diff); break;
    default: return RGN_ERROR;
    }
    return Complexity(target->shape);
}

// Returns the size the data needs (as Wine does), or 0 when the buffer is too small.
DWORD Gdi::GetRegionData(HRGN region, DWORD size, RGNDATA* data) {
    std::lock_guard<std::mutex> lock(mutex_);
    Region* found = Find<Region>(region);
    if (found == nullptr) return 0;
    std::vector<RECT> rects = found->shape.Rects();
    DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (data == nullptr) return needed;
    if (size < needed) return 0;
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    header.rcBound = found->shape.Bounds();
    std::memcpy(data, &header, sizeof(header));
    if (!rects.empty()) {
        std::memcpy(reinterpret_cast<BYTE*>(data) + sizeof(header), rects.data(), rects.size() * sizeof(RECT));
    }
    return needed;
}

}  // namespace sim
