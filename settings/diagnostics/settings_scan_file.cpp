#include "settings/diagnostics/settings_scan.h"

namespace settings {

namespace {

// Whatever the file's size, it is held a chunk at a time.
constexpr std::size_t kChunkSize = 64 * 1024;

} // namespace

bool ScanSettingsFile(const std::string& path, SettingsScan& scan, FileFailure& failure) {
    ProfileFile file(path);
    std::string chunk(kChunkSize, '\0'); // on the heap: the settings worker's stack is small
    SettingsScanner scanner;
    std::size_t got = 0;
    while (file.Open() && file.Read(chunk.data(), kChunkSize, got)) {
        if (got == 0) {
            scan = scanner.Finish();
            return true;
        }
        scanner.Feed(std::string_view(chunk.data(), got));
    }
    failure = file.Failure();
    return false;
}

} // namespace settings
