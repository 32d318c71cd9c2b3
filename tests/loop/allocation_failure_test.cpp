// Construction when memory runs out: the host gets null, never a half-built effect.
#include <gtest/gtest.h>

#include "loop/loop_entry.h"
#include "tests/support/failing_allocation.h"
#include "tests/support/fake_host.h"

namespace {

TEST(AllocationFailure, MainAnswersNullWhenAnyPartCannotBeAllocated) {
    FakeHost host;
    // The effect itself, its program bank, its loop buffer.
    for (int succeeding = 0; succeeding < 3; ++succeeding) {
        AllocationBudget budget(succeeding);
        EXPECT_EQ(openLoopEffect(FakeHost::callback), nullptr) << succeeding;
    }
    AEffect* effect = openLoopEffect(FakeHost::callback);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
