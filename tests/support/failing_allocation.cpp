#include "tests/support/failing_allocation.h"

#include <cstdlib>
#include <new>

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

AllocationBudget::AllocationBudget(int succeeding) { allocationsLeft = succeeding; }

AllocationBudget::~AllocationBudget() { allocationsLeft = -1; }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrFail(size, false);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrFail(size, true);
}
