#include "host/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr auto kDelayBeforeShowing = std::chrono::milliseconds(500);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar(bool isEnabled) : enabled(isEnabled) {}

ProgressBar::~ProgressBar() {
    if (shown) {
        draw(1.0);
        std::fputc('\n', stderr);
    }
}

bool ProgressBar::stderrIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

void ProgressBar::update(double fractionDone) {
    if (!enabled) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (now - started < kDelayBeforeShowing || (shown && now - lastDrawn < kRedrawInterval)) {
        return;
    }
    draw(fractionDone);
    lastDrawn = now;
    shown = true;
}

void ProgressBar::draw(double fractionDone) {
    const double fraction = std::clamp(fractionDone, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kWidth);
    const std::string bar = std::string(static_cast<size_t>(filled), '#') +
                            std::string(static_cast<size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar.c_str(), static_cast<int>(fraction * 100.0));
    std::fflush(stderr);
}
