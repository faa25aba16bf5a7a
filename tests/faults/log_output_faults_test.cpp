// The log's outputs stalled: a standard output nobody reads, a disk that takes a second over every
// write. The game's thread never waits for either, and the log file still gets every line.
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <algorithm>

using namespace testing;

namespace {

const std::string kReceived = "QELLoadGameEvent :: Info: Event received.";
const std::string kCalled = "Install_Helmshroud :: Info: Called SendIniData.";
const std::string kStdoutNote = "LogLine :: Warning: standard output took no lines for a while; ";

// Whether every line of part is in whole, in the same order (lines of whole may stand between).
bool InOrderWithin(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    auto at = whole.begin();
    for (const std::string& line : part) {
        at = std::find(at, whole.end(), line);
        if (at == whole.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

// What a run of `loads` game loads on a player's settings file logs, no line missing.
std::vector<std::string> LinesOfLoads(std::size_t loads) {
    std::vector<std::string> lines{"KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!"};
    lines.insert(lines.end(), loads, kReceived);
    lines.insert(lines.end(), loads, kCalled);
    return lines;
}

} // namespace

TEST_CASE("a standard output nobody reads never holds up the game: 1,500 loads 2 ms apart each "
          "return at once and send their settings, and the log file has every line and says how "
          "many standard output is missing") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    SimulatorRun run =
        game.Run({"--stdout-unread", "--loads", "1500", "--load-interval", "2", "--expect-commands",
                  "27000", "--wait", "150000", "--warm-up-threads", "1000"},
                 220000);
    TranscriptReader transcript(run.transcript);
    CHECK_FALSE(run.timedOut);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty()); // a sink call over a second would be one
    SinkTimes sinks = SinkDurations(transcript);
    CHECK(sinks.calls == 1500);
    MESSAGE("longest sink call: " << sinks.maxMs << " ms");
    CHECK(RunsProblem(transcript.Commands(), PlayerCommands()).empty());
    CHECK(transcript.Commands().size() == 27000);

    // The file: every line once, and one note of the lines standard output could not take.
    std::vector<std::string> log = game.LogLines();
    REQUIRE(log.size() == 3003);
    auto note = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.rfind(kStdoutNote, 0) == 0;
    });
    REQUIRE(note != log.end());
    std::size_t missing = std::stoul(note->substr(kStdoutNote.size()));
    log.erase(note);
    std::vector<std::string> sorted = log;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::string> expected = LinesOfLoads(1500);
    std::sort(expected.begin(), expected.end());
    CHECK(sorted == expected);
    // Standard output: whole lines, in the file's order, as many as the note says short.
    std::vector<std::string> out = transcript.StdoutLines();
    CHECK(InOrderWithin(out, log));
    CHECK(out.size() + missing == log.size());
    CHECK(missing > 0);
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());
}

TEST_CASE("a disk taking a second over each log write never holds up the game: every sink call "
          "returns at once, every run sends, and the log file has every line in order, those "
          "logged just before the game ends too") {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    SimulatorRun run = game.Run({"--slow-log-writes", "1000", "--loads", "5", "--load-interval",
                                 "10", "--expect-commands", "90", "--wait", "40000"},
                                60000);
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());
    SinkTimes sinks = SinkDurations(transcript);
    CHECK(sinks.calls == 5);
    MESSAGE("longest sink call: " << sinks.maxMs << " ms");
    CHECK(RunsProblem(transcript.Commands(), PlayerCommands()).empty());
    CHECK(game.LogLines() == LinesOfLoads(5));
    CHECK(transcript.StdoutLines() == LinesOfLoads(5));

    // The game ends right after a load, while the log's writer is inside its first slow write:
    // what it held and what was still queued are written as the process ends.
    HelmshroudGame ending;
    REQUIRE(ending.Installed());
    run = ending.Run({"--slow-log-writes", "1000", "--wait", "0"});
    CHECK(run.exitCode == 0);
    CHECK(ending.LogLines() == std::vector<std::string>{"KORVPlugin_Load!",
                                                        "KORVPlugin_HandleOnLoad_PostDataLoad!",
                                                        kReceived});
}
