#include "settings/file_readable.h"

#include <windows.h>

#include <string_view>

namespace settings {

namespace {

// Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open, just as for the profile functions.
HANDLE OpenForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool StartsWithUtf16Mark(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
}

} // namespace

bool OpensForReading(const std::string& path) {
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

bool HoldsNulOutsideUtf16(const std::string& path) {
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE) {
        return true;
    }
    bool holdsNul = false;
    bool first = true;
    std::string chunk(4096, '\0'); // on the heap: the settings worker's stack is small
    while (!holdsNul) {
        DWORD got = 0;
        // A read that fails (a range another program locked, an I/O error) leaves the answer
        // unknown, and an unknown file is left alone.
        if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
            holdsNul = true;
            break;
        }
        if (got == 0) {
            break;
        }
        std::string_view bytes(chunk.data(), got);
        if (first && StartsWithUtf16Mark(bytes)) {
            break;
        }
        first = false;
        holdsNul = bytes.find('\0') != std::string_view::npos;
    }
    CloseHandle(file);
    return holdsNul;
}

} // namespace settings
