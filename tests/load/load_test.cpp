// The plugin under many game loads in one run of the game.
#include "tests/load/load_run.h"
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("500 game loads 5 ms apart make 500 whole runs in order with whole log lines, and leave "
          "the handles and memory where they started") {
    CheckManyLoads({500, 5, 120000, 500});
}

TEST_CASE("a worker handle left open at every load is caught by the handle check") {
    // The simulator duplicates each worker's handle and never closes the duplicate: the plugin as
    // it would be if it forgot its CloseHandle.
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--leak-thread-handles", "--loads", "100", "--load-interval", "5",
                                 "--expect-commands", "1800", "--wait", "60000"},
                                90000);
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.OfKind("fault").size() == 101); // the documents folder and 100 leaks
    CHECK(ResourcesRise(transcript).handles >= 100);
}
