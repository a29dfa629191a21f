// The start-up's library search restriction on the real loader. It lasts for the life of
// a process, so it is checked in a child of the test program (a death test) and the
// other tests keep the ordinary search.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/LibrarySearch.h"
#include "process/WineChild.h"

namespace {

constexpr const char* kBesideLibrary = "kestrava_beside.dll";
// A system library that nothing of the test program has loaded yet.
constexpr const char* kSystemLibrary = "mpr.dll";

int Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    return 1;
}

// Exit code 0 when the library beside the program is found by name before the
// restriction and not after it, while a system library still loads.
int SearchAroundTheRestriction() {
    HMODULE before = LoadLibraryA(kBesideLibrary);
    if (before == nullptr) return Fail("the library beside the program was not found before the restriction");
    FreeLibrary(before);
    if (GetModuleHandleA(kBesideLibrary) != nullptr) return Fail("the library beside the program stayed loaded");

    platform::RestrictLibrarySearch();
    if (LoadLibraryA(kBesideLibrary) != nullptr) return Fail("the library beside the program loaded after the restriction");
    if (LoadLibraryA(kSystemLibrary) == nullptr) return Fail("the system library did not load after the restriction");
    return 0;
}

TEST(LibrarySearchWine, OnlySystemLibrariesLoadByNameAfterStartUp) {
    const std::string beside = wine_child::ProgramFolder() + "\\" + kBesideLibrary;
    ASSERT_NE(GetFileAttributesA(beside.c_str()), INVALID_FILE_ATTRIBUTES) << "the test library belongs at " << beside;
    ASSERT_EQ(GetModuleHandleA(kSystemLibrary), nullptr) << kSystemLibrary << " is loaded already";
    EXPECT_EXIT(std::exit(SearchAroundTheRestriction()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
