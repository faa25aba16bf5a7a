// Every profile read and write, every open, read, write, flush, move and delete of the settings
// file and its temporary file, and every write of the log file, made to fail in turn: one run of
// two game loads per call, a few side by side. A failed call may cost the load it falls in, never
// the settings file, the next load or a log line.
#include "tests/faults/walk_runs.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace testing;

namespace {

struct WalkedFile {
    std::string name;
    std::string bytes; // the settings file before the run; "" for none
};

// What a run that fails no call does: the commands its load sends, the settings file after it, the
// warnings its load logs (a file created, rewritten or repaired).
struct Reference {
    std::vector<std::string> commands;
    std::string file;
    std::vector<std::string> warnings;
};

constexpr char kPrefix[] = "CGF \"Helmshroud.SendIniData\" ";

std::vector<std::string> Warnings(const std::vector<std::string>& lines) {
    std::vector<std::string> warnings;
    for (const std::string& line : lines) {
        if (line.find(" :: Warning: ") != std::string::npos) {
            warnings.push_back(line);
        }
    }
    return warnings;
}

// "" when each warning stands among the lines before the first load's closing line: whatever
// the load sent was read after the file was made readable, and a repair that was made is not
// reported as failed.
std::string WarningsProblem(const std::vector<std::string>& out,
                            const std::vector<std::string>& warnings) {
    auto closing =
        std::find(out.begin(), out.end(), "Install_Helmshroud :: Info: Called SendIniData.");
    for (const std::string& warning : warnings) {
        if (std::find(out.begin(), closing, warning) == closing) {
            return "the first load sent its settings without logging '" + warning + "'";
        }
    }
    return {};
}

std::string WithoutDebugMode(std::string file) {
    return file.substr(0, file.find("\r\nbDebugMode=1\r\n")) + "\r\n";
}

std::string Utf8WithMark(const std::string& file) {
    return "\xEF\xBB\xBF" + file;
}

std::string Utf16BigEndian(const std::string& ascii) {
    std::string bytes = "\xFE\xFF";
    for (char c : ascii) {
        bytes += std::string(1, '\0') + c;
    }
    return bytes;
}

// A log note that stands for lines the file is missing: how many, or 0 for any other line.
std::size_t MissingLines(const std::string& line) {
    if (line.rfind("LogLine :: Warning: ", 0) != 0 ||
        line.find("missing here") == std::string::npos) {
        return 0;
    }
    std::size_t digits = line.find_first_of("0123456789");
    return digits == std::string::npos ? 0 : std::strtoul(line.c_str() + digits, nullptr, 10);
}

// Lines the log writes to standard output alone.
bool StandardOutputOnly(const std::string& line) {
    return line.rfind("LogLine :: Error: the log file ", 0) == 0;
}

// "" when the log file has every line standard output got, in order, each whole, or says how
// many lines it is missing where they are missing.
std::string LogProblem(const std::vector<std::string>& file, std::vector<std::string> out) {
    std::erase_if(out, StandardOutputOnly);
    std::size_t next = 0;
    for (const std::string& line : file) {
        if (std::size_t missing = MissingLines(line); missing > 0) {
            next += missing;
            continue;
        }
        if (next >= out.size() || out[next] != line) {
            return "the log file's line '" + line + "' is not standard output's next line";
        }
        ++next;
    }
    return next >= out.size() ? ""
                              : "the log file lacks standard output's line '" + out[next] +
                                    "' and does not say so";
}

// What is wrong with a run of two loads whose call-th call failed: "" when nothing is.
std::string Judged(const SimulatorRun& run, const HelmshroudGame& game,
                   const Reference& reference) {
    if (std::string problem = RunProblem(run, 2); !problem.empty()) {
        return problem;
    }
    TranscriptReader transcript(run.transcript);
    std::vector<std::string> commands = transcript.Commands();
    std::vector<std::string> out = transcript.StdoutLines();
    std::size_t errors = 0;
    for (const std::string& line : out) {
        errors += line.find(" :: Error: ") != std::string::npos ? 1u : 0u;
    }
    // The second load sends what a load that fails nothing sends. The first sends the same; or
    // nothing, and says why; or, where reads gave the empty text, the same with those values sent
    // as read (a repair is then held back), and lines that speak of them.
    const std::size_t run18 = reference.commands.size();
    std::vector<std::string> last(
        commands.end() - static_cast<long>(std::min(run18, commands.size())), commands.end());
    std::vector<std::string> first(
        commands.begin(), commands.begin() + static_cast<long>(commands.size() - last.size()));
    if (last != reference.commands) {
        return "the second load did not send the settings (" + std::to_string(commands.size()) +
               " commands)";
    }
    bool emptiedOnly = first.size() == run18;
    std::size_t emptied = 0;
    for (std::size_t i = 0; i < first.size() && emptiedOnly; ++i) {
        const std::string& expected = reference.commands[i];
        // The command up to the blank after its number: its value sent empty.
        std::string empty = expected.substr(0, expected.find(' ', std::strlen(kPrefix)) + 1);
        emptied += first[i] != expected ? 1u : 0u;
        emptiedOnly = first[i] == expected || first[i] == empty;
    }
    if (!(first.empty() && errors > 0) && first != reference.commands &&
        !(emptiedOnly && emptied > 0 && errors + Warnings(out).size() > 0)) {
        return "the first load sent " + std::to_string(first.size()) + " commands, with " +
               std::to_string(errors) + " error line(s)";
    }
    // A rewrite that failed leaves the file to be read as it stands, and says so in an error.
    if (first == reference.commands && errors == 0) {
        if (std::string problem = WarningsProblem(out, reference.warnings); !problem.empty()) {
            return problem;
        }
    }
    if (ReadFileBytes(game.IniPath()) != reference.file) {
        return "the settings file is not what a run that fails nothing leaves";
    }
    if (EntriesBelow(game.PluginFolder()) !=
        std::vector<std::string>{"Helmshroud.dll", "Helmshroud.ini"}) {
        return "the plugin folder holds more than the plugin and its settings file";
    }
    return LogProblem(game.LogLines(), out);
}

// Walks one walk over each file: counts its calls in the first load, or in both, of a run that
// fails none, then fails each of them in turn in a run of two loads, with each fail count given.
// Reports the counts.
void WalkEachFile(const std::string& walk, const std::vector<WalkedFile>& files,
                  const std::vector<unsigned>& failCounts = {1}, bool countBothLoads = false) {
    for (const WalkedFile& walked : files) {
        CAPTURE(walked.name);
        HelmshroudGame counting;
        REQUIRE(counting.Installed());
        if (!walked.bytes.empty()) {
            WriteFileBytes(counting.IniPath(), walked.bytes);
        }
        SimulatorRun count = counting.Run({"--fail-call", walk, "0", "--loads",
                                           countBothLoads ? "2" : "1", "--load-interval", "100",
                                           "--expect-commands", countBothLoads ? "36" : "18"});
        REQUIRE(count.exitCode == 0);
        WalkCount counted = CountedCalls(count);
        REQUIRE(counted.calls > 0);
        TranscriptReader countTranscript(count.transcript);
        std::vector<std::string> commands = countTranscript.Commands();
        REQUIRE(commands.size() == (countBothLoads ? 36u : 18u));
        commands.resize(18);
        const Reference reference{commands, ReadFileBytes(counting.IniPath()),
                                  Warnings(countTranscript.StdoutLines())};
        MESSAGE(walk << " walk, " << walked.name << ": " << counted.calls << " calls in "
                     << std::string(countBothLoads ? "two loads" : "one load") << " ("
                     << counted.threads << ")");

        for (unsigned failCount : failCounts) {
            CAPTURE(failCount);
            std::vector<std::string> problems =
                EveryCall(counted.calls, [&](unsigned call, HelmshroudGame& game) {
                    if (!walked.bytes.empty()) {
                        WriteFileBytes(game.IniPath(), walked.bytes);
                    }
                    SimulatorRun run =
                        game.Run({"--fail-call", walk, std::to_string(call), "--fail-count",
                                  std::to_string(failCount), "--expect-commands", "0", "--wait",
                                  "10000", "--loads", "2", "--load-interval", "100"},
                                 60000);
                    return Judged(run, game, reference);
                });
            for (unsigned call = 1; call <= counted.calls; ++call) {
                CAPTURE(call);
                CHECK(problems[call] == "");
            }
        }
    }
}

} // namespace

TEST_CASE("each profile read and write failing in turn costs at most its load: a value read empty "
          "goes out empty and a line says so, the next load sends the player's values, and no "
          "value of the player's is overwritten") {
    WalkEachFile("profile", {{"a player's file with every key", PlayerSettingsFile()},
                             {"a file without bDebugMode", WithoutDebugMode(PlayerSettingsFile())},
                             {"no file", ""}});
}

TEST_CASE("each open, read, write, flush, move and delete of the settings file and its temporary "
          "file failing in turn leaves the file whole, or rewritten whole, with no temporary file "
          "beside it") {
    // Files the platform reads no value from: rewritten, then repaired.
    WalkEachFile("rewrite", {{"UTF-8 with its byte-order mark", Utf8WithMark("[Settings]\r\n")},
                             {"UTF-16 BE", Utf16BigEndian("[Settings]\r\n")},
                             {"no file", ""}});
}

TEST_CASE("each write of the log file failing in turn, and with the write after it, costs no log "
          "line, or the log file says how many it is missing where they are missing") {
    WalkEachFile("log-writes", {{"a player's file with every key", PlayerSettingsFile()}}, {1, 2},
                 true);
}
