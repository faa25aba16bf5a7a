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

// The game ends its process, as a crash ends it, inside the command-th command it receives (0:
// never).
void SetConsoleEnd(std::uint32_t command);

// The exit code of a game that ends its process so, inside a command or after a load.
inline constexpr std::uint32_t kGameEndedExitCode = 0xE9D;

} // namespace sim
