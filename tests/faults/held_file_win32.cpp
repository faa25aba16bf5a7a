#include "tests/faults/held_file.h"

#include <windows.h>

namespace testing {

HeldFile::HeldFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = file == INVALID_HANDLE_VALUE ? nullptr : file;
}

HeldFile::~HeldFile() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
}

} // namespace testing
