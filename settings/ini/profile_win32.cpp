#include "settings/ini/profile.h"

#include "settings/ini/ini.h"
#include "settings/ini/wide_path.h"

#include <windows.h>

namespace settings {

std::string ProfileRead(const char* path, const char* section, const char* key,
                        const char* defaultValue) {
    char value[kIniValueBufferSize] = {};
    GetPrivateProfileStringA(section, key, defaultValue, value, sizeof value, path);
    value[kIniValueBufferSize - 1] = '\0';
    return value;
}

bool ProfileWrite(const char* path, const char* section, const char* key, const char* value,
                  std::uint32_t& error) {
    bool written = WritePrivateProfileStringA(section, key, value, path) != FALSE;
    error = GetLastError();
    return written;
}

ProfileFile::ProfileFile(const std::string& path) {
    std::wstring wide;
    unsigned long error = 0;
    if (!ToWidePath(path, wide, error)) {
        failure_.windowsError = error;
        return;
    }
    // The profile functions open the file so: Wine's PROFILE_Open shares every right, and
    // test_profile_existing of its conformance tests shows Windows reading a file others hold
    // open for writing.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure_.windowsError = GetLastError();
        failure_.folder = IsFolder(wide);
        return;
    }
    handle_ = file;
}

ProfileFile::~ProfileFile() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
    }
}

bool ProfileFile::Read(char* bytes, std::size_t size, std::size_t& got) {
    DWORD read = 0;
    if (!ReadFile(handle_, bytes, static_cast<DWORD>(size), &read, nullptr)) {
        failure_.windowsError = GetLastError();
        return false;
    }
    got = read;
    return true;
}

} // namespace settings
