#include "sim/doubles/call_walk.h"

#include "sim/doubles/import_patch.h"
#include "sim/doubles/recorded_patch.h"
#include "sim/doubles/walked_files.h"
#include "sim/doubles/walked_imports.h"
#include "sim/platform/text.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript.h"

#include <atomic>
#include <span>

namespace sim {

namespace {

// Plugin frames named in the record of a failed call, innermost first.
constexpr ULONG kRecordedFrames = 24;

// The worker's 2000 ms wait in a walk: long enough for the game's load to have returned, short
// enough for hundreds of runs.
constexpr DWORD kWalkWorkerWaitMs = 20;

struct Walk {
    const char* name;
    std::span<const Import> imports;
    bool (*counts)(std::wstring_view file); // the files whose calls it counts; null: every call
    const char* files;                      // how its patches' records name those files
};

constexpr Import kAllocating[] = {kMalloc, kCalloc, kRealloc, kStrdup, kWcsdup};
constexpr Import kProfile[] = {kGetProfileString, kWriteProfileString};
constexpr Import kRewrite[] = {kCreateFileW,      kCreateFileA, kReadFile,   kWriteFile,
                               kFlushFileBuffers, kMoveFileExW, kDeleteFileW};
constexpr Import kLogWrites[] = {kWriteFile};

const Walk kWalks[] = {
    {"allocation", kAllocating, nullptr, ""},
    {"profile", kProfile, nullptr, ""},
    {"rewrite", kRewrite, &IsSettingsFile, " on .ini and .ini.helmshroud-new files"},
    {"log-writes", kLogWrites, &IsLogFile, " on .log files"},
};

// The walk of this run. Set while the plugin's imports are patched, before its load entry runs
// and so before any thread of the plugin's; from then on only the counts change.
struct WalkState {
    const Walk* walk = nullptr;
    std::uint32_t failCall = 0;
    std::uint32_t failCount = 1;
    HMODULE plugin = nullptr;
    void* originals[kImportCount] = {};
    std::atomic<std::uint32_t> calls{0};
    std::atomic<std::uint32_t> extender{0};
    std::atomic<std::uint32_t> game{0};
    std::atomic<std::uint32_t> worker{0};
    std::atomic<std::uint32_t> other{0};
};

WalkState g_walk;

// Set on a thread once it has made the worker's wait: from then on it counts as a worker. A mark
// of each thread's own, so not part of the walk's state.
thread_local bool t_worker = false;

// The calling thread's role: how a failure's record names it, and its count.
struct Role {
    const char* name;
    std::atomic<std::uint32_t>& calls;
};

Role CurrentRole() {
    switch (CurrentSource()) {
    case Source::Korv:
        return {"the extender's thread", g_walk.extender};
    case Source::Game:
        return {"the game's thread", g_walk.game};
    default:
        return t_worker ? Role{"a worker thread", g_walk.worker}
                        : Role{"another thread", g_walk.other};
    }
}

// The plugin's return addresses on this thread's stack, as module offsets.
std::string PluginFrames() {
    auto base = reinterpret_cast<std::uintptr_t>(g_walk.plugin);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(g_walk.plugin);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(base + static_cast<DWORD>(dos->e_lfanew));
    std::uintptr_t end = base + nt->OptionalHeader.SizeOfImage;
    void* frames[kRecordedFrames] = {};
    USHORT count = RtlCaptureStackBackTrace(2, kRecordedFrames, frames, nullptr);
    std::string text;
    for (USHORT i = 0; i < count; ++i) {
        auto address = reinterpret_cast<std::uintptr_t>(frames[i]);
        if (address >= base && address < end) {
            text += (text.empty() ? "" : " ") + Hex(address - base);
        }
    }
    return text.empty() ? "none" : text;
}

std::string FailText() {
    if (g_walk.failCall == 0) {
        return ", none fails";
    }
    std::string call = ", call " + std::to_string(g_walk.failCall);
    if (g_walk.failCount == 0) {
        return call + " on of the walk fails";
    }
    if (g_walk.failCount == 1) {
        return call + " of the walk fails";
    }
    return call + " and the " + std::to_string(g_walk.failCount - 1) + " after it fail";
}

VOID WINAPI ShortenedSleep(DWORD ms) {
    if (ms == kWorkerWaitMs) {
        t_worker = true;
        ms = kWalkWorkerWaitMs;
    }
    Sleep(ms);
}

} // namespace

void* OriginalImport(Import import) {
    return g_walk.originals[import];
}

bool CountsName(const wchar_t* name) {
    return g_walk.walk->counts == nullptr || (name != nullptr && g_walk.walk->counts(name));
}

bool CountsName(const char* name) {
    return g_walk.walk->counts == nullptr ||
           (name != nullptr && g_walk.walk->counts(AnsiToWide(name)));
}

bool CountsHandle(HANDLE file) {
    return g_walk.walk->counts == nullptr || g_walk.walk->counts(FileNameOf(file));
}

std::uint32_t FailingCall(bool counted) {
    if (!counted) {
        return 0;
    }
    ++CurrentRole().calls;
    std::uint32_t call = g_walk.calls.fetch_add(1) + 1;
    bool fails = g_walk.failCall != 0 && call >= g_walk.failCall &&
                 (g_walk.failCount == 0 || call - g_walk.failCall < g_walk.failCount);
    return fails ? call : 0;
}

void RecordFailure(std::uint32_t call, const char* function, DWORD lastError,
                   const std::string& arguments) {
    if (g_walk.failCount == 0 && call != g_walk.failCall) {
        return;
    }
    Record(Kind::Fault,
           std::string(g_walk.walk->name) + " " + std::to_string(call) + ": " + function + "(" +
               arguments + ") on " + CurrentRole().name + " fails" +
               (lastError != 0 ? ", last error " + std::to_string(lastError) : std::string()) +
               (g_walk.failCount == 0 ? ", and every call after it" : "") + "; plugin frames " +
               PluginFrames());
}

bool InstallCallWalk(void* pluginModule, const CallWalk& walk) {
    for (const Walk& known : kWalks) {
        if (walk.name == known.name) {
            g_walk.walk = &known;
        }
    }
    if (g_walk.walk == nullptr) {
        RecordError("there is no " + walk.name + " walk");
        return false;
    }
    g_walk.plugin = static_cast<HMODULE>(pluginModule);
    g_walk.failCall = walk.failCall;
    g_walk.failCount = walk.failCount;

    std::size_t patched = 0;
    for (Import import : g_walk.walk->imports) {
        const Walkable& walkable = kWalkable[import];
        void* previous =
            PatchImport(g_walk.plugin, walkable.dll, walkable.function, walkable.replacement);
        if (previous == nullptr) {
            continue; // never called, so never counted
        }
        g_walk.originals[import] = previous;
        ++patched;
        Record(Kind::Patch, std::string(walkable.function) + " from " + walkable.dll +
                                g_walk.walk->files + ": counted in the " + walk.name + " walk" +
                                FailText());
    }
    if (patched == 0) {
        RecordError("the plugin imports none of the " + walk.name + " walk's functions");
        return false;
    }
    return PatchPluginImport(g_walk.plugin, "KERNEL32.dll", "Sleep",
                             reinterpret_cast<void*>(&ShortenedSleep),
                             "the 2000 ms worker wait takes " + std::to_string(kWalkWorkerWaitMs) +
                                 " ms") != nullptr;
}

WalkTally WalkedCalls() {
    return {g_walk.calls.load(), g_walk.extender.load(), g_walk.game.load(), g_walk.worker.load(),
            g_walk.other.load()};
}

} // namespace sim
