// Counts the allocations of a stretch of code. Linking allocation_counter.cpp into a test
// program replaces the global operator new and delete with ones that count while asked to.
#pragma once

namespace allocation_counter {

void start();
// The number of allocations since `start`.
long stop();

}  // namespace allocation_counter
