#include "process/ExportTable.h"

#include <cstring>

#include "platform/Platform.h"

using namespace win;

namespace {

constexpr WORD kDosSignature = 0x5A4D;     // "MZ"
constexpr DWORD kNtSignature = 0x4550;     // "PE\0\0"
constexpr WORD kPe32PlusMagic = 0x20B;
constexpr DWORD kCodeSection = 0x20;       // IMAGE_SCN_CNT_CODE
constexpr DWORD kNoNextExport = 0x7FFFFFFF;
constexpr int64_t kNameIndexLimit = 0xFFFF;  // name indices are 16-bit
constexpr size_t kLibraryNameSize = 260;

WORD Word(const BYTE* at) {
    WORD value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

DWORD Dword(const BYTE* at) {
    DWORD value = 0;
    std::memcpy(&value, at, 4);
    return value;
}

// The export directory of a module image, as the walks read it.
struct Exports {
    const BYTE* image = nullptr;
    const BYTE* nt = nullptr;
    const BYTE* directory = nullptr;
    DWORD directorySize = 0;
    DWORD base = 0;
    DWORD functionCount = 0;
    DWORD nameCount = 0;
    const BYTE* functions = nullptr;
    const BYTE* names = nullptr;
    const BYTE* nameOrdinals = nullptr;

    DWORD Function(DWORD index) const { return Dword(functions + 4 * index); }
};

// False unless the image has the DOS and PE signatures and an export directory.
bool ReadExports(HMODULE module, Exports& exports) {
    const BYTE* image = static_cast<const BYTE*>(module);
    if (image == nullptr || Word(image) != kDosSignature) return false;
    const BYTE* nt = image + Dword(image + 0x3C);
    if (Dword(nt) != kNtSignature) return false;
    // The data directories follow the optional header's fixed part, which is longer in PE32+.
    const BYTE* exportEntry = nt + (Word(nt + 24) == kPe32PlusMagic ? 0x88 : 0x78);
    DWORD directoryRva = Dword(exportEntry);
    if (directoryRva == 0) return false;
    exports.image = image;
    exports.nt = nt;
    exports.directory = image + directoryRva;
    exports.directorySize = Dword(exportEntry + 4);
    exports.base = Dword(exports.directory + 16);
    exports.functionCount = Dword(exports.directory + 20);
    exports.nameCount = Dword(exports.directory + 24);
    exports.functions = image + Dword(exports.directory + 28);
    exports.names = image + Dword(exports.directory + 32);
    exports.nameOrdinals = image + Dword(exports.directory + 36);
    return true;
}

// Finds the code of an export, following a forwarder ("library.function") into its
// library, and hands the module that holds it and the address to use.
template <typename Result, typename Use>
Result WithExport(HMODULE module, int64_t ordinal, Result failure, Use use) {
    Exports exports;
    if (!ReadExports(module, exports)) return failure;
    if (ordinal < exports.base || ordinal - exports.base >= exports.functionCount) return failure;
    // An empty slot of the address table names no code: the loader finds nothing there either.
    DWORD rva = exports.Function(static_cast<DWORD>(ordinal - exports.base));
    if (rva == 0) return failure;
    const BYTE* address = exports.image + rva;
    if (address < exports.directory || address >= exports.directory + exports.directorySize) {
        return use(exports, address);
    }
    const char* text = reinterpret_cast<const char*>(address);
    const char* dot = std::strchr(text, '.');
    if (dot == nullptr || static_cast<size_t>(dot - text) >= kLibraryNameSize) return failure;
    char libraryName[kLibraryNameSize] = {};
    std::memcpy(libraryName, text, static_cast<size_t>(dot - text));
    auto& modules = platform::Modules();
    HMODULE library = modules.LoadLibraryA(libraryName);
    if (library == nullptr) return failure;
    Result result = WithExport(library, FindExportOrdinal(library, dot + 1), failure, use);
    modules.FreeLibrary(library);
    return result;
}

}  // namespace

int64_t FindExportOrdinal(HMODULE module, const char* name) {
    Exports exports;
    if (!ReadExports(module, exports) || exports.nameCount == 0) return -1;
    int64_t limit = exports.nameCount < kNameIndexLimit ? exports.nameCount : kNameIndexLimit;
    for (int64_t i = 0; i < limit; ++i) {
        const char* candidate = reinterpret_cast<const char*>(exports.image + Dword(exports.names + 4 * i));
        if (std::strcmp(candidate, name) == 0) return Word(exports.nameOrdinals + 2 * i) + int64_t{exports.base};
    }
    return -1;
}

const BYTE* GetExportAddress(HMODULE module, int64_t ordinal) {
    return WithExport(module, ordinal, static_cast<const BYTE*>(nullptr),
                      [](const Exports&, const BYTE* address) { return address; });
}

DWORD GetExportCodeLength(HMODULE module, int64_t ordinal) {
    return WithExport(module, ordinal, DWORD{0}, [](const Exports& exports, const BYTE* address) {
        DWORD rva = static_cast<DWORD>(address - exports.image);
        int32_t best = kNoNextExport;
        for (DWORD i = 0; i < exports.functionCount; ++i) {
            int32_t distance = static_cast<int32_t>(exports.Function(i) - rva);
            if (distance > 0 && distance <= best) best = distance;
        }
        if (best < static_cast<int32_t>(kNoNextExport)) return static_cast<DWORD>(best);
        // The highest export: up to the end of the code section that holds it.
        WORD sectionCount = Word(exports.nt + 6);
        const BYTE* section = exports.nt + 24 + Word(exports.nt + 20);
        for (WORD i = 0; i < sectionCount; ++i, section += 40) {
            DWORD size = Dword(section + 8);
            DWORD start = Dword(section + 12);
            if ((Dword(section + 36) & kCodeSection) && start <= rva && rva <= start + size) {
                return start + size - rva;
            }
        }
        return kNoNextExport;
    });
}

const BYTE* FindBytePattern(const BYTE* start, DWORD length, const BYTE* pattern, DWORD patternLength) {
    if (start == nullptr || pattern == nullptr || length == 0 || patternLength == 0 || length < patternLength) {
        return nullptr;
    }
    for (DWORD offset = 0; offset <= length - patternLength; ++offset) {
        if (std::memcmp(start + offset, pattern, patternLength) == 0) return start + offset;
    }
    return nullptr;
}
