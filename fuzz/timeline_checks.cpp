#include "fuzz/timeline_checks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/timeline.h"

namespace {

constexpr double kSampleRates[] = {8000.0, 44100.0, 192000.0};

[[noreturn]] void fail(const char* source, const char* problem, double seconds) {
    std::fprintf(stderr, "%s: %s (message at %g s)\n", source, problem, seconds);
    std::abort();
}

}  // namespace

void checkTimedMessages(const std::vector<TimedMessage>& messages, const char* source) {
    for (const TimedMessage& timed : messages) {
        if (!std::isfinite(timed.seconds) || timed.seconds < 0.0) {
            fail(source, "a message has no time from 0 on", timed.seconds);
        }
        if (timed.message.status() < 0x80) {
            fail(source, "a message has no status byte", timed.seconds);
        }
    }
    for (const double rate : kSampleRates) {
        for (const ScheduledMessage& scheduled : scheduleMessages(messages, rate)) {
            if (scheduled.frame < 0) {
                fail(source, "a message lands before the first frame", -1.0);
            }
        }
    }
}
