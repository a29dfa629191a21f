// The version information and manifest that the resource scripts give both programs,
// read back from the built files beside the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/win32/Win32.h"
#include "process/WineChild.h"

namespace {

struct Expected {
    const char* program;
    const char* description;
    const char* executionLevel;
};

const Expected kPrograms[] = {
    {"Vornel", "Kestrava 게임 부스터", "requireAdministrator"},
    {"Drainex", "Kestrava 메모리 정리 도우미", "asInvoker"},
};

std::string PathOf(const Expected& expected) {
    return wine_child::ProgramFolder() + "\\" + expected.program + ".exe";
}

class VersionBlock {
public:
    explicit VersionBlock(const std::string& path) {
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        data_.resize(size);
        if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, &data_[0])) data_.clear();
    }
    bool Loaded() const { return !data_.empty(); }
    std::string Text(const std::string& name) {
        void* value = nullptr;
        UINT length = 0;
        std::string key = "\\StringFileInfo\\041203b5\\" + name;
        if (!VerQueryValueA(&data_[0], key.c_str(), &value, &length) || length == 0) return "(none)";
        return static_cast<const char*>(value);
    }
    VS_FIXEDFILEINFO Fixed() {
        void* value = nullptr;
        UINT length = 0;
        VS_FIXEDFILEINFO fixed{};
        if (VerQueryValueA(&data_[0], "\\", &value, &length) && length == sizeof fixed) {
            fixed = *static_cast<VS_FIXEDFILEINFO*>(value);
        }
        return fixed;
    }
    std::string Translation() {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(&data_[0], "\\VarFileInfo\\Translation", &value, &length) || length != 4) return "";
        const WORD* pair = static_cast<const WORD*>(value);
        return std::to_string(pair[0]) + "/" + std::to_string(pair[1]);
    }

private:
    std::string data_;
};

std::string Manifest(const std::string& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return "";
    std::string text;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (loaded != nullptr) text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

TEST(ProgramResources, VersionInformationNamesTheProductInKorean) {
    for (const Expected& expected : kPrograms) {
        SCOPED_TRACE(expected.program);
        VersionBlock block(PathOf(expected));
        ASSERT_TRUE(block.Loaded());
        EXPECT_EQ(block.Text("ProductName"), "Kestrava");
        EXPECT_EQ(block.Text("FileDescription"), expected.description);
        EXPECT_EQ(block.Text("OriginalFilename"), std::string(expected.program) + ".exe");
        EXPECT_EQ(block.Translation(), "1042/949");
    }
}

TEST(ProgramResources, VersionComesFromTheBuild) {
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(std::sscanf(KESTRAVA_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
    for (const Expected& expected : kPrograms) {
        SCOPED_TRACE(expected.program);
        VersionBlock block(PathOf(expected));
        ASSERT_TRUE(block.Loaded());
        EXPECT_EQ(block.Text("FileVersion"), KESTRAVA_VERSION);
        EXPECT_EQ(block.Text("ProductVersion"), KESTRAVA_VERSION);
        VS_FIXEDFILEINFO fixed = block.Fixed();
        EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed.dwFileVersionMS, (major << 16) | minor);
        EXPECT_EQ(fixed.dwFileVersionLS, patch << 16);
        EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);
    }
}

TEST(ProgramResources, ManifestSetsTheExecutionLevelAndNoDpiAwareness) {
    for (const Expected& expected : kPrograms) {
        SCOPED_TRACE(expected.program);
        std::string manifest = Manifest(PathOf(expected));
        ASSERT_FALSE(manifest.empty());
        EXPECT_NE(manifest.find(std::string("level=\"") + expected.executionLevel + "\""), std::string::npos);
        EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
        EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    }
}

}  // namespace
