// Keeps standard output clean while a plug-in is loaded: whatever the plug-in prints goes to
// stderr, so that `info --json` writes nothing but JSON to stdout.
#pragma once

#include <string>

class StdoutGuard {
public:
    StdoutGuard();
    ~StdoutGuard();
    StdoutGuard(const StdoutGuard&) = delete;
    StdoutGuard& operator=(const StdoutGuard&) = delete;

private:
    int savedStdout;
};
