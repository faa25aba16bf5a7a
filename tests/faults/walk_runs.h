#pragma once
// A walk of the plugin's calls: one run of the simulated game per counted call, each failing that
// call, a few runs side by side, each in a game folder of its own.
#include "tests/simulated_game/helmshroud_game.h"

#include <functional>
#include <string>
#include <vector>

namespace testing {

// How many calls the walk counted in a run that failed none, and on which threads.
struct WalkCount {
    unsigned calls = 0;
    std::string threads; // "extender 0, game 0, worker 19, other 0"
};
WalkCount CountedCalls(const SimulatorRun& run);

// Runs judge(call, game) for every call from 1 to calls, in a fresh game folder each; returns
// what each found wrong, indexed by call ("" when nothing was; index 0 unused).
std::vector<std::string>
EveryCall(unsigned calls, const std::function<std::string(unsigned, HelmshroudGame&)>& judge);

// "" when the run ended by itself: it started, did not hang or crash, the simulator flagged
// nothing (a sink result or time among others), the load entry returned and every one of the
// loads reached the sink.
std::string RunProblem(const SimulatorRun& run, std::size_t loads);

} // namespace testing
