#include "settings/ini/profile.h"

#include "settings/diagnostics/key_match.h"
#include "settings/ini/ini.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace settings {

namespace {

// Room for the names of every section a settings file holds; on the heap, as the worker's stack
// is small. A list cut short may leave a name out, which holds a write back: never a wrong write.
constexpr DWORD kSectionNamesSize = 32 * 1024;

} // namespace

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

bool ProfileListsSection(const char* path, const char* section) {
    // No section name asks for the list of them: each name ended by a zero, the list by another.
    std::string names(kSectionNamesSize, '\0');
    DWORD length =
        GetPrivateProfileStringA(nullptr, nullptr, "", names.data(), kSectionNamesSize, path);
    std::string_view list(names.data(), length);
    while (!list.empty()) {
        std::string_view name = list.substr(0, list.find('\0'));
        if (SameName(name, section)) {
            return true;
        }
        list.remove_prefix(std::min(list.size(), name.size() + 1));
    }
    return false;
}

} // namespace settings
