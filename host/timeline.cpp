#include "host/timeline.h"

#include <algorithm>
#include <cmath>
#include <limits>

// A time too far off for a 64-bit frame number lies beyond the end of any render: it takes the
// last frame number, so that it sorts after every other message and never comes. (Rounding it
// with llround would answer an unspecified value, in practice the first frame.)
int64_t frameAt(double seconds, double sampleRate) {
    constexpr double kFarthest = 9.0e18;  // within int64_t, with room to spare
    const double frame = std::round(seconds * sampleRate);
    if (!(frame < kFarthest)) {
        return std::numeric_limits<int64_t>::max();
    }
    if (frame < -kFarthest) {
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(frame);
}

std::vector<ScheduledMessage> scheduleMessages(const std::vector<TimedMessage>& messages,
                                               double sampleRate) {
    std::vector<ScheduledMessage> scheduled;
    scheduled.reserve(messages.size());
    for (const TimedMessage& timed : messages) {
        scheduled.push_back({frameAt(timed.seconds, sampleRate), timed.message});
    }
    std::stable_sort(scheduled.begin(), scheduled.end(),
                     [](const ScheduledMessage& a, const ScheduledMessage& b) {
                         return a.frame < b.frame;
                     });
    return scheduled;
}
