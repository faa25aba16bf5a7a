// The plugin when Windows refuses it something: its documents folder, a worker thread.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("without a documents folder the plugin reports it in two lines on standard output, "
          "fails its load and listens to nothing") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--documents-fail", "0x80070005", "--wait", "300"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.StdoutLines() ==
          std::vector<std::string>{
              "Your virus scanner is blocking access to your My Documents folder. "
              "SHGetFolderPath 00000005 failed (result = 80070005 lasterr = 00000005)",
              "Assertion failed in korv_common/Log.cpp (26): SUCCEEDED(err) "
              "(code = FFFFFFFF80070005 (-2147024891))"});
    CHECK(transcript.Find("result", "KORVPlugin_Load of Helmshroud.dll returned 0: not loaded") !=
          nullptr);
    CHECK(transcript.OfKind("listener").empty());
    CHECK(transcript.Details("message") ==
          std::vector<std::string>{"type 2 from \"KORV\" to 0 listener(s)"});
    CHECK(transcript.OfKind("register").empty());
    CHECK(transcript.Commands().empty());
}

TEST_CASE("a worker thread that cannot be started costs that game load its commands, and the "
          "sink still returns 0") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--fail-create-thread", "--wait", "2300"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Find("fault", "CreateThread(stack 4096, flags 0) -> null") != nullptr);
    CHECK(transcript.OfKind("sink", "game").size() == 1);
    CHECK(transcript.Commands().empty());
    CHECK_FALSE(FileExists(game.IniPath()));
    std::vector<std::string> log = game.LogLines();
    REQUIRE(log.size() == 4);
    CHECK(log[2] == "QELLoadGameEvent :: Info: Event received.");
}

TEST_CASE("an extender that hands over no load interface, or one without messaging, gets false "
          "and one error line, and no game load reaches the plugin") {
    const std::pair<const char*, const char*> extenders[] = {
        {"null", "KORVPlugin_Load :: Error: no load interface from the extender."},
        {"no-messaging", "KORVPlugin_Load :: Error: the extender has no messaging interface."}};
    for (auto [kind, error] : extenders) {
        CAPTURE(kind);
        HelmshroudGame game;
        REQUIRE(game.Installed());
        SimulatorRun run = game.Run({"--load-interface", kind, "--wait", "300"});
        TranscriptReader transcript(run.transcript);
        CHECK(run.exitCode == 0);
        CHECK(transcript.Find("result", "KORVPlugin_Load of Helmshroud.dll returned 0: not "
                                        "loaded") != nullptr);
        CHECK(game.LogLines() == std::vector<std::string>{"KORVPlugin_Load!", error});
        CHECK(transcript.OfKind("listener").empty());
        CHECK(transcript.Commands().empty());
    }
}
