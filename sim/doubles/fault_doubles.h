#pragma once
// Test doubles the extender puts into a plugin's import table before calling its load entry, to
// give it a documents folder of the test's choosing or to make a Windows call fail.
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

struct FaultPlan {
    std::optional<std::string> documents;         // SHGetFolderPathW yields this folder
    std::optional<std::int32_t> documentsFailure; // SHGetFolderPathW fails with this code
    // CreateThread on the game's thread (the sink starting a game load's worker): every call
    // fails, or the first N do and later ones run, or each thread handle it hands out is
    // duplicated and the duplicate never closed. Threads started on other threads are left alone.
    bool failCreateThread = false;
    std::uint32_t failCreateThreads = 0;
    bool leakThreadHandles = false;
    // The first malloc after the N-th 2000 ms Sleep (a settings worker's wait) has ended, on that
    // thread, returns null: the C++ runtime throws std::bad_alloc in the settings run.
    std::uint32_t failWorkerMalloc = 0;
    // The plugin's calls of the C runtime's allocating functions are counted from its load entry
    // on, and the N-th fails (0: none does); the worker's wait is cut short.
    std::optional<std::uint32_t> failAllocation;
    bool failLaterAllocations = false; // and every allocation after it
    // The calls of the walk of this name (call_walk.h) are counted from the load entry on, and the
    // failWalkCall-th and the failCount - 1 after it fail (0: none does; a failCount of 0: every
    // call from the failWalkCall-th on; none: 1); the worker's wait is cut short.
    std::optional<std::string> failWalk;
    std::uint32_t failWalkCall = 0;
    std::optional<std::uint32_t> failCount;
    // Every WriteFile call of the plugin to a .log file takes this much longer: its log's writes.
    std::uint32_t slowLogWritesMs = 0;
};

// Patches the plugin module's imports as the plan says. Records each patch; records an error and
// returns false when the plugin does not import a function the plan names.
bool InstallFaultDoubles(void* pluginModule, const FaultPlan& plan);

} // namespace sim
