// The process and thread behaviour the simulated kernel copies, checked on a real child.
#include <memory>

#include "platform/ProcessBehaviour.h"
#include "process/WineChild.h"

namespace {

using wine_child::Child;

TEST(ProcessBehaviourWine, SuspendCountsStackAndUnwind) {
    Child child;
    ASSERT_TRUE(child.Ready());
    process_behaviour::SuspendCountsStackAndUnwind(child.MainThreadId());
    EXPECT_EQ(child.SuspendCount(), 0u);
    EXPECT_TRUE(child.Responds());
}

TEST(ProcessBehaviourWine, PriorityClassesRoundTrip) {
    Child child;
    ASSERT_TRUE(child.Ready());
    process_behaviour::PriorityClassesRoundTrip(child.Id());
}

TEST(ProcessBehaviourWine, AffinityMasksRoundTrip) {
    Child child;
    ASSERT_TRUE(child.Ready());
    process_behaviour::AffinityMasksRoundTrip(child.Id());
}

TEST(ProcessBehaviourWine, ChildInheritsTheProcessorMask) {
    std::unique_ptr<Child> child;
    process_behaviour::ChildInheritsTheProcessorMask([&] {
        child = std::make_unique<Child>();
        return child->Ready() ? child->Id() : 0;
    });
}

TEST(ProcessBehaviourWine, ProcessTimesGiveTheCreationOrder) {
    Child child;
    ASSERT_TRUE(child.Ready());
    process_behaviour::ProcessTimesGiveTheCreationOrder(child.Id());
}

TEST(ProcessBehaviourWine, SnapshotsListTheProcessAndItsThreads) {
    Child child("threads 2");
    ASSERT_TRUE(child.Ready());
    process_behaviour::SnapshotsListTheProcessAndItsThreads(child.Id(), child.MainThreadId(), "kestrava_child.exe",
                                                            3);
}

}  // namespace
