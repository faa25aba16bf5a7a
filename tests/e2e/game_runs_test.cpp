// Several runs of the game on one installation.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("a second run of the game truncates the log, and its ten loads leave no thread or handle "
          "behind") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun first = game.Run({"--expect-commands", "18"});
    CHECK(first.exitCode == 0);
    REQUIRE(game.LogLines().size() == 5);

    // The player changes a setting between the two runs; ten game loads in the second run.
    std::string ini = ReadFileBytes(game.IniPath());
    std::size_t at = ini.find("iIsWeaponDrawn=0");
    REQUIRE(at != std::string::npos);
    WriteFileBytes(game.IniPath(), ini.replace(at, 16, "iIsWeaponDrawn=yes"));
    SimulatorRun second =
        game.Run({"--loads", "10", "--load-interval", "20", "--expect-commands", "180"});
    TranscriptReader transcript(second.transcript);
    CHECK(second.exitCode == 0);

    std::vector<std::string> expected{"KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!"};
    expected.insert(expected.end(), 10, "QELLoadGameEvent :: Info: Event received.");
    for (int run = 0; run < 10; ++run) {
        expected.push_back("Install_Helmshroud :: Warning: key 'iIsWeaponDrawn' in Helmshroud.ini "
                           "holds 'yes', not a whole number; it goes out as written, and the game "
                           "script decides what it means.");
        expected.push_back("Install_Helmshroud :: Info: Called SendIniData.");
    }
    CHECK(game.LogLines() == expected);
    std::vector<std::string> commands = transcript.Commands();
    REQUIRE(commands.size() == 180);
    for (std::size_t run = 0; run < 10; ++run) {
        CHECK(commands[run * 18 + 5] == "CGF \"Helmshroud.SendIniData\" 6 yes");
    }

    // Ten loads leave no thread behind and no handle per load: the count rises only by the few
    // handles opened once, at the first run of the settings routine.
    CHECK(ResourcesRise(transcript).handles < 8);
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}
