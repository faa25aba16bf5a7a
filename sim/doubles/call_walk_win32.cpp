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
#include <string>
#include <type_traits>

namespace sim {

namespace {

// Plugin frames named in the record of a failed call, innermost first.
constexpr ULONG kRecordedFrames = 24;

// What a failed call of an import does, besides returning its null or FALSE.
struct Failure {
    int errnoValue;  // 0: errno is left alone
    DWORD lastError; // 0: the thread's last error is left alone
};

struct Walkable {
    const char* dll;
    const char* function;
    Failure failure;
};

// The imports a walk can count. A new one takes a line here and one in kReplacements below.
constexpr Walkable kWalkable[] = {
    {"msvcrt.dll", "malloc", {ENOMEM, 0}},  {"msvcrt.dll", "calloc", {ENOMEM, 0}},
    {"msvcrt.dll", "realloc", {ENOMEM, 0}}, {"msvcrt.dll", "_strdup", {ENOMEM, 0}},
    {"msvcrt.dll", "_wcsdup", {ENOMEM, 0}}, {"KERNEL32.dll", "WriteFile", {0, ERROR_DISK_FULL}},
};
constexpr std::size_t kWalkableCount = std::size(kWalkable);
constexpr std::size_t kAllocatingCount = 5; // the first entries above

void* g_originals[kWalkableCount] = {};
std::string g_what;
std::uint32_t g_failCall = 0;
bool g_failLaterCalls = false;
std::uintptr_t g_pluginBase = 0;
std::uintptr_t g_pluginEnd = 0;

std::atomic<std::uint32_t> g_calls{0};
std::atomic<std::uint32_t> g_extender{0};
std::atomic<std::uint32_t> g_game{0};
std::atomic<std::uint32_t> g_worker{0};
std::atomic<std::uint32_t> g_other{0};
thread_local bool t_worker = false;

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

enum class Outcome { Runs, FailsFirst, FailsLater };

// Counts the call and says whether it fails.
Outcome Count() {
    CountRole();
    std::uint32_t call = g_calls.fetch_add(1) + 1;
    if (g_failCall == 0 || call < g_failCall || (call > g_failCall && !g_failLaterCalls)) {
        return Outcome::Runs;
    }
    return call == g_failCall ? Outcome::FailsFirst : Outcome::FailsLater;
}

template <std::size_t Index, typename R, typename... Args> R Walked(Args... args) {
    Outcome outcome = Count();
    if (outcome == Outcome::Runs) {
        return reinterpret_cast<R (*)(Args...)>(g_originals[Index])(args...);
    }
    const Walkable& walkable = kWalkable[Index];
    if (outcome == Outcome::FailsFirst) {
        Record(Kind::Fault, g_what + " " + std::to_string(g_failCall) + ": " + walkable.function +
                                "(" + Arguments(args...) + ") on " + RoleName() + " fails" +
                                (g_failLaterCalls ? ", and every call after it" : "") +
                                "; plugin frames " + PluginFrames());
    }
    if (walkable.failure.errnoValue != 0) {
        errno = walkable.failure.errnoValue;
    }
    if (walkable.failure.lastError != 0) {
        SetLastError(walkable.failure.lastError);
    }
    return R{};
}

// In the order of kWalkable.
void* const kReplacements[kWalkableCount] = {
    reinterpret_cast<void*>(&Walked<0, void*, std::size_t>),
    reinterpret_cast<void*>(&Walked<1, void*, std::size_t, std::size_t>),
    reinterpret_cast<void*>(&Walked<2, void*, void*, std::size_t>),
    reinterpret_cast<void*>(&Walked<3, char*, const char*>),
    reinterpret_cast<void*>(&Walked<4, wchar_t*, const wchar_t*>),
    reinterpret_cast<void*>(&Walked<5, BOOL, HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED>),
};

std::string Named(const Walkable& walkable) {
    return std::string(walkable.dll) + "!" + walkable.function;
}

const Walkable* Find(const std::string& name, std::size_t& index) {
    for (index = 0; index < kWalkableCount; ++index) {
        if (Named(kWalkable[index]) == name) {
            return &kWalkable[index];
        }
    }
    return nullptr;
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

bool InstallCallWalk(void* pluginModule, const CallWalk& walk) {
    auto module = static_cast<HMODULE>(pluginModule);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(reinterpret_cast<std::uintptr_t>(module) +
                                                     static_cast<DWORD>(dos->e_lfanew));
    g_pluginBase = reinterpret_cast<std::uintptr_t>(module);
    g_pluginEnd = g_pluginBase + nt->OptionalHeader.SizeOfImage;
    g_what = walk.what;
    g_failCall = walk.failCall;
    g_failLaterCalls = walk.failLaterCalls;

    std::size_t patched = 0;
    for (const std::string& name : walk.functions) {
        std::size_t index = 0;
        const Walkable* walkable = Find(name, index);
        if (walkable == nullptr) {
            RecordError("no walk can count " + name);
            return false;
        }
        void* previous =
            PatchImport(module, walkable->dll, walkable->function, kReplacements[index]);
        if (previous == nullptr) {
            continue; // never called, so never counted
        }
        g_originals[index] = previous;
        ++patched;
        Record(Kind::Patch,
               std::string(walkable->function) + " from " + walkable->dll + ": counted in the " +
                   g_what + " walk" +
                   (g_failCall == 0 ? std::string(", none fails")
                                    : ", call " + std::to_string(g_failCall) +
                                          (g_failLaterCalls ? " on" : "") + " of the walk fails"));
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
