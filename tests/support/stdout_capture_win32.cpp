#include "tests/support/stdout_capture.h"

#include "tests/support/files.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>

namespace testing {

StdoutCapture::StdoutCapture() : path_(folder_ / "stdout.txt") {
    std::fflush(stdout);
    // Binary, so the file holds exactly the bytes the program wrote.
    file_ = _open(path_.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (file_ < 0) {
        return;
    }
    saved_ = _dup(1);
    _dup2(file_, 1);
}

StdoutCapture::~StdoutCapture() {
    Restore();
}

std::string StdoutCapture::Finish() {
    Restore();
    return ReadFileBytes(path_);
}

void StdoutCapture::Restore() {
    std::fflush(stdout);
    if (saved_ >= 0) {
        _dup2(saved_, 1);
        _close(saved_);
        saved_ = -1;
    }
    if (file_ >= 0) {
        _close(file_);
        file_ = -1;
    }
}

} // namespace testing
