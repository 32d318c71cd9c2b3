#include "host/stop_signals.h"

#include <pthread.h>

#include <ctime>

StopSignals::StopSignals() {
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGINT);
    sigaddset(&stopping, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopping, &previous);
}

StopSignals::~StopSignals() {
    // A second Ctrl-C still pending would end the program by signal once unblocked: take it.
    const timespec none{};
    while (sigtimedwait(&stopping, nullptr, &none) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

int StopSignals::wait(std::chrono::milliseconds timeout) const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    timespec wait{};
    wait.tv_sec = seconds.count();
    wait.tv_nsec = std::chrono::nanoseconds(timeout - seconds).count();
    const int signal = sigtimedwait(&stopping, nullptr, &wait);
    return signal > 0 ? signal : 0;
}
