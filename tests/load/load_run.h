#pragma once
// Many game loads in one run of the simulated game with the real plugin, and what such a run must
// show: one whole run of the settings routine per load, whole log lines, and the process holding
// no more handles or memory afterwards than before the first load.
#include <cstdint>

namespace testing {

struct LoadPlan {
    std::uint32_t loads = 500;
    std::uint32_t intervalMs = 5;
    unsigned timeoutMs = 120000; // for the whole simulator run
    // Threads the simulator starts and ends before it measures the starting level: at least the
    // workers alive at once (each lives 2000 ms, so 2000 / intervalMs, plus those queued for
    // their turn at the settings file).
    std::uint32_t warmUpThreads = 500;
};

// Runs the loads on a player's settings file and checks them; prints the run's figures (wall time,
// sink times, handles and memory before and after) to standard output.
void CheckManyLoads(const LoadPlan& plan);

} // namespace testing
