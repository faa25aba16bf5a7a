#include "settings/profile.h"

#include "settings/ini.h"

#include <windows.h>

namespace settings {

std::string ProfileRead(const char* path, const char* section, const char* key,
                        const char* defaultValue) {
    char value[kIniValueBufferSize] = {};
    GetPrivateProfileStringA(section, key, defaultValue, value, sizeof value, path);
    value[kIniValueBufferSize - 1] = '\0';
    return value;
}

bool ProfileWrite(const char* path, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

} // namespace settings
