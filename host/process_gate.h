// Keeps the audio thread out of the plug-in while a control thread changes its settings
// (switching it off, new sample rate or block size, switching it on), without the audio thread
// ever waiting: while the gate is shut it skips the plug-in and plays silence.
//
// The audio thread marks itself busy and then looks at the gate; the control thread shuts the
// gate and then waits until the audio thread is not busy. With sequentially consistent atomics
// at least one of them sees the other's store, so the plug-in is never in both threads at once.
#pragma once

#include <atomic>
#include <thread>

class ProcessGate {
public:
    // Audio thread: true when it may run the plug-in; then `leave` when done.
    bool enter() {
        busy.store(true);
        if (shut.load()) {
            busy.store(false);
            return false;
        }
        return true;
    }
    void leave() { busy.store(false); }

    // Control thread: returns once no block is in the plug-in and none will enter until `open`.
    // Called from the audio thread itself (between blocks, as some servers do), it returns at once.
    void close() {
        shut.store(true);
        while (busy.load()) {
            std::this_thread::yield();
        }
    }
    void open() { shut.store(false); }

private:
    std::atomic<bool> busy{false};
    std::atomic<bool> shut{false};
};
