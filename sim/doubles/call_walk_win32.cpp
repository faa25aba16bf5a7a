#include "sim/doubles/call_walk.h"

#include "sim/doubles/import_patch.h"
#include "sim/doubles/recorded_patch.h"
#include "sim/platform/text.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace sim {

namespace {

// Plugin frames named in the record of a failed call, innermost first.
constexpr ULONG kRecordedFrames = 24;

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

// Every import a walk can count, in the order of kWalkable.
enum Import : std::size_t {
    kMalloc,
    kCalloc,
    kRealloc,
    kStrdup,
    kWcsdup,
    kGetProfileString,
    kWriteProfileString,
    kCreateFileW,
    kCreateFileA,
    kReadFile,
    kWriteFile,
    kFlushFileBuffers,
    kMoveFileExW,
    kDeleteFileW,
    kImportCount
};
constexpr std::size_t kAllocatingCount = kGetProfileString; // the entries before it

void* g_originals[kImportCount] = {};
std::string g_what;
WalkedFiles g_files = WalkedFiles::Any;
std::uint32_t g_failCall = 0;
std::uint32_t g_failCount = 1;
std::uintptr_t g_pluginBase = 0;
std::uintptr_t g_pluginEnd = 0;

std::atomic<std::uint32_t> g_calls{0};
std::atomic<std::uint32_t> g_extender{0};
std::atomic<std::uint32_t> g_game{0};
std::atomic<std::uint32_t> g_worker{0};
std::atomic<std::uint32_t> g_other{0};
thread_local bool t_worker = false;

template <typename F> F Original(Import import) {
    return reinterpret_cast<F>(g_originals[import]);
}

const char* RoleName() {
    switch (CurrentSource()) {
    case Source::Korv:
        return "the extender's thread";
    case Source::Game:
        return "the game's thread";
    default:
        return t_worker ? "a worker thread" : "another thread";
    }
}

void CountRole() {
    switch (CurrentSource()) {
    case Source::Korv:
        ++g_extender;
        break;
    case Source::Game:
        ++g_game;
        break;
    default:
        ++(t_worker ? g_worker : g_other);
        break;
    }
}

// The plugin's return addresses on this thread's stack, as module offsets.
std::string PluginFrames() {
    void* frames[kRecordedFrames] = {};
    USHORT count = RtlCaptureStackBackTrace(2, kRecordedFrames, frames, nullptr);
    std::string text;
    for (USHORT i = 0; i < count; ++i) {
        auto address = reinterpret_cast<std::uintptr_t>(frames[i]);
        if (address >= g_pluginBase && address < g_pluginEnd) {
            text += (text.empty() ? "" : " ") + Hex(address - g_pluginBase);
        }
    }
    return text.empty() ? "none" : text;
}

// Counts the call when the walk counts it, and says whether it fails; a failing call is
// recorded, its arguments as describe() gives them.
template <typename Describe>
bool Fails(bool counted, const char* function, DWORD lastError, const Describe& describe) {
    if (!counted) {
        return false;
    }
    CountRole();
    std::uint32_t call = g_calls.fetch_add(1) + 1;
    bool fails = g_failCall != 0 && call >= g_failCall &&
                 (g_failCount == 0 || call - g_failCall < g_failCount);
    if (fails && (g_failCount != 0 || call == g_failCall)) {
        Record(Kind::Fault,
               g_what + " " + std::to_string(call) + ": " + function + "(" + describe() + ") on " +
                   RoleName() + " fails" +
                   (lastError != 0 ? ", last error " + std::to_string(lastError) : std::string()) +
                   (g_failCount == 0 ? ", and every call after it" : "") + "; plugin frames " +
                   PluginFrames());
    }
    return fails;
}

// --- which calls a walk counts ---

bool EndsWith(std::wstring_view name, std::wstring_view end) {
    if (name.size() < end.size()) {
        return false;
    }
    std::wstring_view tail = name.substr(name.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        wchar_t c = tail[i];
        if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != end[i]) {
            return false;
        }
    }
    return true;
}

bool Walked(std::wstring_view name) {
    switch (g_files) {
    case WalkedFiles::Settings:
        return EndsWith(name, L".ini") || EndsWith(name, L".ini.helmshroud-new");
    case WalkedFiles::Log:
        return EndsWith(name, L".log");
    case WalkedFiles::Any:
        break;
    }
    return true;
}

