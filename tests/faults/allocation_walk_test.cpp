// Every allocation the plugin makes, from its load entry to the end of a fresh installation's
// first settings run, made to fail in turn: one run of the game per allocation, a few side by
// side.
#include "tests/faults/walk_runs.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <string>
#include <vector>

using namespace testing;

namespace {

const std::vector<std::string> kTwoLoads{"--loads", "2", "--load-interval", "100"};

// What is wrong with the run whose call-th allocation failed: "" when nothing is.
std::string Judged(const SimulatorRun& run, const HelmshroudGame& game) {
    if (std::string problem = RunProblem(run, 2); !problem.empty()) {
        return problem;
    }
    std::vector<std::string> commands = TranscriptReader(run.transcript).Commands();
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
    REQUIRE(count.exitCode == 0);
    WalkCount counted = CountedCalls(count);
    REQUIRE(counted.calls > 0);
    MESSAGE(counted.calls << " allocations: " << counted.threads);

    std::vector<std::string> problems = EveryCall(counted.calls, [](unsigned call,
                                                                    HelmshroudGame& game) {
        std::vector<std::string> arguments{
            "--fail-allocation", std::to_string(call), "--expect-commands", "0", "--wait", "10000"};
        arguments.insert(arguments.end(), kTwoLoads.begin(), kTwoLoads.end());
        return Judged(game.Run(arguments, 60000), game);
    });
    for (unsigned call = 1; call <= counted.calls; ++call) {
        CAPTURE(call);
        CHECK(problems[call] == "");
    }
}
