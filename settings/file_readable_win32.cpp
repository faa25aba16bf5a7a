#include "settings/file_readable.h"

#include <windows.h>

namespace settings {

bool OpensForReading(const std::string& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open, just as for the profile functions.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

} // namespace settings
