// SIGINT and SIGTERM as requests to stop. They are blocked in the creating thread, and so in
// every thread started after it (the plug-in's, the audio server's), and taken by `wait` instead
// of a handler: the program stops in its own time, in its main thread.
#pragma once

#include <signal.h>

#include <chrono>

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that arrived within `timeout`, or 0.
    int wait(std::chrono::milliseconds timeout) const;

private:
    sigset_t stopping{};
    sigset_t previous{};
};
