// The plugin's worker side under faults: a worker thread Windows will not start, and a game
// console that takes its time over every command.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("a worker Windows won't start costs only its own load: an error line, the sink returns "
          "at once, and the loads after it send their settings") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    SimulatorRun run =
        game.Run({"--fail-create-threads", "1", "--loads", "3", "--expect-commands", "36"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    SinkTimes sinks = SinkDurations(transcript);
    CHECK(sinks.calls == 3);
    MESSAGE("longest sink call: " << sinks.maxMs << " ms");
    CHECK(transcript.OfKind("fault").size() == 2); // the documents folder, the one failed thread

    std::vector<std::string> expected{
        "KORVPlugin_Load!",
        "KORVPlugin_HandleOnLoad_PostDataLoad!",
        "QELLoadGameEvent :: Info: Event received.",
        "QELLoadGameEvent :: Error: couldn't start the settings worker (error 8). Nothing sent for "
        "this load.",
        "QELLoadGameEvent :: Info: Event received.",
        "QELLoadGameEvent :: Info: Event received.",
        "Install_Helmshroud :: Info: Called SendIniData.",
        "Install_Helmshroud :: Info: Called SendIniData."};
    CHECK(game.LogLines() == expected);
    CHECK(RunsProblem(transcript.Commands(), PlayerCommands()).empty());
    CHECK(transcript.Commands().size() == 36);
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}

TEST_CASE("a console taking 100 ms a command never holds up the game: three loads in a row each "
          "send their eighteen in order, one whole run after the other") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    SimulatorRun run = game.Run({"--console-delay", "100", "--loads", "3", "--load-interval", "10",
                                 "--expect-commands", "54", "--wait", "15000"},
                                60000);
    TranscriptReader transcript(run.transcript);
    CHECK_FALSE(run.timedOut);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty()); // a sink call over a second would be one

    SinkTimes sinks = SinkDurations(transcript);
    CHECK(sinks.calls == 3);
    MESSAGE("longest sink call: " << sinks.maxMs << " ms");
    // The game's thread went through its three loads in well under a second, long before the first
    // command: it never waited for the console.
    std::vector<Entry> loads = transcript.OfKind("sink", "game");
    std::vector<Entry> commands = transcript.OfKind("command");
    REQUIRE(loads.size() == 3);
    REQUIRE(commands.size() == 54);
    CHECK(loads[2].ms - loads[0].ms < 1000.0);
    CHECK(commands.front().ms > loads[2].ms);

    CHECK(RunsProblem(transcript.Commands(), PlayerCommands()).empty());
    // One run after the other: 54 commands of 100 ms each take at least 5.3 s from first to last.
    CHECK(commands.back().ms - commands.front().ms >= 5300.0);
    std::vector<std::string> log = game.LogLines();
    CHECK(log == std::vector<std::string>{"KORVPlugin_Load!",
                                          "KORVPlugin_HandleOnLoad_PostDataLoad!",
                                          "QELLoadGameEvent :: Info: Event received.",
                                          "QELLoadGameEvent :: Info: Event received.",
                                          "QELLoadGameEvent :: Info: Event received.",
                                          "Install_Helmshroud :: Info: Called SendIniData.",
                                          "Install_Helmshroud :: Info: Called SendIniData.",
                                          "Install_Helmshroud :: Info: Called SendIniData."});
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());
}

TEST_CASE("a settings run that runs out of memory ends in one error line and sends nothing, and "
          "the next load sends its settings") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    SimulatorRun run = game.Run({"--fail-worker-malloc", "2", "--loads", "3", "--load-interval",
                                 "300", "--expect-commands", "36"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    CHECK(transcript.OfKind("fault").size() == 2); // the documents folder, the one failed malloc

    const std::string called = "Install_Helmshroud :: Info: Called SendIniData.";
    const std::string received = "QELLoadGameEvent :: Info: Event received.";
    CHECK(game.LogLines() ==
          std::vector<std::string>{"KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!",
                                   received, received, received, called,
                                   "InstallWorker :: Error: the settings run stopped on an error "
                                   "(std::bad_alloc). The game script may not have got every "
                                   "setting for this load.",
                                   called});
    CHECK(RunsProblem(transcript.Commands(), PlayerCommands()).empty());
    CHECK(transcript.Commands().size() == 36);
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}
