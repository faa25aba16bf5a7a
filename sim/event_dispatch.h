#pragma once
// The game's load-game events: a dedicated game thread runs the game loads and calls every
// registered sink for each, timing each call.
#include <cstdint>
#include <functional>
#include <vector>

namespace sim {

struct GameLoadPlan {
    std::uint32_t loads = 1;
    std::uint32_t intervalMs = 10;
    std::uint32_t slowSinkMs = 1000; // a longer sink call is recorded as an error
};

// Runs the loads on a new game thread and returns when it has finished.
void RunGameLoads(const GameLoadPlan& plan);

// One game load, on the calling thread (which should be the game thread): calls every registered
// sink and records each call. Returns each call's duration in milliseconds, in registration order.
std::vector<double> RunGameLoad(std::uint32_t load, std::uint32_t loads, std::uint32_t slowSinkMs);

// Runs work on a new thread that plays the game thread, and returns when it has finished.
void RunOnGameThread(const std::function<void()>& work);

} // namespace sim
