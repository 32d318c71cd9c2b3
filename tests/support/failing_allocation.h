// Makes the non-throwing allocations of a test program fail on demand. Link
// failing_allocation.cpp into the program: it replaces the nothrow forms of operator new.
#pragma once

// While alive, lets `succeeding` more nothrow allocations through and fails every one after them.
class AllocationBudget {
public:
    explicit AllocationBudget(int succeeding);
    ~AllocationBudget();
    AllocationBudget(const AllocationBudget&) = delete;
    AllocationBudget& operator=(const AllocationBudget&) = delete;
};
