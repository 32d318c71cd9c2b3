// The one kind of failure the host reports to its user: a message that names the file and says
// what is wrong with it. The command line prints it on stderr and exits with status 2.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    HostError(const std::filesystem::path& file, const std::string& problem)
        : std::runtime_error(file.string() + ": " + problem) {}
};
