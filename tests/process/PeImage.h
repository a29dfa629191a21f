// Builds small module images laid out as loaded (file offset = RVA) for the
// export-table walks: one code section and an export directory in a data section.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testing_pe {

class PeImage {
public:
    static constexpr uint32_t kCodeRva = 0x1000;
    static constexpr uint32_t kExportRva = 0x3000;

    PeImage& Base(uint32_t base) { base_ = base; return *this; }
    PeImage& CodeSize(uint32_t size) { codeSize_ = size; return *this; }
    // An export by name (empty: by ordinal only) at a code address.
    PeImage& Add(const std::string& name, uint32_t rva) { exports_.push_back({name, rva, ""}); return *this; }
    // A forwarded export whose "library.function" text is stored in the directory.
    PeImage& Forward(const std::string& name, const std::string& text) { exports_.push_back({name, 0, text}); return *this; }
    PeImage& Pe32Plus(bool wide) { wide_ = wide; return *this; }

    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> image(kExportRva + 0x1000, 0);
        auto put16 = [&](uint32_t at, uint32_t v) { uint16_t w = static_cast<uint16_t>(v); std::memcpy(&image[at], &w, 2); };
        auto put32 = [&](uint32_t at, uint32_t v) { std::memcpy(&image[at], &v, 4); };
        const uint32_t nt = 0x80;
        const uint32_t optionalSize = wide_ ? 0xF0 : 0xE0;
        put16(0, 0x5A4D);
        put32(0x3C, nt);
        put32(nt, 0x4550);
        put16(nt + 6, 2);              // sections
        put16(nt + 20, optionalSize);
        put16(nt + 24, wide_ ? 0x20B : 0x10B);
        uint32_t directory = nt + (wide_ ? 0x88 : 0x78);
        uint32_t sections = nt + 24 + optionalSize;
        // .text: code; .edata: initialised data holding the export directory
        put32(sections + 8, codeSize_);
        put32(sections + 12, kCodeRva);
        put32(sections + 36, 0x60000020);
        put32(sections + 40 + 8, 0x1000);
        put32(sections + 40 + 12, kExportRva);
        put32(sections + 40 + 36, 0x40000040);

        uint32_t count = static_cast<uint32_t>(exports_.size());
        uint32_t named = 0;
        for (const Export& e : exports_) named += e.name.empty() ? 0 : 1;
        uint32_t functions = kExportRva + 40;
        uint32_t names = functions + 4 * count;
        uint32_t ordinals = names + 4 * named;
        uint32_t text = ordinals + 2 * named;
        auto putText = [&](const std::string& s) {
            uint32_t at = text;
            std::memcpy(&image[at], s.c_str(), s.size() + 1);
            text += static_cast<uint32_t>(s.size()) + 1;
            return at;
        };
        uint32_t nameIndex = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const Export& e = exports_[i];
            put32(functions + 4 * i, e.forwarder.empty() ? e.rva : putText(e.forwarder));
            if (e.name.empty()) continue;
            put32(names + 4 * nameIndex, putText(e.name));
            put16(ordinals + 2 * nameIndex, i);
            ++nameIndex;
        }
        put32(kExportRva + 16, base_);
        put32(kExportRva + 20, count);
        put32(kExportRva + 24, named);
        put32(kExportRva + 28, functions);
        put32(kExportRva + 32, names);
        put32(kExportRva + 36, ordinals);
        put32(directory, kExportRva);
        put32(directory + 4, text - kExportRva);
        return image;
    }

private:
    struct Export {
        std::string name;
        uint32_t rva;
        std::string forwarder;
    };
    uint32_t base_ = 1;
    uint32_t codeSize_ = 0x800;
    bool wide_ = sizeof(void*) == 8;
    std::vector<Export> exports_;
};

}  // namespace testing_pe
