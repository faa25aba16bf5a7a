#include "tests/faults/walk_runs.h"

#include "tests/simulated_game/run_checks.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace testing {

namespace {

constexpr unsigned kSideBySide = 4;

} // namespace

WalkCount CountedCalls(const SimulatorRun& run) {
    TranscriptReader counted(run.transcript);
    WalkCount count;
    count.calls = static_cast<unsigned>(std::stoul("0" + counted.Summary("walked-calls")));
    count.threads = "extender " + counted.Summary("walked-calls-extender") + ", game " +
                    counted.Summary("walked-calls-game") + ", worker " +
                    counted.Summary("walked-calls-worker") + ", other " +
                    counted.Summary("walked-calls-other");
    return count;
}

std::vector<std::string>
EveryCall(unsigned calls, const std::function<std::string(unsigned, HelmshroudGame&)>& judge) {
    std::vector<std::string> problems(calls + 1);
    std::atomic<unsigned> next{1};
    std::mutex folders; // the temporary folders' names come from one counter
    auto walk = [&] {
        for (unsigned call = next++; call <= calls; call = next++) {
            std::unique_ptr<HelmshroudGame> game;
            {
                std::lock_guard<std::mutex> lock(folders);
                game = std::make_unique<HelmshroudGame>();
            }
            problems[call] = game->Installed() ? judge(call, *game) : "not installed";
            std::lock_guard<std::mutex> lock(folders);
            game.reset();
        }
    };
    std::vector<std::thread> walkers;
    for (unsigned i = 0; i < kSideBySide; ++i) {
        walkers.emplace_back(walk);
    }
    for (std::thread& walker : walkers) {
        walker.join();
    }
    return problems;
}

std::string RunProblem(const SimulatorRun& run, std::size_t loads) {
    TranscriptReader transcript(run.transcript);
    if (!run.started || run.timedOut || !transcript.OfKind("crash").empty()) {
        return "the game crashed or hung";
    }
    if (!transcript.Errors().empty()) {
        return "the simulator flagged: " + transcript.Errors().front();
    }
    if (transcript.OfKind("result").size() != 1 || SinkDurations(transcript).calls != loads) {
        return "the load entry did not return, or a load reached no sink";
    }
    return {};
}

} // namespace testing
