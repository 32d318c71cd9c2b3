// A program started in the background for a test, its output and errors caught in files, so that
// the test can wait for a line, send it a signal and collect its exit status. It is killed if
// the test leaves it running.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/host/host_test_support.h"

namespace host_test {

class BackgroundProgram {
public:
    BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outFile().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errFile().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> texts{program};
        texts.insert(texts.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& text : texts) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);
        if (posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            child = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    ~BackgroundProgram() {
        if (running()) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
    }

    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    pid_t pid() const { return child; }
    bool running() { return !poll(); }
    std::string out() const { return readText(outFile()); }
    std::string err() const { return readText(errFile()); }

    // True once stdout holds `text`; false if the program ends or the time runs out first.
    bool waitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (out().find(text) != std::string::npos) {
                return true;
            }
            if (poll()) {
                return out().find(text) != std::string::npos;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void signal(int number) {
        if (running()) {
            kill(child, number);
        }
    }

    // The exit status (128 + signal for a program ended by a signal), or -1 when it is still
    // running after `timeout`.
    int waitForExit(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!poll() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return exited ? status : -1;
    }

private:
    // True once the program has ended.
    bool poll() {
        if (child <= 0 || exited) {
            return true;
        }
        int raw = 0;
        if (waitpid(child, &raw, WNOHANG) == child) {
            exited = true;
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        }
        return exited;
    }

    std::string outFile() const { return (folder / "stdout").string(); }
    std::string errFile() const { return (folder / "stderr").string(); }

    TempFolder folder;
    pid_t child = -1;
    bool exited = false;
    int status = -1;
};

}  // namespace host_test
