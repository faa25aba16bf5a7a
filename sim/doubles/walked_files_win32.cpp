#include "sim/doubles/walked_files.h"

#include <windows.h>

namespace sim {

namespace {

// The last part of a path (all of it when it has none), in lower case.
std::wstring LowerLastPart(std::wstring_view path) {
    std::wstring name(path.substr(path.find_last_of(L"\\/") + 1));
    for (wchar_t& c : name) {
        c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    return name;
}

} // namespace

bool IsSettingsFile(std::wstring_view path) {
    std::wstring name = LowerLastPart(path);
    return name.ends_with(L".ini") || name.find(L".ini.") != std::wstring::npos;
}

bool IsLogFile(std::wstring_view path) {
    return LowerLastPart(path).ends_with(L".log");
}

std::wstring FileNameOf(void* handle) {
    wchar_t path[MAX_PATH + 1];
    DWORD length = GetFinalPathNameByHandleW(handle, path, MAX_PATH, FILE_NAME_NORMALIZED);
    return length > 0 && length <= MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::wstring AnsiToWide(std::string_view text) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

} // namespace sim
