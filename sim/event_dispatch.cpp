#include "sim/event_dispatch.h"

#include "sim/game_entries.h"
#include "sim/korv_abi.h"
#include "sim/platform.h"
#include "sim/text.h"
#include "sim/thread_roles.h"
#include "sim/transcript.h"

#include <string>
#include <thread>
#include <vector>

namespace sim {

namespace {

void CallSink(void* sink, std::uint32_t loadNumber, const GameLoadPlan& plan) {
    auto* const* table = *static_cast<void* const* const*>(sink);
    auto handler = reinterpret_cast<SinkHandler>(table[kSinkHandlerSlot]);
    LoadGameEvent event{loadNumber};

    std::int64_t before = Ticks();
    std::uint32_t result = handler(sink, &event, LoadGameEventSource());
    std::int64_t after = Ticks();

    double ms =
        static_cast<double>(after - before) * 1000.0 / static_cast<double>(TicksPerSecond());
    Record(Kind::Sink, "load " + std::to_string(loadNumber) + " sink " + Pointer(sink) +
                           " returned " + std::to_string(result) + " after " + Milliseconds(ms) +
                           " ms");
    if (result != 0) {
        RecordError("sink " + Pointer(sink) + " returned " + std::to_string(result) +
                    " instead of 0");
    }
    if (ms > static_cast<double>(plan.slowSinkMs)) {
        RecordError("sink " + Pointer(sink) + " kept the game thread " + Milliseconds(ms) +
                    " ms (limit " + std::to_string(plan.slowSinkMs) + " ms)");
    }
}

void GameThread(GameLoadPlan plan) {
    MarkGameThread();
    for (std::uint32_t load = 1; load <= plan.loads; ++load) {
        if (load > 1) {
            SleepMs(plan.intervalMs);
        }
        std::vector<void*> sinks = RegisteredSinks();
        Record(Kind::Load, "game load " + std::to_string(load) + " of " +
                               std::to_string(plan.loads) + ": " + std::to_string(sinks.size()) +
                               " sink(s)");
        for (void* sink : sinks) {
            CallSink(sink, load, plan);
        }
    }
    UnmarkGameThread();
}

} // namespace

void RunGameLoads(const GameLoadPlan& plan) {
    std::thread game(GameThread, plan);
    game.join();
}

} // namespace sim
