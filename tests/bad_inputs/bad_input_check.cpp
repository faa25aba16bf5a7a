#include "tests/bad_inputs/bad_input_check.h"

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

std::vector<std::string> Commands(const std::vector<std::string>& values) {
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < values.size(); ++i) {
        commands.push_back("CGF \"Helmshroud.SendIniData\" " + std::to_string(i + 1) + " " +
                           values[i]);
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
bool CheckRun(const BadInputOutcome& outcome) {
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
    CHECK(transcript.Errors().empty());
    CHECK(transcript.OfKind("crash").empty());
    std::vector<Entry> sinks = transcript.OfKind("sink", "game");
    CHECK(sinks.size() == 1);
    for (const Entry& sink : sinks) {
        CHECK(sink.detail.find(" returned 0 after ") != std::string::npos);
    }
    return true;
}

void CheckOne(const BadInput& input, const BadInputOutcome& outcome) {
    INFO("bad input: ", input.name);
    CHECK(outcome.installed);
    CHECK(outcome.prepared);
    if (!outcome.installed || !outcome.prepared || !CheckRun(outcome)) {
        return;
    }
    TranscriptReader transcript(outcome.run.transcript);

    if (input.sent) {
        CHECK(input.sent->size() == 18);
        CHECK(transcript.Commands() == Commands(*input.sent));
    } else {
        CHECK(transcript.Commands().empty());
    }
    // Every line whole, in order, in the log and on standard output alike.
    CHECK(Difference(outcome.log, LogText(input.log)) == "");
    CHECK(transcript.StdoutLines() == SplitLines(outcome.log, "\r\n"));

    CHECK(Difference(outcome.after, input.after) == "");
    // Whatever was sent is what the file still holds: the next game load sends the same.
    if (input.sent && !outcome.valuesAfter.empty()) {
        CHECK(outcome.valuesAfter == *input.sent);
    }
}

} // namespace

std::vector<BadInputOutcome> RunAndCheck(const std::vector<BadInput>& inputs) {
    std::vector<BadInputOutcome> outcomes = RunBadInputs(inputs);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        CheckOne(inputs[i], outcomes[i]);
    }
    return outcomes;
}

} // namespace testing
