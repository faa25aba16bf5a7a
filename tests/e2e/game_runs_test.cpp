// Several runs of the game on one installation.
#include "tests/e2e/helmshroud_game.h"
#include "tests/support/files.h"
#include "tests/support/transcript_reader.h"

#include <doctest.h>

#include <cstdlib>

using namespace testing;

namespace {

long long HandleRise(const TranscriptReader& transcript) {
    return std::strtoll(transcript.Summary("handle-probe-after").c_str(), nullptr, 16) -
           std::strtoll(transcript.Summary("handle-probe-before").c_str(), nullptr, 16);
}

} // namespace

TEST_CASE("a second run of the game truncates the log and reads the settings file the first made") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    SimulatorRun first = game.Run({"--expect-commands", "18"});
    CHECK(first.exitCode == 0);
    REQUIRE(game.LogLines().size() == 5);

    // The player changes a setting between the two runs; three game loads in the second run.
    std::string ini = ReadFileBytes(game.IniPath());
    std::size_t at = ini.find("iIsWeaponDrawn=0");
    REQUIRE(at != std::string::npos);
    WriteFileBytes(game.IniPath(), ini.replace(at, 16, "iIsWeaponDrawn=yes"));
    SimulatorRun second =
        game.Run({"--loads", "3", "--load-interval", "50", "--expect-commands", "54"});
    TranscriptReader transcript(second.transcript);
    CHECK(second.exitCode == 0);

    CHECK(game.LogLines() ==
          std::vector<std::string>{"KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!",
                                   "QELLoadGameEvent :: Info: Event received.",
                                   "QELLoadGameEvent :: Info: Event received.",
                                   "QELLoadGameEvent :: Info: Event received.",
                                   "Install_Helmshroud :: Info: Called SendIniData.",
                                   "Install_Helmshroud :: Info: Called SendIniData.",
                                   "Install_Helmshroud :: Info: Called SendIniData."});
    std::vector<std::string> commands = transcript.Commands();
    REQUIRE(commands.size() == 54);
    CHECK(commands[5] == "CGF \"Helmshroud.SendIniData\" 6 yes");
    CHECK(commands[23] == "CGF \"Helmshroud.SendIniData\" 6 yes");

    // Three loads leave no more handles open than one did, and no thread behind.
    CHECK(HandleRise(transcript) == HandleRise(TranscriptReader(first.transcript)));
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}
