#include "sim/game/game_loop.h"

#include "sim/game/console.h"
#include "sim/game/entries.h"
#include "sim/game/game_build.h"
#include "sim/game/sink_caller.h"
#include "sim/platform/platform.h"
#include "sim/platform/text.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript.h"

#include <string>
#include <thread>
#include <vector>

namespace sim {

namespace {

double CallSink(void* sink, std::uint32_t loadNumber, std::uint32_t slowSinkMs) {
    LoadGameEvent event{loadNumber};

    std::int64_t before = Ticks();
    std::uint32_t result = CallSinkHandler(sink, &event, LoadGameEventSource());
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
    if (ms > static_cast<double>(slowSinkMs)) {
        RecordError("sink " + Pointer(sink) + " kept the game thread " + Milliseconds(ms) +
                    " ms (limit " + std::to_string(slowSinkMs) + " ms)");
    }
    return ms;
}

void GameThread(const std::function<void()>& work) {
    MarkGameThread();
    work();
    UnmarkGameThread();
}

} // namespace

std::vector<double> RunGameLoad(std::uint32_t load, std::uint32_t loads, std::uint32_t slowSinkMs) {
    std::vector<void*> sinks = RegisteredSinks();
    Record(Kind::Load, "game load " + std::to_string(load) + " of " + std::to_string(loads) + ": " +
                           std::to_string(sinks.size()) + " sink(s)");
    std::vector<double> durations;
    for (void* sink : sinks) {
        durations.push_back(CallSink(sink, load, slowSinkMs));
    }
    return durations;
}

void RunOnGameThread(const std::function<void()>& work) {
    std::thread game(GameThread, std::cref(work));
    game.join();
}

void RunGameLoads(const GameLoadPlan& plan) {
    RunOnGameThread([&plan] {
        for (std::uint32_t load = 1; load <= plan.loads; ++load) {
            if (load > 1) {
                SleepMs(plan.intervalMs);
            }
            RunGameLoad(load, plan.loads, plan.slowSinkMs);
            if (load == 1 && plan.endAfterFirstMs > 0) {
                SleepMs(plan.endAfterFirstMs);
                Record(Kind::Fault, "the game ends its process " +
                                        std::to_string(plan.endAfterFirstMs) +
                                        " ms after the first load");
                EndProcessNow(kGameEndedExitCode);
            }
        }
    });
}

} // namespace sim
