// The walk's doubles: each fails as Windows (or the C runtime) fails the call it replaces, and
// otherwise hands the call on to the plugin's own import.
#include "sim/doubles/walked_imports.h"

#include "sim/doubles/walked_files.h"
#include "sim/platform/text.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace sim {

namespace {

// The last error each failed Windows call leaves, the one a player's machine gives most often.
// The profile functions fail as on a file another program holds without sharing it (Wine's
// dlls/kernel32/tests/profile.c, test_profile_existing: the write fails with
// ERROR_SHARING_VIOLATION, the read copies its default and returns its length); opening fails
// alike; a read fails as on a range another program locked; a write and a flush as on a full
// disk; a move and a delete as on a file a virus scanner has open.
constexpr DWORD kProfileError = ERROR_SHARING_VIOLATION;
constexpr DWORD kOpenError = ERROR_SHARING_VIOLATION;
constexpr DWORD kReadError = ERROR_LOCK_VIOLATION;
constexpr DWORD kWriteError = ERROR_DISK_FULL;
constexpr DWORD kMoveError = ERROR_ACCESS_DENIED;

// --- how the arguments are shown ---

std::string Shown(std::wstring_view name) {
    std::size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring_view::npos) {
        name.remove_prefix(slash + 1);
    }
    int length = WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), text.data(), length,
                        nullptr, nullptr);
    return "\"" + text + "\"";
}

std::string Shown(const wchar_t* name) {
    return name == nullptr ? "null" : Shown(std::wstring_view(name));
}

std::string Shown(const char* text) {
    return text == nullptr ? "null" : "\"" + std::string(text) + "\"";
}

std::string ShownHandle(HANDLE handle) {
    std::wstring name = FileNameOf(handle);
    return Pointer(handle) + (name.empty() ? "" : " " + Shown(name));
}

template <typename T> std::string Argument(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return Pointer(value);
    } else {
        return std::to_string(value);
    }
}

template <typename... Args> std::string Arguments(Args... args) {
    std::string text;
    ((text += (text.empty() ? "" : ", ") + Argument(args)), ...);
    return text;
}

// Counts the call when the walk counts it; true, with the failure recorded, when it fails.
template <typename Describe>
bool Fails(bool counted, const char* function, DWORD lastError, const Describe& describe) {
    std::uint32_t call = FailingCall(counted);
    if (call != 0) {
        RecordFailure(call, function, lastError, describe());
    }
    return call != 0;
}

// --- the C runtime's allocating functions ---

template <Import Index, typename R, typename... Args> R WalkedAllocation(Args... args) {
    static constexpr const char* kNames[] = {"malloc", "calloc", "realloc", "_strdup", "_wcsdup"};
    if (Fails(true, kNames[Index], 0, [&] { return Arguments(args...); })) {
        errno = ENOMEM;
        return nullptr;
    }
    return Original<R (*)(Args...)>(Index)(args...);
}

// --- the profile functions ---

// What GetPrivateProfileStringA gives when it can't read the file: the default (its trailing
// blanks stripped, cut to the buffer) and its length (Microsoft's page; profile.c,
// test_GetPrivateProfileString and test_profile_existing).
DWORD DefaultCopied(const char* defaultValue, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::size_t length = defaultValue == nullptr ? 0 : std::strlen(defaultValue);
    while (length > 0 && defaultValue[length - 1] == ' ') {
        --length;
    }
    if (length > size - 1) {
        length = size - 1;
    }
    if (length > 0) {
        std::memcpy(buffer, defaultValue, length);
    }
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

DWORD WINAPI WalkedGetProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                    DWORD size, LPCSTR file) {
    if (!Fails(CountsName(file), "GetPrivateProfileStringA", kProfileError,
               [&] { return Shown(section) + ", " + Shown(key) + ", " + Shown(file); })) {
        return Original<decltype(&GetPrivateProfileStringA)>(kGetProfileString)(
            section, key, defaultValue, buffer, size, file);
    }
    DWORD copied = DefaultCopied(defaultValue, buffer, size);
    SetLastError(kProfileError);
    return copied;
}

BOOL WINAPI WalkedWriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    if (!Fails(CountsName(file), "WritePrivateProfileStringA", kProfileError, [&] {
            return Shown(section) + ", " + Shown(key) + ", " + Shown(value) + ", " + Shown(file);
        })) {
        return Original<decltype(&WritePrivateProfileStringA)>(kWriteProfileString)(section, key,
                                                                                    value, file);
    }
    SetLastError(kProfileError);
    return FALSE;
}

// --- the file functions ---

