// Which of the extender's messages the plugin acts on, and game loads that follow each other.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("a null message and messages 0, 1 and 3 leave no log line and register no sink") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--null-message", "--messages", "0,1,3", "--wait", "2500"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Details("message").size() == 4);
    CHECK(game.LogLines() == std::vector<std::string>{"KORVPlugin_Load!"});
    CHECK(transcript.OfKind("source").empty());
    CHECK(transcript.OfKind("register").empty());
    CHECK(transcript.Find("load", "game load 1 of 1: 0 sink(s)") != nullptr);
    CHECK(transcript.Commands().empty());
    CHECK_FALSE(FileExists(game.IniPath()));
}

TEST_CASE("two game loads in quick succession make two full runs of the settings routine") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run(
        {"--loads", "2", "--load-interval", "10", "--expect-commands", "36", "--wait", "6000"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.OfKind("sink", "game").size() == 2);

    std::vector<std::string> twice = DefaultCommands();
    std::vector<std::string> second = DefaultCommands();
    twice.insert(twice.end(), second.begin(), second.end());
    CHECK(transcript.Commands() == twice);
    // The first run creates the file, the second finds it.
    CHECK(game.LogLines() ==
          std::vector<std::string>{
              "KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!",
              "QELLoadGameEvent :: Info: Event received.",
              "QELLoadGameEvent :: Info: Event received.",
              "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.",
              "Install_Helmshroud :: Info: Called SendIniData.",
              "Install_Helmshroud :: Info: Called SendIniData."});
    // Both workers have ended and left no handle behind.
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}

TEST_CASE("a second message 2 registers the sink once more, so each game load runs the settings "
          "twice, one whole run after the other") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--messages", "2,2", "--expect-commands", "36"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.OfKind("register").size() == 2);
    CHECK(transcript.OfKind("sink", "game").size() == 2);
    std::vector<std::string> twice = DefaultCommands();
    std::vector<std::string> second = DefaultCommands();
    twice.insert(twice.end(), second.begin(), second.end());
    CHECK(transcript.Commands() == twice);
    const std::string received = "QELLoadGameEvent :: Info: Event received.";
    const std::string called = "Install_Helmshroud :: Info: Called SendIniData.";
    CHECK(game.LogLines() ==
          std::vector<std::string>{"KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!",
                                   "KORVPlugin_HandleOnLoad_PostDataLoad!", received, received,
                                   "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. "
                                   "Created one.",
                                   called, called});
}
