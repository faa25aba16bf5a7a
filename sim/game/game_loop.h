#pragma once
// The game loop as whoever drives the game sees it (the command line's game loads in main.cpp, or
// the benchmark): game loads run on a game thread, each calling every registered sink and timing
// the call; then a wait for the plugin's workers; and what has arrived at the game so far. The
// game knows nothing of who drives it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sim {

struct GameLoadPlan {
    std::uint32_t loads = 1;
    std::uint32_t intervalMs = 10;
    std::uint32_t slowSinkMs = 1000; // a longer sink call is recorded as an error
    // When set, the game ends its process, as a crash ends it, this long after the first load's
    // sinks returned.
    std::uint32_t endAfterFirstMs = 0;
};

// Runs the loads on a new game thread and returns when it has finished.
void RunGameLoads(const GameLoadPlan& plan);

// One game load, on the calling thread (which should be the game thread): calls every registered
// sink and records each call. Returns each call's duration in milliseconds, in registration order.
std::vector<double> RunGameLoad(std::uint32_t load, std::uint32_t loads, std::uint32_t slowSinkMs);

// Runs work on a new thread that plays the game thread, and returns when it has finished.
void RunOnGameThread(const std::function<void()>& work);

struct WaitPlan {
    std::uint32_t waitMs = 3000;
    // When set, the wait ends early once this many console commands have arrived and the process
    // is back to the threads it had before the game loads.
    std::optional<std::uint32_t> expectCommands;
    std::uint32_t threadsBeforeLoads = 0;
};

// After the game loads: waits for the plugin's workers to do their job. Records how the wait
// ended, and an error when the expected commands did not all arrive.
void WaitForWorkers(const WaitPlan& plan);

// Console commands received so far, whatever their context.
std::uint32_t ConsoleCommandCount();

// Sink registrations so far; a sink registered twice counts twice.
std::size_t RegisteredSinkCount();

} // namespace sim
