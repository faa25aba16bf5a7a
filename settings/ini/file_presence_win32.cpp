#include "settings/ini/file_presence.h"

#include <windows.h>

#include <mbctype.h>

#include <string>

namespace settings {

namespace {

// The code page narrow file names are in: UTF-8 when the runtime's locale uses it, otherwise the
// one the Windows file functions use.
UINT NarrowPathCodePage() {
    if (___lc_codepage_func() == CP_UTF8) {
        return CP_UTF8;
    }
    return AreFileApisANSI() ? CP_ACP : CP_OEMCP;
}

} // namespace

bool ToWidePath(const std::string& path, std::wstring& wide, unsigned long& error) {
    UINT codePage = NarrowPathCodePage();
    int narrowLength = static_cast<int>(path.size());
    int wideLength =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), narrowLength, nullptr, 0);
    if (wideLength <= 0 && !path.empty()) {
        error = GetLastError();
        return false;
    }
    wide.assign(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), narrowLength, wide.data(),
                        wideLength);
    return true;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

PresenceAnswer QueryPresence(const std::string& path) {
    std::wstring wide;
    unsigned long error = 0;
    if (!ToWidePath(path, wide, error)) {
        return {Presence::Unknown, static_cast<std::uint32_t>(error)};
    }

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        return {Presence::Present, 0};
    }
    auto queryError = static_cast<std::uint32_t>(GetLastError());
    return {PresenceForQueryError(queryError), queryError};
}

} // namespace settings
