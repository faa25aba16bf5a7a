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
    bool failCreateThread = false;                // CreateThread fails
    std::uint32_t createThreadFailures = 0; // CreateThread's first N calls fail, later ones run
    bool leakThreadHandles = false; // each thread handle CreateThread hands out is duplicated and
                                    // the duplicate never closed
    // The first malloc after the N-th 2000 ms Sleep (a settings worker's wait) has ended, on that
    // thread, returns null: the C++ runtime throws std::bad_alloc in the settings run.
    std::uint32_t failWorkerMalloc = 0;
};

// Patches the plugin module's imports as the plan says. Records each patch; records an error and
// returns false when the plugin does not import a function the plan names.
bool InstallFaultDoubles(void* pluginModule, const FaultPlan& plan);

} // namespace sim
