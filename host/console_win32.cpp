#include "host/console.h"

#include "host/game_build.h"

#include <windows.h>

#include <cstdint>

namespace host {

namespace {
// The game's executor: (context, zero-terminated command). Its result is not used.
using ConsoleExecutor = void (*)(std::uint64_t context, const char* command);
} // namespace

bool RunConsoleCommand(const char* command) {
    HMODULE game = GetModuleHandleA(kGameModuleName);
    if (game == nullptr) {
        return false;
    }
    auto address = reinterpret_cast<std::uintptr_t>(game) + kConsoleExecutorOffset;
    auto execute = reinterpret_cast<ConsoleExecutor>(address);
    execute(kConsoleExecutorContext, command);
    return true;
}

} // namespace host
