#include "sim/game/game_loop.h"

#include "sim/platform/platform.h"
#include "sim/record/transcript.h"

#include <string>

namespace sim {

namespace {

constexpr std::uint32_t kPollMs = 5;

bool Done(const WaitPlan& plan) {
    return plan.expectCommands && ConsoleCommandCount() >= *plan.expectCommands &&
           ThreadCount() <= plan.threadsBeforeLoads;
}

} // namespace

void WaitForWorkers(const WaitPlan& plan) {
    RecordAs(Source::Sim, Kind::Wait,
             "up to " + std::to_string(plan.waitMs) + " ms" +
                 (plan.expectCommands
                      ? " or until " + std::to_string(*plan.expectCommands) +
                            " command(s) have arrived and the plugin's threads have ended"
                      : std::string()));
    double start = NowMs();
    bool early = false;
    while (NowMs() - start < static_cast<double>(plan.waitMs)) {
        if (Done(plan)) {
            early = true;
            break;
        }
        SleepMs(kPollMs);
    }
    RecordAs(Source::Sim, Kind::Wait,
             std::string(early ? "ended early" : "ended") + " with " +
                 std::to_string(ConsoleCommandCount()) + " command(s)");
    if (plan.expectCommands && ConsoleCommandCount() < *plan.expectCommands) {
        RecordErrorAs(Source::Sim, "expected " + std::to_string(*plan.expectCommands) +
                                       " command(s), got " + std::to_string(ConsoleCommandCount()));
    }
}

} // namespace sim