std::wstring Wide(const char* text) {
    if (text == nullptr) {
        return {};
    }
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

// The name of the file a handle is open on; empty for a handle that is no file's.
std::wstring FileNameOf(HANDLE handle) {
    wchar_t path[MAX_PATH + 1];
    DWORD length = GetFinalPathNameByHandleW(handle, path, MAX_PATH, FILE_NAME_NORMALIZED);
    return length > 0 && length <= MAX_PATH ? std::wstring(path, length) : std::wstring();
}

bool CountsName(const wchar_t* name) {
    return g_files == WalkedFiles::Any || (name != nullptr && Walked(name));
}

bool CountsName(const char* name) {
    return g_files == WalkedFiles::Any || (name != nullptr && Walked(Wide(name)));
}

bool CountsHandle(HANDLE handle) {
    return g_files == WalkedFiles::Any || Walked(FileNameOf(handle));
}

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

// --- the C runtime's allocating functions ---

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

struct Walkable {
    const char* dll;
    const char* function;
    void* replacement;
};

template <typename F> void* Address(F function) {
    return reinterpret_cast<void*>(function);
}

// In the order of Import.
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

std::string Named(const Walkable& walkable) {
    return std::string(walkable.dll) + "!" + walkable.function;
}

const Walkable* Find(const std::string& name, std::size_t& index) {
    for (index = 0; index < kImportCount; ++index) {
        if (Named(kWalkable[index]) == name) {
            return &kWalkable[index];
        }
    }
    return nullptr;
}

std::vector<std::string> NamesOf(std::initializer_list<Import> imports) {
    std::vector<std::string> names;
    for (Import import : imports) {
        names.push_back(Named(kWalkable[import]));
    }
    return names;
}

const char* FilesText(WalkedFiles files) {
    switch (files) {
    case WalkedFiles::Settings:
        return " on .ini and .ini.helmshroud-new files";
    case WalkedFiles::Log:
        return " on .log files";
    case WalkedFiles::Any:
        break;
    }
    return "";
}

std::string FailText() {
    if (g_failCall == 0) {
        return ", none fails";
    }
    std::string call = ", call " + std::to_string(g_failCall);
    if (g_failCount == 0) {
        return call + " on of the walk fails";
    }
    if (g_failCount == 1) {
        return call + " of the walk fails";
    }
    return call + " and the " + std::to_string(g_failCount - 1) + " after it fail";
}

std::uint32_t g_shortWaitMs = 0;

VOID WINAPI ShortenedSleep(DWORD ms) {
    if (ms == kWorkerWaitMs) {
        t_worker = true;
        ms = g_shortWaitMs;
    }
    Sleep(ms);
}

} // namespace

std::vector<std::string> WalkableImports() {
    std::vector<std::string> names;
    for (const Walkable& walkable : kWalkable) {
        names.push_back(Named(walkable));
    }
    return names;
}

std::vector<std::string> AllocatingImports() {
    std::vector<std::string> names = WalkableImports();
    names.resize(kAllocatingCount);
    return names;
}

bool NamedWalk(const std::string& name, CallWalk& walk) {
    walk.what = name;
    if (name == "profile") {
        walk.functions = NamesOf({kGetProfileString, kWriteProfileString});
        walk.files = WalkedFiles::Any;
    } else if (name == "rewrite") {
        walk.functions = NamesOf({kCreateFileW, kCreateFileA, kReadFile, kWriteFile,
                                  kFlushFileBuffers, kMoveFileExW, kDeleteFileW});
        walk.files = WalkedFiles::Settings;
    } else if (name == "log-writes") {
        walk.functions = NamesOf({kWriteFile});
        walk.files = WalkedFiles::Log;
    } else {
        return false;
    }
    return true;
}

bool InstallCallWalk(void* pluginModule, const CallWalk& walk) {
    auto module = static_cast<HMODULE>(pluginModule);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(reinterpret_cast<std::uintptr_t>(module) +
                                                     static_cast<DWORD>(dos->e_lfanew));
    g_pluginBase = reinterpret_cast<std::uintptr_t>(module);
    g_pluginEnd = g_pluginBase + nt->OptionalHeader.SizeOfImage;
    g_what = walk.what;
    g_files = walk.files;
    g_failCall = walk.failCall;
    g_failCount = walk.failCount;

    std::size_t patched = 0;
    for (const std::string& name : walk.functions) {
        std::size_t index = 0;
        const Walkable* walkable = Find(name, index);
        if (walkable == nullptr) {
            RecordError("no walk can count " + name);
            return false;
        }
        void* previous =
            PatchImport(module, walkable->dll, walkable->function, walkable->replacement);
        if (previous == nullptr) {
            continue; // never called, so never counted
        }
        g_originals[index] = previous;
        ++patched;
        Record(Kind::Patch, std::string(walkable->function) + " from " + walkable->dll +
                                FilesText(g_files) + ": counted in the " + g_what + " walk" +
                                FailText());
    }
    if (patched == 0) {
        RecordError("the plugin imports none of the " + g_what + " walk's functions");
        return false;
    }
    return true;
}

bool ShortenWorkerWaits(void* pluginModule, std::uint32_t ms) {
    g_shortWaitMs = ms;
    return PatchPluginImport(static_cast<HMODULE>(pluginModule), "KERNEL32.dll", "Sleep",
                             reinterpret_cast<void*>(&ShortenedSleep),
                             "the 2000 ms worker wait takes " + std::to_string(ms) + " ms") !=
           nullptr;
}

WalkTally WalkedCalls() {
    return {g_calls.load(), g_extender.load(), g_game.load(), g_worker.load(), g_other.load()};
}

} // namespace sim
