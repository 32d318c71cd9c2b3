// Construction when memory runs out: the host gets null, never a half-built effect.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "loop/loop_entry.h"
#include "tests/support/fake_host.h"

namespace {

// Counts down the non-throwing allocations that may still succeed; -1 lets all of them succeed.
int allocationsLeft = -1;

void* allocateOrFail(std::size_t size, bool array) {
    if (allocationsLeft == 0) {
        return nullptr;
    }
    if (allocationsLeft > 0) {
        --allocationsLeft;
    }
    try {
        return array ? ::operator new[](size) : ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrFail(size, false);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrFail(size, true);
}

namespace {

TEST(AllocationFailure, MainAnswersNullWhenAnyPartCannotBeAllocated) {
    FakeHost host;
    // The effect itself, its program bank, its loop buffer.
    for (int succeeding = 0; succeeding < 3; ++succeeding) {
        allocationsLeft = succeeding;
        EXPECT_EQ(openLoopEffect(FakeHost::callback), nullptr) << succeeding;
    }
    allocationsLeft = -1;
    AEffect* effect = openLoopEffect(FakeHost::callback);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
