#include "sim/bench/doubles.h"

#include "sim/doubles/recorded_patch.h"
#include "sim/platform/platform.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace sim {

namespace {

using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using OpenStreamFunction = FILE*(__cdecl*)(const wchar_t*, const wchar_t*, int);
using CreateThreadFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE,
                                             LPVOID, DWORD, LPDWORD);

// What the plugin called before the timers were put in.
FolderPathFunction g_folderPath = nullptr;
OpenStreamFunction g_openStream = nullptr;
CreateThreadFunction g_createThread = nullptr;
std::atomic<std::int64_t> g_startUpTicks{0};

std::atomic<bool> g_holdWaits{false};
HANDLE g_releaseWaits = CreateEventA(nullptr, TRUE, FALSE, nullptr);

std::atomic<bool> g_timeThreads{false};
TimedStart g_timedStart;
HANDLE g_timedThread = nullptr;

HRESULT WINAPI TimedFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
    std::int64_t before = Ticks();
    HRESULT result = g_folderPath(owner, folder, token, flags, path);
    g_startUpTicks.fetch_add(Ticks() - before);
    return result;
}

FILE* __cdecl TimedOpenStream(const wchar_t* path, const wchar_t* mode, int share) {
    std::int64_t before = Ticks();
    FILE* stream = g_openStream(path, mode, share);
    g_startUpTicks.fetch_add(Ticks() - before);
    return stream;
}

HANDLE WINAPI TimedCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                                LPDWORD id) {
    std::int64_t before = Ticks();
    HANDLE thread = g_createThread(security, stackSize, routine, parameter, flags, id);
    g_startUpTicks.fetch_add(Ticks() - before);
    return thread;
}

VOID WINAPI BenchSleep(DWORD milliseconds) {
    if (milliseconds != kWorkerWaitMs) {
        Sleep(milliseconds);
        return;
    }
    if (g_holdWaits.load()) {
        WaitForSingleObject(g_releaseWaits, INFINITE);
    }
}

HANDLE WINAPI BenchCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                                LPDWORD id) {
    if (!g_timeThreads.load() || g_timedThread != nullptr) {
        return CreateThread(security, stackSize, routine, parameter, flags, id);
    }
    g_timedStart = {routine, parameter, -1};
    HANDLE thread = CreateThread(security, stackSize, &RunTimed, &g_timedStart, flags, id);
    HANDLE process = GetCurrentProcess();
    if (thread != nullptr && !DuplicateHandle(process, thread, process, &g_timedThread, 0, FALSE,
                                              DUPLICATE_SAME_ACCESS)) {
        g_timedThread = nullptr;
    }
    return thread;
}

} // namespace

unsigned long __stdcall RunTimed(void* timedStart) {
    auto* start = static_cast<TimedStart*>(timedStart);
    std::int64_t before = Ticks();
    unsigned long result = start->routine(start->parameter);
    start->ticks = Ticks() - before;
    return result;
}

bool InstallStartUpTimers(void* pluginModule) {
    auto module = static_cast<HMODULE>(pluginModule);
    g_folderPath = reinterpret_cast<FolderPathFunction>(
        PatchPluginImport(module, "SHELL32.dll", "SHGetFolderPathW",
                          reinterpret_cast<void*>(&TimedFolderPath), "timed by the benchmark"));
    g_openStream = reinterpret_cast<OpenStreamFunction>(
        PatchPluginImport(module, "msvcrt.dll", "_wfsopen",
                          reinterpret_cast<void*>(&TimedOpenStream), "timed by the benchmark"));
    g_createThread = reinterpret_cast<CreateThreadFunction>(
        PatchPluginImport(module, "KERNEL32.dll", "CreateThread",
                          reinterpret_cast<void*>(&TimedCreateThread), "timed by the benchmark"));
    return g_folderPath != nullptr && g_openStream != nullptr && g_createThread != nullptr;
}

double StartUpCallsMs() {
    return TicksToMs(g_startUpTicks.load());
}

bool InstallBenchDoubles(void* pluginModule) {
    auto module = static_cast<HMODULE>(pluginModule);
    bool ok =
        PatchPluginImport(module, "KERNEL32.dll", "Sleep", reinterpret_cast<void*>(&BenchSleep),
                          "the 2000 ms worker wait is held or skipped by the benchmark") != nullptr;
    return PatchPluginImport(module, "KERNEL32.dll", "CreateThread",
                             reinterpret_cast<void*>(&BenchCreateThread),
                             "the benchmark times the started routine when asked") != nullptr &&
           ok;
}

void HoldWorkerWaits() {
    ResetEvent(g_releaseWaits);
    g_holdWaits.store(true);
}

void SkipWorkerWaits() {
    g_holdWaits.store(false);
    SetEvent(g_releaseWaits);
}

void TimeStartedThreads(bool on) {
    g_timeThreads.store(on);
}

double WaitForTimedThread(std::uint32_t timeoutMs) {
    if (g_timedThread == nullptr) {
        return -1;
    }
    bool ended = WaitForSingleObject(g_timedThread, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        return -1; // the thread keeps its slot: no further thread is timed
    }
    CloseHandle(g_timedThread);
    g_timedThread = nullptr;
    return g_timedStart.ticks < 0 ? -1 : TicksToMs(g_timedStart.ticks);
}

} // namespace sim
