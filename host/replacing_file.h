// A file written under a temporary name beside its target and renamed into place on commit, so
// that a failed write never leaves a half-written file or clobbers the old one.
#pragma once

#include <filesystem>

class ReplacingFile {
public:
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const std::filesystem::path& temporaryPath() const { return temporary; }
    const std::filesystem::path& targetPath() const { return target; }

    // Renames the temporary file to the target.
    void commit();

private:
    std::filesystem::path target;
    std::filesystem::path temporary;
    bool committed = false;
};
