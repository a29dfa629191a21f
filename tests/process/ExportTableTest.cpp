#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "sim/Machine.h"
#include "process/ExportTable.h"
#include "process/PeImage.h"

namespace {

using testing_pe::PeImage;

const win::BYTE* Load(sim::Machine& machine, const char* name, const PeImage& image) {
    machine.modules.AddModule(name, image.Build());
    return static_cast<const win::BYTE*>(platform::Modules().GetModuleHandleA(name));
}

TEST(ExportTable, ResolvesNamedAndUnnamedExportsInBothHeaderLayouts) {
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "PE32+" : "PE32");
        sim::Machine machine;
        PeImage image;
        image.Pe32Plus(wide).Base(5).Add("Alpha", 0x1000).Add("", 0x1010).Add("Beta", 0x1020).Add("Empty", 0);
        const win::BYTE* module = Load(machine, "lib.dll", image);
        void* handle = const_cast<win::BYTE*>(module);

        EXPECT_EQ(FindExportOrdinal(handle, "Alpha"), 5);
        EXPECT_EQ(FindExportOrdinal(handle, "Beta"), 7);
        EXPECT_EQ(FindExportOrdinal(handle, "beta"), -1);  // names compare case-sensitively
        EXPECT_EQ(FindExportOrdinal(handle, "Alph"), -1);
        EXPECT_EQ(GetExportAddress(handle, 5), module + 0x1000);
        EXPECT_EQ(GetExportAddress(handle, 6), module + 0x1010);
        EXPECT_EQ(GetExportAddress(handle, 7), module + 0x1020);
        EXPECT_EQ(GetExportAddress(handle, 4), nullptr);  // below Base
        EXPECT_EQ(GetExportAddress(handle, 8), nullptr);  // an empty slot, not the image base
        EXPECT_EQ(GetExportCodeLength(handle, 8), 0u);
        EXPECT_EQ(GetExportAddress(handle, 9), nullptr);  // past the last function
        EXPECT_EQ(GetExportAddress(handle, -1), nullptr);
    }
}

TEST(ExportTable, RefusesImagesWithoutSignaturesAndDirectoriesWithoutNames) {
    sim::Machine machine;
    std::vector<win::BYTE> noMz = PeImage().Add("Alpha", 0x1000).Build();
    noMz[0] = 'N';
    machine.modules.AddModule("nomz.dll", noMz);
    std::vector<win::BYTE> noPe = PeImage().Add("Alpha", 0x1000).Build();
    noPe[0x81] = 'X';
    machine.modules.AddModule("nope.dll", noPe);
    auto& modules = platform::Modules();
    for (const char* name : {"nomz.dll", "nope.dll", "kernel32.dll"}) {
        SCOPED_TRACE(name);
        win::HMODULE module = modules.GetModuleHandleA(name);
        EXPECT_EQ(FindExportOrdinal(module, "Alpha"), -1);
        EXPECT_EQ(GetExportAddress(module, 1), nullptr);
        EXPECT_EQ(GetExportCodeLength(module, 1), 0u);
    }

    const win::BYTE* unnamed = Load(machine, "unnamed.dll", PeImage().Add("", 0x1000).Add("", 0x1008));
    void* handle = const_cast<win::BYTE*>(unnamed);
    EXPECT_EQ(FindExportOrdinal(handle, ""), -1);
    EXPECT_EQ(GetExportAddress(handle, 2), unnamed + 0x1008);  // still reachable by ordinal
}

TEST(ExportTable, FollowsForwardersIntoTheirLibrary) {
    sim::Machine machine;
    const win::BYTE* target =
        Load(machine, "target.dll", PeImage().Add("Other", 0x1000).Add("Real", 0x1040).Add("Next", 0x1060));
    PeImage host;
    host.Add("Local", 0x1000)
        .Forward("Moved", "target.Real")
        .Forward("NoDot", "targetReal")
        .Forward("Lost", "missing.Real")
        .Forward("Gone", "target.Absent");
    void* module = const_cast<win::BYTE*>(Load(machine, "host.dll", host));

    EXPECT_EQ(GetExportAddress(module, FindExportOrdinal(module, "Moved")), target + 0x1040);
    EXPECT_EQ(GetExportCodeLength(module, FindExportOrdinal(module, "Moved")), 0x20u);
    for (const char* name : {"NoDot", "Lost", "Gone"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(GetExportAddress(module, FindExportOrdinal(module, name)), nullptr);
        EXPECT_EQ(GetExportCodeLength(module, FindExportOrdinal(module, name)), 0u);
    }
    EXPECT_EQ(machine.modules.LoadCount("target.dll"), 0);  // every library reference is released
}

TEST(ExportTable, CodeLengthReachesTheNextExportOrTheEndOfTheCodeSection) {
    sim::Machine machine;
    PeImage image;
    image.CodeSize(0x800).Add("A", 0x1000).Add("C", 0x1030).Add("B", 0x1010).Add("AliasOfB", 0x1010);
    void* module = const_cast<win::BYTE*>(Load(machine, "code.dll", image));
    EXPECT_EQ(GetExportCodeLength(module, FindExportOrdinal(module, "A")), 0x10u);
    EXPECT_EQ(GetExportCodeLength(module, FindExportOrdinal(module, "B")), 0x20u);  // an alias is not "next"
    EXPECT_EQ(GetExportCodeLength(module, FindExportOrdinal(module, "C")), 0x1800u - 0x1030u);
    EXPECT_EQ(GetExportCodeLength(module, 99), 0u);

    // The highest export outside every code section has no bound.
    void* stray = const_cast<win::BYTE*>(
        Load(machine, "stray.dll", PeImage().CodeSize(0x100).Add("In", 0x1000).Add("Out", 0x2000)));
    EXPECT_EQ(GetExportCodeLength(stray, FindExportOrdinal(stray, "Out")), 0x7FFFFFFFu);
    EXPECT_EQ(GetExportCodeLength(stray, FindExportOrdinal(stray, "In")), 0x1000u);
}

TEST(ExportTable, BytePatternSearchStaysInsideItsRange) {
    const win::BYTE pattern[] = {0xB9, 0, 0, 0, 0};
    const win::BYTE code[] = {0x90, 0xB9, 0, 0, 0, 0, 0xB9, 0, 0, 0, 0};
    EXPECT_EQ(FindBytePattern(code, sizeof code, pattern, 5), code + 1);  // the first of two matches
    EXPECT_EQ(FindBytePattern(code + 1, 5, pattern, 5), code + 1);        // length = pattern: one candidate
    EXPECT_EQ(FindBytePattern(code + 1, 4, pattern, 5), nullptr);         // one byte short: none
    EXPECT_EQ(FindBytePattern(code + 2, 9, pattern, 5), code + 6);        // match at the last candidate
    EXPECT_EQ(FindBytePattern(code + 2, 8, pattern, 5), nullptr);
    EXPECT_EQ(FindBytePattern(nullptr, 5, pattern, 5), nullptr);
    EXPECT_EQ(FindBytePattern(code, 0, pattern, 0), nullptr);
    EXPECT_EQ(FindBytePattern(code, sizeof code, pattern, 0), nullptr);
}

}  // namespace
