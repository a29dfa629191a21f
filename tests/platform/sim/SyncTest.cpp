#include <gtest/gtest.h>

#include <thread>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace {

TEST(SimSync, NamedMutexExistsWhileAnyHandleIsOpen) {
    sim::Machine machine;
    auto& sync = platform::Sync();
    win::HANDLE first = sync.CreateMutexA(nullptr, win::TRUE, "Name");
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_SUCCESS);
    win::HANDLE second = sync.CreateMutexA(nullptr, win::TRUE, "Name");
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_ALREADY_EXISTS);
    win::HANDLE other = sync.CreateMutexA(nullptr, win::FALSE, "name");  // names are case-sensitive
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_SUCCESS);
    platform::Handles().CloseHandle(other);

    platform::Handles().CloseHandle(first);
    EXPECT_TRUE(machine.sync.Exists("Name"));
    platform::Handles().CloseHandle(second);
    EXPECT_FALSE(machine.sync.Exists("Name"));
    win::HANDLE again = sync.CreateMutexA(nullptr, win::TRUE, "Name");
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_SUCCESS);
    platform::Handles().CloseHandle(again);
}

TEST(SimSync, OnlyTheOwningThreadReleases) {
    sim::Machine machine;
    auto& sync = platform::Sync();
    win::HANDLE owned = sync.CreateMutexA(nullptr, win::TRUE, "Owned");
    win::HANDLE opened = sync.CreateMutexA(nullptr, win::TRUE, "Owned");  // no ownership for an existing name
    win::BOOL releasedElsewhere = win::TRUE;
    std::thread([&] { releasedElsewhere = sync.ReleaseMutex(owned); }).join();
    EXPECT_FALSE(releasedElsewhere);
    EXPECT_TRUE(sync.ReleaseMutex(opened));  // the same mutex, owned by this thread
    EXPECT_FALSE(sync.ReleaseMutex(owned));
    EXPECT_EQ(platform::Handles().GetLastError(), win::ERROR_NOT_OWNER);
    platform::Handles().CloseHandle(owned);
    platform::Handles().CloseHandle(opened);
}

}  // namespace
