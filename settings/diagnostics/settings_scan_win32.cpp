#include "settings/diagnostics/settings_scan.h"

#include <windows.h>

namespace settings {

namespace {

// Whatever the file's size, it is held a chunk at a time.
constexpr DWORD kChunkSize = 64 * 1024;

} // namespace

bool ScanSettingsFile(const std::string& path, SettingsScan& scan) {
    // Every kind of sharing, as the profile functions open it; no folder opens this way.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    SettingsScanner scanner;
    std::string chunk(kChunkSize, '\0'); // on the heap: the settings worker's stack is small
    bool whole = false;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), kChunkSize, &got, nullptr)) {
            break;
        }
        if (got == 0) {
            whole = true;
            break;
        }
        scanner.Feed(std::string_view(chunk.data(), got));
    }
    CloseHandle(file);
    if (whole) {
        scan = scanner.Finish();
    }
    return whole;
}

} // namespace settings
