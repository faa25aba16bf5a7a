// The plugin against the platform it runs on: for settings files of every kind (the fuzzers' seed
// corpora, and sound files bent as players bend them), the eighteen values the real plugin sends
// are the ones this same Wine's GetPrivateProfileStringA reads from the same bytes (those of the
// rewrite, where the plugin rewrote the file first), under the usual code page and under a
// double-byte one (the test run again with Wine started in a Chinese locale, code page 936).
// bDebugMode may go out as the repair's 0 instead of empty; no value the platform read before the
// run reads otherwise after it.
#include "tests/bad_inputs/bad_input_run.h"
#include "tests/bad_inputs/mutations.h"
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <windows.h>

#include <doctest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace testing;

namespace {

// The runs that go side by side: each mostly waits for Wine and the plugin's worker.
constexpr std::size_t kSideBySide = 16;

struct Case {
    std::string name;
    std::string bytes;
};

std::size_t Setting(const char* name, std::size_t otherwise) {
    const char* text = std::getenv(name);
    return text == nullptr ? otherwise : std::strtoul(text, nullptr, 10);
}

// Every file of the fuzzers' seed corpora, and `mutations` bent sound files.
std::vector<Case> Cases(std::size_t corpusEvery, std::size_t mutations) {
    std::vector<Case> cases;
    std::size_t index = 0;
    for (const std::string& entry : EntriesBelow(FUZZ_CORPUS_DIR)) {
        if (entry.back() != '\\' && index++ % corpusEvery == 0) {
            cases.push_back({entry, ReadFileBytes(FUZZ_CORPUS_DIR + entry)});
        }
    }
    for (std::size_t i = 0; i < mutations; ++i) {
        cases.push_back({"mutation " + std::to_string(i), MutatedSettingsFile(i)});
    }
    return cases;
}

// The bytes the plugin read: the file's own, or where it logged a rewrite, the file rewritten (a
// UTF-8 mark dropped, UTF-16 BE swapped into LE unit by unit).
std::string BytesRead(const std::string& bytes, const std::vector<std::string>& lines) {
    auto logged = [&](const char* what) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(what) != std::string::npos;
        });
    };
    if (logged("Removed the mark")) {
        return bytes.substr(3);
    }
    std::string swapped = bytes;
    for (std::size_t i = 0; i + 1 < swapped.size() && logged("Rewrote it as UTF-16 LE"); i += 2) {
        std::swap(swapped[i], swapped[i + 1]);
    }
    return swapped;
}

// What is wrong with one file's run: "" when nothing is. sentNothing counts a run without commands.
std::string Judged(const Case& file, const HelmshroudGame& game, const SimulatorRun& run,
                   bool& sentNothing) {
    TranscriptReader transcript(run.transcript);
    const std::vector<std::string> read =
        ValuesReadFrom(BytesRead(file.bytes, transcript.StdoutLines()));
    std::vector<std::string> commands = transcript.Commands();
    sentNothing = commands.empty();
    if (!run.started || run.timedOut || run.exitCode != 0 || !transcript.Errors().empty()) {
        return "the game run failed";
    }
    if (commands.size() != 18) {
        return std::to_string(commands.size()) + " commands went out";
    }
    // Wine reads UTF-16 of an odd length one byte past the file's end, whatever that byte is
    // (profile.c, PROFILE_Load): its last value can differ from one reading to the next.
    const bool utf16 = file.bytes.rfind("\xFF\xFE", 0) == 0 || file.bytes.rfind("\xFE\xFF", 0) == 0;
    if (utf16 && file.bytes.size() % 2 != 0) {
        return {};
    }
    for (std::size_t n = 1; n <= 18; ++n) {
        const std::string prefix = "CGF \"Helmshroud.SendIniData\" " + std::to_string(n) + " ";
        const std::string& value = read[n - 1];
        bool repaired = n == 18 && value.empty() && commands[n - 1] == prefix + "0";
        if (commands[n - 1] != prefix + value && !repaired) {
            return "command " + std::to_string(n) + " is '" + commands[n - 1] +
                   "', the platform reads '" + value + "'";
        }
    }
    std::vector<std::string> after = ValuesReadFrom(ReadFileBytes(game.IniPath()));
    for (std::size_t i = 0; i < 18; ++i) {
        if (after[i] != read[i] && !(i == 17 && read[i].empty() && after[i] == "0")) {
            return "value " + std::to_string(i + 1) + " reads '" + after[i] + "' after the run, '" +
                   read[i] + "' before it";
        }
    }
    return {};
}

} // namespace

TEST_CASE("every file that opens sends the eighteen values the platform reads from its bytes, and "
          "keeps every value the platform read") {
    // DIFFERENTIAL_CORPUS_EVERY=1 and DIFFERENTIAL_MUTATIONS=500 make the full run; the suite runs
    // a bounded part of it. EXPECT_CODE_PAGE makes sure the locale took.
    const std::vector<Case> cases =
        Cases(Setting("DIFFERENTIAL_CORPUS_EVERY", 8), Setting("DIFFERENTIAL_MUTATIONS", 40));
    if (std::size_t expected = Setting("EXPECT_CODE_PAGE", 0); expected != 0) {
        REQUIRE(GetACP() == expected);
    }
    std::vector<std::string> problems(cases.size());
    std::size_t sentNothing = 0;
    for (std::size_t first = 0; first < cases.size(); first += kSideBySide) {
        std::size_t count = std::min(kSideBySide, cases.size() - first);
        std::vector<std::unique_ptr<HelmshroudGame>> games;
        std::vector<SimulatorRun> runs(count);
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < count; ++i) {
            games.push_back(std::make_unique<HelmshroudGame>());
            REQUIRE(games[i]->Installed());
            WriteFileBytes(games[i]->IniPath(), cases[first + i].bytes);
            // The walk fails no call, and it shortens the worker's 2000 ms wait.
            threads.emplace_back([&, i] {
                runs[i] = games[i]->Run(
                    {"--fail-call", "profile", "0", "--expect-commands", "18", "--wait", "12000"},
                    20000);
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        for (std::size_t i = 0; i < count; ++i) {
            bool nothing = false;
            problems[first + i] = Judged(cases[first + i], *games[i], runs[i], nothing);
            sentNothing += nothing ? 1 : 0;
        }
    }
    MESSAGE("code page " << GetACP() << ": " << cases.size() << " files, " << sentNothing
                         << " of them sent nothing");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        CAPTURE(cases[i].name);
        CHECK(problems[i] == "");
    }
}
