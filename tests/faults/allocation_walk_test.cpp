// Every allocation the plugin makes, from its load entry to the end of a fresh installation's
// first settings run, made to fail in turn: one run of the game per allocation, a few side by
// side.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace testing;

namespace {

constexpr unsigned kSideBySide = 4;
const std::vector<std::string> kTwoLoads{"--loads", "2", "--load-interval", "100"};

// What is wrong with the run whose call-th allocation failed: "" when nothing is.
std::string Judged(const SimulatorRun& run, const HelmshroudGame& game) {
    TranscriptReader transcript(run.transcript);
    if (!run.started || run.timedOut || !transcript.OfKind("crash").empty()) {
        return "the game crashed or hung";
    }
    if (!transcript.Errors().empty()) {
        return "the simulator flagged: " + transcript.Errors().front(); // a sink result or time
    }
    if (transcript.OfKind("result").size() != 1 || SinkDurations(transcript).calls != 2) {
        return "the load entry did not return, or a load reached no sink";
    }
    std::vector<std::string> commands = transcript.Commands();
    std::size_t errors = 0;
    for (const std::string& line : game.LogLines()) {
        errors += line.find(" :: Error: ") != std::string::npos ? 1u : 0u;
    }
    // The failed run says so and sends nothing; the next load sends all eighteen.
    if (!RunsProblem(commands, DefaultCommands()).empty() ||
        (commands.size() == 36) != (errors == 0) || commands.size() < 18) {
        return std::to_string(commands.size()) + " commands and " + std::to_string(errors) +
               " error line(s)";
    }
    if (ReadFileBytes(game.IniPath()) != kDefaultSettingsFile) {
        return "the settings file is not the defaults";
    }
    return {};
}

} // namespace

TEST_CASE("each allocation of a first run failing in turn costs at most that run: no crash, the "
          "sink returns at once, an error line says what was not sent, the next load sends all "
          "eighteen, and the settings file is whole") {
    HelmshroudGame counting;
    REQUIRE(counting.Installed());
    SimulatorRun count = counting.Run({"--fail-allocation", "0", "--expect-commands", "18"});
    TranscriptReader counted(count.transcript);
    REQUIRE(count.exitCode == 0);
    const unsigned calls = static_cast<unsigned>(std::stoul(counted.Summary("walked-calls")));
    REQUIRE(calls > 0);
    MESSAGE(calls << " allocations: extender " << counted.Summary("walked-calls-extender")
                  << ", game " << counted.Summary("walked-calls-game") << ", worker "
                  << counted.Summary("walked-calls-worker") << ", other "
                  << counted.Summary("walked-calls-other"));

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
            std::vector<std::string> arguments{"--fail-allocation",
                                               std::to_string(call),
                                               "--expect-commands",
                                               "0",
                                               "--wait",
                                               "10000"};
            arguments.insert(arguments.end(), kTwoLoads.begin(), kTwoLoads.end());
            problems[call] = Judged(game->Run(arguments, 60000), *game);
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
    for (unsigned call = 1; call <= calls; ++call) {
        CAPTURE(call);
        CHECK(problems[call] == "");
    }
}
