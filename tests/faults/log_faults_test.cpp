// The plugin when its log cannot be had: no documents folder, a log file another program holds,
// something else where the log's folders should be. The log is the plugin's own business; none of
// these may cost the game anything or the player a setting.
#include "tests/faults/held_file.h"
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

using namespace testing;

namespace {

// What a fresh installation logs over two game loads, after whatever OpenLog had to say.
std::vector<std::string> TwoLoadsOfAFreshInstallation() {
    return {"KORVPlugin_Load!",
            "KORVPlugin_HandleOnLoad_PostDataLoad!",
            "QELLoadGameEvent :: Info: Event received.",
            "QELLoadGameEvent :: Info: Event received.",
            "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.",
            "Install_Helmshroud :: Info: Called SendIniData.",
            "Install_Helmshroud :: Info: Called SendIniData."};
}

std::vector<std::string> Twice(const std::vector<std::string>& run) {
    std::vector<std::string> both = run;
    both.insert(both.end(), run.begin(), run.end());
    return both;
}

} // namespace

TEST_CASE("without a documents folder the game plays three loads untroubled, and the player's "
          "settings file and documents folder are left exactly as they were") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    SimulatorRun run =
        game.Run({"--documents-fail", "0x80070005", "--loads", "3", "--wait", "300"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    // The load failed before any listener was registered, so the game's loads reach no sink.
    CHECK(transcript.OfKind("load", "game").size() == 3);
    CHECK(SinkDurations(transcript).calls == 0);
    CHECK(transcript.Commands().empty());
    CHECK(transcript.StdoutLines().size() == 2); // the two lines that report the failure
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());
    CHECK(EntriesBelow(game.Documents()).empty());
}

TEST_CASE("a log file another program holds costs only the log: the lines go to standard output, "
          "the other program's text stays, and every load sends its settings") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    MakeFolders(game.Documents() + "My Games\\Quorvalen\\KORV\\Logs\\");
    WriteFileBytes(game.LogPath(), "another program's line\r\n");
    SimulatorRun run;
    {
        HeldFile held(game.LogPath());
        REQUIRE(held.Held());
        run = game.Run({"--loads", "2", "--expect-commands", "36"});
    }
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    CHECK(SinkDurations(transcript).calls == 2);

    std::vector<std::string> expected{"OpenLog :: Error: couldn't open " + game.LogPath() +
                                      ". Logging to standard output only."};
    std::vector<std::string> loads = TwoLoadsOfAFreshInstallation();
    expected.insert(expected.end(), loads.begin(), loads.end());
    CHECK(transcript.StdoutLines() == expected);
    CHECK(ReadFileBytes(game.LogPath()) == "another program's line\r\n");
    CHECK(transcript.Commands() == Twice(DefaultCommands()));
}

TEST_CASE("a file where the log's folder should be is left alone, and the plugin logs to standard "
          "output and sends every setting") {
    const char* const blockers[] = {"My Games\\Quorvalen\\KORV", "My Games\\Quorvalen\\KORV\\Logs"};
    for (const char* blocker : blockers) {
        CAPTURE(blocker);
        HelmshroudGame game;
        REQUIRE(game.Installed());
        std::string blockerPath = game.Documents() + blocker;
        MakeFolders(blockerPath.substr(0, blockerPath.rfind('\\') + 1));
        WriteFileBytes(blockerPath, "the player's own file\r\n");

        SimulatorRun run = game.Run({"--loads", "2", "--expect-commands", "36"});
        TranscriptReader transcript(run.transcript);
        CHECK(run.exitCode == 0);
        CHECK(transcript.Errors().empty());
        std::vector<std::string> out = transcript.StdoutLines();
        REQUIRE(out.size() == 8);
        CHECK(out[0] == "OpenLog :: Error: couldn't open " + game.LogPath() +
                            ". Logging to standard output only.");
        CHECK(std::vector<std::string>(out.begin() + 1, out.end()) ==
              TwoLoadsOfAFreshInstallation());
        CHECK(ReadFileBytes(blockerPath) == "the player's own file\r\n");
        CHECK_FALSE(FileExists(game.LogPath()));
        CHECK(transcript.Commands() == Twice(DefaultCommands()));
    }
}
