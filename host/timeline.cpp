#include "host/timeline.h"

#include <algorithm>
#include <cmath>

int64_t frameAt(double seconds, double sampleRate) {
    return std::llround(seconds * sampleRate);
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
