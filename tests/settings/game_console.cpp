#include "tests/settings/game_console.h"

#include "sim/game/game_build.h"
#include "sim/game/image.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace testing {

namespace {

std::mutex g_mutex;
std::vector<std::string> g_commands;

void RecordCommand(std::uint64_t context, const char* command) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_commands.push_back(context == sim::kConsoleContext ? std::string(command) : "<bad context>");
}

// Installed before any test runs.
const bool g_installed = [] {
    if (!sim::PlaceGameEntry(sim::kConsoleExecutorOffset,
                             reinterpret_cast<const void*>(&RecordCommand))) {
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
