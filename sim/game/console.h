#pragma once
// The game's console command executor: records each command with the thread that sent it.
#include <cstdint>

namespace sim {

// The function placed at the executor's entry point: (context, command).
void ExecuteConsoleCommand(std::uint64_t context, const char* command);

// How long each command takes the executor.
void SetConsoleDelay(std::uint32_t milliseconds);

// The executor faults with an access violation on the command-th command it receives (0: never),
// after recording it.
void SetConsoleFault(std::uint32_t command);

} // namespace sim
