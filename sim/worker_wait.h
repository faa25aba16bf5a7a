#pragma once
// After the last game load: the simulator waits for the plugin's workers to do their job.
#include <cstdint>
#include <optional>

namespace sim {

struct WaitPlan {
    std::uint32_t waitMs = 3000;
    // When set, the wait ends early once this many console commands have arrived and the process
    // is back to the threads it had before the game loads.
    std::optional<std::uint32_t> expectCommands;
    std::uint32_t threadsBeforeLoads = 0;
};

// Records how the wait ended, and an error when the expected commands did not all arrive.
void WaitForWorkers(const WaitPlan& plan);

} // namespace sim
