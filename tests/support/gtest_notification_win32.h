// GoogleTest builds its Notification on std::mutex, which g++ 12's win32 thread model lacks.
// GoogleTest uses it only to start threads in its own thread tests; an atomic flag serves there.
// Force-included ahead of GoogleTest's headers in the Windows builds.
#pragma once

#include <atomic>

namespace testing::internal {

class Notification {
public:
    void Notify() { notified.store(true, std::memory_order_release); }
    void WaitForNotification() {
        while (!notified.load(std::memory_order_acquire)) {
        }
    }

private:
    std::atomic<bool> notified{false};
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
