#include "tests/core/console_recorder.h"

#include "sim/game/image.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace testing {

namespace {

// Where the game build the plugin targets keeps its console executor, and the value it expects
// first.
constexpr std::uintptr_t kExecutorOffset = 0x288D694;
constexpr std::uint64_t kExecutorContext = 0x539AE98;

std::mutex g_mutex;
std::vector<std::string> g_commands;

void RecordCommand(std::uint64_t context, const char* command) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_commands.push_back(context == kExecutorContext ? std::string(command) : "<bad context>");
}

// Installed before any test runs.
const bool g_installed = [] {
    if (!sim::PlaceGameEntry(kExecutorOffset, reinterpret_cast<const void*>(&RecordCommand))) {
        std::fputs("the console executor's entry point is outside this program's image\n", stderr);
        std::abort();
    }
    return true;
}();

} // namespace

std::vector<std::string> TakeConsoleCommands() {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<std::string> taken;
    taken.swap(g_commands);
    return taken;
}

} // namespace testing
