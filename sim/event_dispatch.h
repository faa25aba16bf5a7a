#pragma once
// The game's load-game events: a dedicated game thread runs the game loads and calls every
// registered sink for each, timing each call.
#include <cstdint>

namespace sim {

struct GameLoadPlan {
    std::uint32_t loads = 1;
    std::uint32_t intervalMs = 10;
    std::uint32_t slowSinkMs = 100; // a longer sink call is recorded as an error
};

// Runs the loads on a new game thread and returns when it has finished.
void RunGameLoads(const GameLoadPlan& plan);

} // namespace sim
