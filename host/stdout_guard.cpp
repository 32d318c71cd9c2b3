#include "host/stdout_guard.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

StdoutGuard::StdoutGuard() {
    std::cout.flush();
    std::fflush(stdout);
    savedStdout = dup(STDOUT_FILENO);
    if (savedStdout >= 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
}

StdoutGuard::~StdoutGuard() {
    std::cout.flush();
    std::fflush(stdout);
    if (savedStdout >= 0) {
        dup2(savedStdout, STDOUT_FILENO);
        close(savedStdout);
    }
}
