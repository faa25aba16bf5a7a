#pragma once
// Records the commands the game's console executor receives in this test program.
#include <string>
#include <vector>

namespace testing {

// Every command received since the last call, in arrival order. Commands whose first argument was
// not the executor's context value are recorded as "<bad context>".
std::vector<std::string> TakeConsoleCommands();

} // namespace testing