template <Import Index, typename Char>
HANDLE WINAPI WalkedCreateFile(const Char* name, DWORD access, DWORD share,
                               LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                               HANDLE templateFile) {
    using Function =
        HANDLE(WINAPI*)(const Char*, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    const char* function = Index == kCreateFileW ? "CreateFileW" : "CreateFileA";
    if (!Fails(CountsName(name), function, kOpenError, [&] {
            return Shown(name) + ", access " + Hex8(access) + ", disposition " +
                   std::to_string(disposition);
        })) {
        return Original<Function>(Index)(name, access, share, security, disposition, flags,
                                         templateFile);
    }
    SetLastError(kOpenError);
    return INVALID_HANDLE_VALUE;
}

// ReadFile and WriteFile set the count to zero before anything else (Microsoft's pages).
BOOL WINAPI WalkedReadFile(HANDLE file, LPVOID bytes, DWORD size, LPDWORD read,
                           LPOVERLAPPED overlapped) {
    if (!Fails(CountsHandle(file), "ReadFile", kReadError,
               [&] { return ShownHandle(file) + ", " + std::to_string(size); })) {
        return Original<decltype(&ReadFile)>(kReadFile)(file, bytes, size, read, overlapped);
    }
    if (read != nullptr) {
        *read = 0;
    }
    SetLastError(kReadError);
    return FALSE;
}

BOOL WINAPI WalkedWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped) {
    if (!Fails(CountsHandle(file), "WriteFile", kWriteError,
               [&] { return ShownHandle(file) + ", " + std::to_string(size); })) {
        return Original<decltype(&WriteFile)>(kWriteFile)(file, bytes, size, written, overlapped);
    }
    if (written != nullptr) {
        *written = 0;
    }
    SetLastError(kWriteError);
    return FALSE;
}

BOOL WINAPI WalkedFlushFileBuffers(HANDLE file) {
    if (!Fails(CountsHandle(file), "FlushFileBuffers", kWriteError,
               [&] { return ShownHandle(file); })) {
        return Original<decltype(&FlushFileBuffers)>(kFlushFileBuffers)(file);
    }
    SetLastError(kWriteError);
    return FALSE;
}

BOOL WINAPI WalkedMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (!Fails(CountsName(from) || CountsName(to), "MoveFileExW", kMoveError, [&] {
            return Shown(from) + ", " + Shown(to) + ", flags " + std::to_string(flags);
        })) {
        return Original<decltype(&MoveFileExW)>(kMoveFileExW)(from, to, flags);
    }
    SetLastError(kMoveError);
    return FALSE;
}

BOOL WINAPI WalkedDeleteFileW(LPCWSTR name) {
    if (!Fails(CountsName(name), "DeleteFileW", kMoveError, [&] { return Shown(name); })) {
        return Original<decltype(&DeleteFileW)>(kDeleteFileW)(name);
    }
    SetLastError(kMoveError);
    return FALSE;
}

template <typename F> void* Address(F function) {
    return reinterpret_cast<void*>(function);
}

} // namespace

const Walkable kWalkable[kImportCount] = {
    {"msvcrt.dll", "malloc", Address(&WalkedAllocation<kMalloc, void*, std::size_t>)},
    {"msvcrt.dll", "calloc", Address(&WalkedAllocation<kCalloc, void*, std::size_t, std::size_t>)},
    {"msvcrt.dll", "realloc", Address(&WalkedAllocation<kRealloc, void*, void*, std::size_t>)},
    {"msvcrt.dll", "_strdup", Address(&WalkedAllocation<kStrdup, char*, const char*>)},
    {"msvcrt.dll", "_wcsdup", Address(&WalkedAllocation<kWcsdup, wchar_t*, const wchar_t*>)},
    {"KERNEL32.dll", "GetPrivateProfileStringA", Address(&WalkedGetProfileString)},
    {"KERNEL32.dll", "WritePrivateProfileStringA", Address(&WalkedWriteProfileString)},
    {"KERNEL32.dll", "CreateFileW", Address(&WalkedCreateFile<kCreateFileW, wchar_t>)},
    {"KERNEL32.dll", "CreateFileA", Address(&WalkedCreateFile<kCreateFileA, char>)},
    {"KERNEL32.dll", "ReadFile", Address(&WalkedReadFile)},
    {"KERNEL32.dll", "WriteFile", Address(&WalkedWriteFile)},
    {"KERNEL32.dll", "FlushFileBuffers", Address(&WalkedFlushFileBuffers)},
    {"KERNEL32.dll", "MoveFileExW", Address(&WalkedMoveFileExW)},
    {"KERNEL32.dll", "DeleteFileW", Address(&WalkedDeleteFileW)},
};

} // namespace sim
