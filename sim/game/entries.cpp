#include "sim/game/entries.h"

#include "sim/game/console.h"
#include "sim/game/game_build.h"
#include "sim/game/game_loop.h"
#include "sim/game/image.h"
#include "sim/platform/platform.h"
#include "sim/platform/text.h"
#include "sim/record/transcript.h"

#include <cstdint>
#include <string>

namespace sim {

namespace {

// The game's event source object for the load-game event; its content is the game's own.
struct EventSource {
    std::uint64_t tag;
};
EventSource g_loadGameSource{0x4C4F414447414D45}; // "LOADGAME"

Lock g_lock;
std::vector<void*> g_sinks;

void* GetLoadGameEventSource() {
    Record(Kind::EventSrc, "load-game event source " + Pointer(&g_loadGameSource) + " handed out");
    return &g_loadGameSource;
}

void RegisterSink(void* source, void* sink) {
    if (source != &g_loadGameSource) {
        RecordError("sink " + Pointer(sink) + " registered with an unknown event source " +
                    Pointer(source));
        return;
    }
    if (sink == nullptr) {
        RecordError("null sink registered");
        return;
    }
    void* const* table = *static_cast<void* const* const*>(sink);
    std::size_t count = 0;
    {
        Guard guard(g_lock);
        g_sinks.push_back(sink);
        count = g_sinks.size();
    }
    Record(Kind::Register, "sink " + Pointer(sink) + " table " + Pointer(table) + " (" +
                               std::to_string(count) + " registered)");
}

bool Place(std::uintptr_t offset, const void* target, const char* name) {
    if (PlaceGameEntry(offset, target)) {
        return true;
    }
    RecordError(std::string("cannot place the game's ") + name + " at image base + " + Hex(offset));
    return false;
}

} // namespace

bool PlaceGameEntries() {
    bool placed =
        Place(kLoadGameEventSourceOffset, reinterpret_cast<const void*>(&GetLoadGameEventSource),
              "event source getter");
    placed = Place(kRegisterSinkOffset, reinterpret_cast<const void*>(&RegisterSink),
                   "sink registration") &&
             placed;
    placed = Place(kConsoleExecutorOffset, reinterpret_cast<const void*>(&ExecuteConsoleCommand),
                   "console executor") &&
             placed;
    return placed;
}

void* LoadGameEventSource() {
    return &g_loadGameSource;
}

std::vector<void*> RegisteredSinks() {
    Guard guard(g_lock);
    return g_sinks;
}

std::size_t RegisteredSinkCount() {
    Guard guard(g_lock);
    return g_sinks.size();
}

} // namespace sim
