// An open libsndfile file, closed when it goes out of scope.
#pragma once

#include <sndfile.h>

#include <memory>

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;
