#include "host/replacing_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "host/host_error.h"

namespace {

std::filesystem::path folderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// mkstemp makes the file private; give it the permissions a newly created file would get.
void applyUsualPermissions(int descriptor) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, static_cast<mode_t>(0666 & ~mask));
}

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path targetFile) : target(std::move(targetFile)) {
    const std::filesystem::path folder = folderOf(target);
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        throw HostError(target, std::string("cannot write in ") + folder.string() + ": " +
                                    std::strerror(errno));
    }
    applyUsualPermissions(descriptor);
    close(descriptor);
    temporary = name.data();
}

ReplacingFile::~ReplacingFile() {
    if (!committed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
}

void ReplacingFile::commit() {
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        throw HostError(target, "cannot put the file in place: " + error.message());
    }
    committed = true;
}
