// A JACK server of the test's own: jackd with the dummy backend (no sound card) under a private
// name, which this process and the programs it starts find through JACK_DEFAULT_SERVER. Stopped
// by its process id at the end, and what it leaves in /dev/shm removed.
#pragma once

#include <jack/jack.h>
#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "tests/host/background_program.h"

namespace host_test {

inline void ignoreJackMessage(const char*) {}

class JackTestServer {
public:
    static constexpr uint32_t kSampleRate = 44100;
    // Long periods give the clients room: on a loaded machine, or one that does not grant
    // real-time scheduling, 256-frame periods left clients out of cycles now and then.
    static constexpr uint32_t kPeriod = 1024;

    JackTestServer() : serverName(uniqueName()) {
        // libjack reports every failed attempt to reach a server; the test says what matters.
        jack_set_error_function(ignoreJackMessage);
        jack_set_info_function(ignoreJackMessage);
        setenv("JACK_DEFAULT_SERVER", serverName.c_str(), 1);
        jackd = std::make_unique<BackgroundProgram>(
            "jackd", std::vector<std::string>{"-n", serverName, "-d", "dummy", "-r",
                                              std::to_string(kSampleRate), "-p",
                                              std::to_string(kPeriod)});
        ready = waitUntilReachable(std::chrono::seconds(15));
    }

    ~JackTestServer() {
        stop();
        removeSharedMemoryFiles();
    }

    JackTestServer(const JackTestServer&) = delete;
    JackTestServer& operator=(const JackTestServer&) = delete;

    bool reachable() const { return ready; }
    void stop() {
        jackd->signal(SIGTERM);
        if (jackd->waitForExit(std::chrono::seconds(5)) < 0) {
            jackd->signal(SIGKILL);
            jackd->waitForExit(std::chrono::seconds(5));
        }
    }
    const std::string& name() const { return serverName; }
    std::string log() const { return jackd->out() + jackd->err(); }

    // A name that no other server on this machine has: a test program runs one test at a time,
    // but several test programs may run at once.
    static std::string uniqueName() {
        static std::atomic<int> serial{0};
        return "kestrune-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
    }

private:
    // Polls with a client of our own rather than jack_wait: it also notices a jackd that died.
    bool waitUntilReachable(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline && jackd->running()) {
            jack_status_t status{};
            if (jack_client_t* client = jack_client_open("kestrune-test-wait", JackNoStartServer, &status)) {
                jack_client_close(client);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void removeSharedMemoryFiles() const {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
            if (entry.path().filename().string().find(serverName) != std::string::npos) {
                std::filesystem::remove_all(entry.path(), error);
            }
        }
    }

    std::string serverName;
    std::unique_ptr<BackgroundProgram> jackd;
    bool ready = false;
};

}  // namespace host_test
