#pragma once
// Test doubles the benchmark puts into the plugin's import table. Before its load entry:
//   SHGetFolderPathW, _wfsopen, CreateThread  pass through (to Windows' function, or to the
//                fault double put in before them) and add up the time spent in them;
// once it has loaded:
//   Sleep        the worker's 2000 ms wait is held until the sink phase has ended, or skipped so
//                that the settings routine can be timed alone; every other wait passes through;
//   CreateThread passes through, or starts the routine through a trampoline that times it on the
//                new thread, from its first to its last instruction.
// No double records anything per call: they run inside what is measured.
#include <cstdint>

namespace sim {

// Records the patches; records an error and returns false when the plugin lacks an import.
bool InstallStartUpTimers(void* pluginModule);

// Time spent in the plugin's SHGetFolderPathW, _wfsopen and CreateThread so far, in ms.
double StartUpCallsMs();

// Records the patches; records an error and returns false when the plugin lacks an import.
bool InstallBenchDoubles(void* pluginModule);

// Workers that reach their 2000 ms wait stay there until SkipWorkerWaits.
void HoldWorkerWaits();
// The 2000 ms wait returns at once, and held workers go on.
void SkipWorkerWaits();

// Whether CreateThread starts its routine through the timing trampoline. One timed thread at a
// time: wait for each before the next is started.
void TimeStartedThreads(bool on);

// Waits for the thread last started through the timing trampoline to end. Its routine's duration
// in ms, or a negative value when none was started or it did not end within timeoutMs.
double WaitForTimedThread(std::uint32_t timeoutMs);

// The trampoline, for threads the benchmark starts itself: runs the routine of a TimedStart and
// stores how long it took.
using ThreadRoutine = unsigned long(__stdcall*)(void* parameter);
struct TimedStart {
    ThreadRoutine routine = nullptr;
    void* parameter = nullptr;
    std::int64_t ticks = -1; // set when the routine has returned
};
unsigned long __stdcall RunTimed(void* timedStart);

} // namespace sim
