// A game that ends its own process, as a crash ends it (no DLL hears of it), inside a console
// command of the settings run or soon after a load: the log, which players send with a crash
// report, holds every line written before it, each whole and once.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <thread>

using namespace testing;

namespace {

const std::string kStart = "KORVPlugin_Load!\r\n"
                           "KORVPlugin_HandleOnLoad_PostDataLoad!\r\n"
                           "QELLoadGameEvent :: Info: Event received.\r\n";

struct Ending {
    const char* what;
    std::string settingsFile; // "" for none
    std::vector<std::string> arguments;
    std::string log; // the log file, whole, after the game ended
    HelmshroudGame game{};
    SimulatorRun run{};
};

} // namespace

TEST_CASE("a game that ends its process inside a console command or 200 ms after a load leaves "
          "in the log every line written before it, whole and once") {
    Ending endings[] = {
        {"in the first command of a fresh installation's first run",
         "",
         {"--console-end", "1"},
         kStart +
             "Install_Helmshroud :: Warning: Helmshroud.ini wasn't existing. Created one.\r\n"},
        {"in the last command, after the lines about a value",
         "[Settings]\r\niIsWeaponDrawn=yes\r\nbDebugMode=1\r\n",
         {"--console-end", "18"},
         kStart + "Install_Helmshroud :: Warning: these keys are missing from Helmshroud.ini or "
                  "empty, and go out empty: iInSafeTemperature, iInSealedInterior, "
                  "iIsOnPlayerHomeSpaceship, iInSealedSpaceship, iIsCurrentAtmosphereBreatheable, "
                  "iIsInHabitableSettlement, iInHazardousEnvironment, "
                  "iIsInExtremePlanetTemperature, iInIsCombat, iAreHostilesNearby, "
                  "iOnExtremePlanet, iIsCurrentWeatherIsHazardous, "
                  "iIsCurrentWeatherIsPotentiallyHazardous, iIsInZeroGravity, "
                  "iIsInExtremelyHighGravity, iIsTakingEnvironmentalDamage.\r\n"
                  "Install_Helmshroud :: Warning: key 'iIsWeaponDrawn' in Helmshroud.ini holds "
                  "'yes', not a whole number; it goes out as written, and the game script decides "
                  "what it means.\r\n"},
        {"200 ms after the load, the settings run still waiting",
         "",
         {"--end-after-load", "200"},
         kStart},
    };
    std::vector<std::thread> runs;
    for (Ending& ending : endings) {
        REQUIRE(ending.game.Installed());
        if (!ending.settingsFile.empty()) {
            WriteFileBytes(ending.game.IniPath(), ending.settingsFile);
        }
        runs.emplace_back([&ending] { ending.run = ending.game.Run(ending.arguments, 20000); });
    }
    for (std::thread& run : runs) {
        run.join();
    }
    for (Ending& ending : endings) {
        CAPTURE(ending.what);
        CHECK(ending.run.started);
        CHECK_FALSE(ending.run.timedOut);
        CHECK(ending.run.exitCode == 0xE9D); // the game's own end, not a crash of the plugin's
        CHECK(TranscriptReader(ending.run.transcript).OfKind("crash").empty());
        CHECK(ReadFileBytes(ending.game.LogPath()) == ending.log);
    }
}
