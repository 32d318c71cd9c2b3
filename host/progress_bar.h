// A progress bar on stderr for renders that take more than a moment. It appears only when
// enabled (stderr is a terminal and --quiet was not given) and half a second has gone by.
#pragma once

#include <chrono>

class ProgressBar {
public:
    explicit ProgressBar(bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(double fractionDone);

    // True when stderr is a terminal.
    static bool stderrIsTerminal();

private:
    using Clock = std::chrono::steady_clock;

    void draw(double fractionDone);

    bool enabled;
    bool shown = false;
    Clock::time_point started = Clock::now();
    Clock::time_point lastDrawn;
};
