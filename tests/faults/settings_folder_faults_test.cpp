// The plugin when its settings folder cannot be reached. The extender loads the plugin from
// .\Data\KORV\Plugins\, and the settings file lives there too, so while the plugin runs its folder
// is there: Windows lets nobody delete a DLL that is loaded, and with no plugin folder there is no
// plugin. What does happen is the game's working folder moving after load (the game, another
// plugin or a file dialog calling SetCurrentDirectory): the settings file's relative path then
// names a folder that does not exist.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("when the game moves its working folder after load, every load says the settings file "
          "couldn't be created, sends nothing, and creates or changes no file anywhere") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    TempFolder elsewhere;
    std::string elsewherePath = elsewhere.Path().substr(0, elsewhere.Path().size() - 1);

    // No command is due: the wait ends once the two workers have ended.
    SimulatorRun run = game.Run({"--working-folder-after-load", elsewherePath, "--loads", "2",
                                 "--expect-commands", "0", "--wait", "10000"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    REQUIRE(transcript.Find("folder", "working folder changed to " + elsewherePath) != nullptr);
    CHECK(transcript.Find("wait", "ended early with 0 command(s)") != nullptr);
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
    CHECK(SinkDurations(transcript).calls == 2);
    CHECK(transcript.Commands().empty());

    // The creation is tried first and fails for want of the folder; the second existence test
    // finds no file.
    std::vector<std::string> expected{"KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!",
                                      "QELLoadGameEvent :: Info: Event received.",
                                      "QELLoadGameEvent :: Info: Event received."};
    for (int load = 0; load < 2; ++load) {
        expected.push_back(
            "Install_Helmshroud :: Error: couldn't make Helmshroud.ini: its defaults go first into "
            "Helmshroud.ini.helmshroud-new beside it, which can't be made: the folder "
            "Data\\KORV\\Plugins is missing; reinstall the plugin.");
        expected.push_back(
            "Install_Helmshroud :: Error: Helmshroud.ini couldn't be created. Aborting.");
    }
    CHECK(game.LogLines() == expected);
    CHECK(transcript.StdoutLines() == expected);
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());
    CHECK(EntriesBelow(elsewhere.Path()).empty());
    CHECK(EntriesBelow(game.PluginFolder()) ==
          std::vector<std::string>{"Helmshroud.dll", "Helmshroud.ini"});
}
