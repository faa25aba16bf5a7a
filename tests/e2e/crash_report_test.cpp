// The crash report the game writes when it faults under the plugin's code, as players send it in.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"

#include <doctest.h>

#include <algorithm>
#include <regex>

using namespace testing;

namespace {

// The game's console faults on the third of the eighteen commands, below the settings routine.
std::vector<std::string> CrashFrames(const char* pdb, std::vector<std::string>& commands) {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    REQUIRE(game.Install(pdb, "Helmshroud.pdb"));
    SimulatorRun run = game.Run({"--console-fault", "3", "--wait", "5000"});
    REQUIRE(run.started);
    CHECK_FALSE(run.timedOut);
    CHECK(run.exitCode == 0xC0000005);
    TranscriptReader transcript(run.transcript);
    commands = transcript.Commands();
    std::vector<Entry> crashes = transcript.OfKind("crash");
    REQUIRE(crashes.size() == 1);
    CHECK(std::regex_match(crashes[0].detail,
                           std::regex("exception 0xC0000005 at 0x[0-9a-f]+ in other: "
                                      "Quorvalen\\.exe\\+0x[0-9a-f]+, access violation writing "
                                      "0x10")));
    return transcript.Details("frame");
}

bool Matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

} // namespace

TEST_CASE("a fault in the game's console under the settings routine is reported with the "
          "plugin's functions and source files from its PDB, and as module and offset beside a "
          "PDB of another build") {
    std::vector<std::string> commands;
    std::vector<std::string> frames = CrashFrames(HELMSHROUD_PDB, commands);
    CHECK(commands.size() == 3);
    auto routine = std::find_if(frames.begin(), frames.end(), [](const std::string& frame) {
        return Matches(frame, "#[0-9]+ Helmshroud\\.dll!Install_Helmshroud\\+0x[0-9a-f]+ "
                              "\\((.*\\\\)?settings\\\\routine\\\\Install\\.cpp:[0-9]+\\)");
    });
    REQUIRE(routine != frames.end());
    // The worker that runs the routine is the very next frame, at its call of the routine.
    REQUIRE(routine + 1 != frames.end());
    CHECK(Matches(routine[1], "#[0-9]+ Helmshroud\\.dll!InstallWorker\\+0x[0-9a-f]+ "
                              "\\((.*\\\\)?plugin\\\\install_worker_win32\\.cpp:[0-9]+\\)"));
    // Above the routine: the game's executor, reached through the plugin's console call.
    CHECK(Matches(routine[-1], "#[0-9]+ Helmshroud\\.dll!host::RunConsoleCommand\\+.*"));

    // A PDB that is not this DLL's is not used: the plugin still loads and sends its settings, and
    // its frames read as module and offset.
    std::vector<std::string> unnamed = CrashFrames(ANOTHER_BUILDS_PDB, commands);
    CHECK(commands.size() == 3);
    CHECK(std::count_if(unnamed.begin(), unnamed.end(), [](const std::string& frame) {
              return Matches(frame, "#[0-9]+ Helmshroud\\.dll\\+0x[0-9a-f]+");
          }) == 3);
    CHECK(std::none_of(unnamed.begin(), unnamed.end(), [](const std::string& frame) {
        return frame.find("Helmshroud.dll!") != std::string::npos;
    }));
}
