// The first game load of a fresh installation, seen from the extender, the game and the files.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <doctest.h>

using namespace testing;

namespace {

Entry First(const TranscriptReader& transcript, const std::string& kind,
            const std::string& source = "") {
    std::vector<Entry> found = transcript.OfKind(kind, source);
    REQUIRE_FALSE(found.empty());
    return found.front();
}

} // namespace

TEST_CASE("the first load of a fresh installation logs five lines, creates the settings file and "
          "sends the eighteen defaults") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--expect-commands", "18"});
    REQUIRE(run.started);
    CHECK_FALSE(run.timedOut);
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());

    CHECK(ReadFileBytes(game.LogPath()) ==
          "KORVPlugin_Load!\r\n"
          "KORVPlugin_HandleOnLoad_PostDataLoad!\r\n"
          "QELLoadGameEvent :: Info: Event received.\r\n"
          "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.\r\n"
          "Install_Helmshroud :: Info: Called SendIniData.\r\n");
    CHECK(ReadFileBytes(game.IniPath()) == kDefaultSettingsFile);
    CHECK(transcript.Commands() == DefaultCommands());
    // Every log line goes to standard output as well, in the same order.
    CHECK(transcript.StdoutLines() == game.LogLines());

    // The extender's side: one handle, the messaging interface, one listener for "KORV".
    CHECK(transcript.Find("fault", "SHGetFolderPathW(folder 0x00008005, flags 0)") != nullptr);
    CHECK(transcript.Details("handle") == std::vector<std::string>{"0x100 handed out"});
    CHECK(First(transcript, "query").detail.rfind("id 1 -> messaging interface", 0) == 0);
    CHECK(First(transcript, "listener", "korv").detail.rfind("handle 0x100 sender \"KORV\"", 0) ==
          0);
    CHECK(transcript.Find("result", "returned 1: loaded") != nullptr);
    CHECK(transcript.OfKind("register", "korv").size() == 1);
}

TEST_CASE("the settings go out from a worker thread 2000 ms after the event, while the sink "
          "returns to the game at once") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun run = game.Run({"--expect-commands", "18"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);

    double loadAt = First(transcript, "load", "game").ms;
    Entry sink = First(transcript, "sink", "game");
    CHECK(sink.detail.find(" returned 0 after ") != std::string::npos);
    double sinkMs = std::stod(sink.detail.substr(sink.detail.find(" after ") + 7));
    // The game's thread is back long before the settings go out: well under a second, even on a
    // machine busy with other work (how few milliseconds it takes is the benchmark's business).
    CHECK(sinkMs < 1000.0);

    std::vector<Entry> commands = transcript.OfKind("command");
    REQUIRE(commands.size() == 18);
    for (const Entry& command : commands) {
        CHECK(command.source == "other"); // neither the game's thread nor the extender's
        CHECK(command.ms - loadAt >= 2000.0);
    }
    // Standard output lines are stamped when read, never earlier than written: the event line
    // comes before 2000 ms have passed, the settings routine's lines only after.
    for (const Entry& line : transcript.OfKind("line")) {
        if (line.detail.rfind("Install_Helmshroud :: ", 0) == 0) {
            CHECK(line.ms - loadAt >= 2000.0);
        }
        if (line.detail == "QELLoadGameEvent :: Info: Event received.") {
            CHECK(line.ms - loadAt < 2000.0);
        }
    }
}
