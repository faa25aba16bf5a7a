#include "tests/bad_inputs/case_folder.h"

#include "tests/bad_inputs/bad_input_run.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <algorithm>

namespace testing {

namespace {

// Short enough to print: bytes as text, control and non-ASCII bytes as \xNN, long runs cut.
std::string Printable(const std::string& bytes, std::size_t from, std::size_t count) {
    std::string text;
    for (std::size_t i = from; i < bytes.size() && i < from + count; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            const char* digits = "0123456789ABCDEF";
            text += "\\x";
            text += digits[c >> 4];
            text += digits[c & 0xF];
        }
    }
    return text;
}

// Empty when the two are equal; otherwise where they part, with a little of each from there.
std::string Difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return {};
    }
    auto parted = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    auto at = static_cast<std::size_t>(parted.first - actual.begin());
    std::size_t from = at < 16 ? 0 : at - 16;
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
           ", first difference at byte " + std::to_string(at) + ": actual \"" +
           Printable(actual, from, 80) + "\", expected \"" + Printable(expected, from, 80) + "\"";
}

// The lines, each ended by "\n": a difference between two lists prints as one between texts.
std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::string Commands(const std::vector<std::string>& values) {
    std::string commands;
    for (std::size_t i = 0; i < values.size(); ++i) {
        commands +=
            "CGF \"Helmshroud.SendIniData\" " + std::to_string(i + 1) + " " + values[i] + "\n";
    }
    return commands;
}

std::string LogText(const std::vector<std::string>& settingsLines) {
    std::string text = "KORVPlugin_Load!\r\n"
                       "KORVPlugin_HandleOnLoad_PostDataLoad!\r\n"
                       "QELLoadGameEvent :: Info: Event received.\r\n";
    for (const std::string& line : settingsLines) {
        text += line + "\r\n";
    }
    return text;
}

// A failed check does not end the test case: the other inputs of the group are still checked.
bool CheckRun(const CaseOutcome& outcome) {
    CHECK_MESSAGE(outcome.run.started, "Windows error " << outcome.run.startError);
    if (!outcome.run.started) {
        return false;
    }
    CHECK_FALSE(outcome.run.timedOut);
    CHECK(outcome.run.exitCode == 0);
    TranscriptReader transcript(outcome.run.transcript);
    CHECK_FALSE(transcript.Malformed());
    // No crash, no stall: the simulator flags both, and a sink that kept the game waiting, as
    // errors.
    CHECK(Joined(transcript.Errors()) == "");
    CHECK(transcript.OfKind("crash").empty());
    std::vector<Entry> sinks = transcript.OfKind("sink", "game");
    CHECK(sinks.size() == 1);
    for (const Entry& sink : sinks) {
        CHECK(sink.detail.find(" returned 0 after ") != std::string::npos);
    }
    return true;
}

void CheckOne(const CaseFile& input, const CaseOutcome& outcome) {
    CHECK(outcome.installed);
    CHECK(outcome.prepared);
    if (!outcome.installed || !outcome.prepared || !CheckRun(outcome)) {
        return;
    }
    TranscriptReader transcript(outcome.run.transcript);
    const bool sent = input.sends != SendsForm::Nothing;
    CHECK(Difference(Joined(transcript.Commands()), sent ? Commands(input.values) : "") == "");
    // Every line whole, in order, in the log and on standard output alike.
    CHECK(Difference(outcome.log, LogText(input.log)) == "");
    CHECK(Difference(Joined(transcript.StdoutLines()), Joined(SplitLines(outcome.log, "\r\n"))) ==
          "");

    CHECK(Difference(outcome.after, input.after) == "");
    // "none": nothing stands in the file's place, or a folder, which is no file either.
    CHECK(outcome.fileExists == (input.afterForm != AfterForm::None || outcome.fileIsFolder));
    // Whatever was sent is what the file still holds: the next game load sends the same.
    if (sent && !outcome.valuesAfter.empty()) {
        CHECK(Difference(Joined(outcome.valuesAfter), Joined(input.values)) == "");
    }
    // A read-only file keeps its mark, through a repair too; a folder in the file's place stays.
    CHECK((input.placement != Placement::ReadOnlyFile || outcome.fileReadOnly));
    CHECK((input.placement != Placement::Folder || outcome.fileIsFolder));
    // Wine accepts the read-only mark on a folder but does not keep it.
    CHECK((input.placement != Placement::ReadOnlyFolder || outcome.pluginFolderPlain));
    if (input.entries) {
        CHECK(Joined(outcome.entries) == Joined(*input.entries));
    }
}

// The case in full: the values and bytes it leaves to the platform, computed on its bytes.
CaseFile Resolved(CaseFile input) {
    if (input.sends == SendsForm::AsPlatformReads) {
        input.values = ValuesReadFrom(*input.bytes);
    }
    if (input.afterForm == AfterForm::Unchanged) {
        input.after = *input.bytes;
    } else if (input.afterForm == AfterForm::AsOneRepairWrite) {
        input.after = AfterOneRepairWrite(*input.bytes);
    }
    return input;
}

} // namespace

void RunCaseFolder(const std::string& group) {
    const std::string folder = std::string(CASES_DIR) + group + "/";
    const bool markStopsWrites = ReadOnlyMarkStopsWrites();
    std::vector<std::string> names;
    std::vector<CaseFile> cases;
    for (const std::string& name : EntriesBelow(folder)) {
        if (name.size() < 5 || name.substr(name.size() - 5) != ".case") {
            FAIL_CHECK(group << "/" << name << ": not a case file");
            continue;
        }
        try {
            CaseFile input = ParseCase(ReadFileBytes(folder + name));
            if (input.whereReadOnlyBinds && *input.whereReadOnlyBinds != markStopsWrites) {
                MESSAGE(group << "/" << name << " skipped: the read-only mark "
                              << std::string(markStopsWrites ? "binds" : "is ignored") << " here");
                continue;
            }
            cases.push_back(Resolved(std::move(input)));
            names.push_back(name);
        } catch (const MalformedCase& malformed) {
            FAIL_CHECK(group << "/" << name << ":" << malformed.line << ": " << malformed.what);
        }
    }
    REQUIRE_FALSE(cases.empty());
    std::vector<CaseOutcome> outcomes = RunCases(cases);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        INFO("case: ", group, "/", names[i]);
        CheckOne(cases[i], outcomes[i]);
    }
}

} // namespace testing
