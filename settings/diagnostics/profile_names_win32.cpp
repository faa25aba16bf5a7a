#include "settings/diagnostics/profile_names.h"

#include <windows.h>

namespace settings {

namespace {

// On the heap: the settings worker's stack is small.
std::string NameBuffer(std::size_t size) {
    return std::string(size, '\0');
}

} // namespace

NameList ProfileKeyNames(const char* path, const char* section) {
    std::string buffer = NameBuffer(kKeyNamesBufferSize);
    DWORD returned = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                              static_cast<DWORD>(buffer.size()), path);
    return SplitNameList(buffer.data(), returned, buffer.size());
}

NameList ProfileSectionNames(const char* path) {
    std::string buffer = NameBuffer(kSectionNamesBufferSize);
    DWORD returned =
        GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path);
    return SplitNameList(buffer.data(), returned, buffer.size());
}

} // namespace settings
