#include "settings/file_presence.h"

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

PresenceAnswer QueryPresence(const std::string& path) {
    UINT codePage = NarrowPathCodePage();
    int narrowLength = static_cast<int>(path.size());
    int wideLength =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), narrowLength, nullptr, 0);
    if (wideLength <= 0 && !path.empty()) {
        return {Presence::Unknown, static_cast<std::uint32_t>(GetLastError())};
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), narrowLength, wide.data(),
                        wideLength);

    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        return {Presence::Present, 0};
    }
    auto error = static_cast<std::uint32_t>(GetLastError());
    return {PresenceForQueryError(error), error};
}

} // namespace settings
