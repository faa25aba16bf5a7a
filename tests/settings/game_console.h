#pragma once
// The game's console executor in this test program, placed where the simulated game build keeps it
// (sim/game/game_build.h): records the commands it receives.
#include <string>
#include <vector>

namespace testing {

// Every command received since the last call, in arrival order. Commands whose first argument was
// not the executor's context value are recorded as "<bad context>".
std::vector<std::string> TakeConsoleCommands();

} // namespace testing
