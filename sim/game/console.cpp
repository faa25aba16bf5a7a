#include "sim/game/console.h"

#include "sim/game/game_build.h"
#include "sim/game/game_loop.h"
#include "sim/platform/platform.h"
#include "sim/platform/text.h"
#include "sim/record/transcript.h"

#include <atomic>
#include <string>

namespace sim {

namespace {

std::atomic<std::uint32_t> g_delayMs{0};
std::atomic<std::uint32_t> g_commands{0};
std::atomic<std::uint32_t> g_faultOn{0};
std::atomic<std::uint32_t> g_endOn{0};

// No page is ever mapped at the lowest 64 KiB of a Windows process. Read at run time, so the
// compiler cannot tell the write below from any other.
volatile std::uintptr_t g_unmappedAddress = 0x10;

[[gnu::noinline]] void AccessViolation() {
    *reinterpret_cast<volatile std::uint32_t*>(g_unmappedAddress) = 0;
}

} // namespace

void ExecuteConsoleCommand(std::uint64_t context, const char* command) {
    std::string text = command != nullptr ? command : "";
    if (context != kConsoleContext) {
        RecordError("console command with context " + Hex(context) + " instead of " +
                    Hex(kConsoleContext) + ": " + text);
    }
    if (command == nullptr) {
        RecordError("console command without text");
    }
    Record(Kind::Command, text);
    std::uint32_t delay = g_delayMs.load();
    if (delay > 0) {
        SleepMs(delay);
    }
    std::uint32_t number = g_commands.fetch_add(1) + 1;
    if (number == g_faultOn.load()) {
        Record(Kind::Fault, "the console executor faults on command " + std::to_string(number));
        AccessViolation();
    }
    if (number == g_endOn.load()) {
        Record(Kind::Fault, "the game ends its process in command " + std::to_string(number));
        EndProcessNow(kGameEndedExitCode);
    }
}

void SetConsoleEnd(std::uint32_t command) {
    g_endOn.store(command);
}

void SetConsoleFault(std::uint32_t command) {
    g_faultOn.store(command);
}

void SetConsoleDelay(std::uint32_t milliseconds) {
    g_delayMs.store(milliseconds);
}

std::uint32_t ConsoleCommandCount() {
    return g_commands.load();
}

} // namespace sim
