#pragma once
// The game's console command executor.

namespace host {

// Runs one console command in the game. Returns false, and runs nothing, when the game module is
// not loaded in this process.
bool RunConsoleCommand(const char* command);

} // namespace host
