#include "tests/bad_inputs/case_folder.h"

#include "tests/bad_inputs/bad_input_run.h"
#include "tests/bad_inputs/case_file.h"
#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/transcript_reader.h"
#include "tests/support/files.h"

#include <windows.h>

#include <doctest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

namespace testing {

namespace {

// Empty when the two are equal; otherwise their sizes and where they part, with a little of each
// from there (control and non-ASCII bytes as \xNN): short enough to print for files of megabytes.
std::string Difference(const std::string& actual, const std::string& expected) {
    const auto at = static_cast<std::size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
        actual.begin());
    auto part = [from = at < 16 ? 0 : at - 16](const std::string& bytes) {
        std::string text;
        for (char c : bytes.substr(from, 80)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            text += c >= 0x20 && c < 0x7F ? std::string(1, c) : escaped;
        }
        return "\"" + text + "\"";
    };
    return actual == expected ? ""
                              : "sizes " + std::to_string(actual.size()) + " and " +
                                    std::to_string(expected.size()) +
                                    ", first difference at byte " + std::to_string(at) +
                                    ": actual " + part(actual) + ", expected " + part(expected);
}

// The lines, each ended by end: a difference between two lists prints as one between texts.
std::string Joined(const std::vector<std::string>& lines, const std::string& end = "\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + end;
    }
    return text;
}

// One case's game, with the settings file put in place as the case asks, and its run.
struct CaseRun {
    HelmshroudGame game;
    std::string pluginFolder = game.PluginFolder().substr(0, game.PluginFolder().size() - 1);
    bool prepared = true;    // the settings file stood as the case asks
    HANDLE holder = nullptr; // the handle that holds it open, where the case asks for one
    SimulatorRun run;
};

void Prepare(const CaseFile& input, CaseRun& c) {
    const std::string path = c.game.IniPath();
    if (input.bytes) {
        WriteFileBytes(path, *input.bytes);
        c.prepared = ReadFileBytes(path) == *input.bytes;
    }
    const Placement p = input.placement;
    if (p == Placement::Folder || p == Placement::TemporaryTaken) {
        const std::string folder = path + (p == Placement::Folder ? "" : ".helmshroud-new");
        c.prepared = CreateDirectoryA(folder.c_str(), nullptr);
    } else if (p == Placement::ReadOnlyFile || p == Placement::ReadOnlyFolder) {
        const std::string marked = p == Placement::ReadOnlyFile ? path : c.pluginFolder;
        c.prepared = c.prepared && SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_READONLY);
    } else if (p == Placement::HeldExclusively || p == Placement::HeldSharingReads) {
        const DWORD share = p == Placement::HeldSharingReads ? FILE_SHARE_READ : 0;
        c.holder = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        c.prepared = c.prepared && c.holder != INVALID_HANDLE_VALUE;
    }
}

// Once the case's game ended. A failed check does not end the test case: the other cases of the
// folder are still checked.
void Check(const CaseFile& input, const CaseRun& c) {
    if (c.holder != nullptr && c.holder != INVALID_HANDLE_VALUE) {
        CloseHandle(c.holder);
    }
    const std::string path = c.game.IniPath();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    // Wine accepts the read-only mark on a folder but does not keep it.
    const bool folderPlain = GetFileAttributesA(c.pluginFolder.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
    SetFileAttributesA(c.pluginFolder.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string log = ReadFileBytes(c.game.LogPath());
    const std::string after = ReadFileBytes(path);
    const std::vector<std::string> entries = EntriesBelow(c.game.PluginFolder());

    CHECK(c.game.Installed());
    CHECK(c.prepared);
    CHECK_MESSAGE(c.run.started, "Windows error " << c.run.startError);
    if (!c.game.Installed() || !c.prepared || !c.run.started) {
        return;
    }
    CHECK_FALSE(c.run.timedOut);
    CHECK(c.run.exitCode == 0);
    TranscriptReader transcript(c.run.transcript);
    CHECK_FALSE(transcript.Malformed());
    // No crash, no stall: the simulator flags both, and a sink that kept the game waiting, as
    // errors.
    CHECK(Joined(transcript.Errors()) == "");
    CHECK(transcript.OfKind("crash").empty());
    const std::vector<Entry> sinks = transcript.OfKind("sink", "game");
    CHECK(sinks.size() == 1);
    for (const Entry& sink : sinks) {
        CHECK(sink.detail.find(" returned 0 after ") != std::string::npos);
    }

    std::string commands; // none when the case sends nothing
    for (std::size_t n = 1; n <= input.values.size(); ++n) {
        commands += "CGF \"Helmshroud.SendIniData\" " + std::to_string(n) + " " +
                    input.values[n - 1] + "\n";
    }
    CHECK(Difference(Joined(transcript.Commands()), commands) == "");
    // Every line whole, in order, in the log and on standard output alike.
    CHECK(Difference(log, "KORVPlugin_Load!\r\nKORVPlugin_HandleOnLoad_PostDataLoad!\r\n"
                          "QELLoadGameEvent :: Info: Event received.\r\n" +
                              Joined(input.log, "\r\n")) == "");
    CHECK(Difference(Joined(transcript.StdoutLines()), Joined(SplitLines(log, "\r\n"))) == "");

    CHECK(Difference(after, input.after) == "");
    const bool file = std::count(entries.begin(), entries.end(), "Helmshroud.ini") != 0;
    const bool folder = std::count(entries.begin(), entries.end(), "Helmshroud.ini\\") != 0;
    // "none": nothing stands in the file's place, or a folder, which is no file either.
    CHECK((folder || file == (input.afterForm != AfterForm::None)));
    // Whatever was sent is what the file still holds: the next game load sends the same.
    if (!input.values.empty() && file) {
        CHECK(Difference(Joined(ValuesReadFrom(after)), Joined(input.values)) == "");
    }
    // A read-only file keeps its mark, through a repair too; a folder in the file's place stays.
    CHECK((input.placement != Placement::ReadOnlyFile || readOnly));
    CHECK((input.placement != Placement::Folder || folder));
    CHECK((input.placement != Placement::ReadOnlyFolder || folderPlain));
    if (input.entries) {
        CHECK(Joined(entries) == Joined(*input.entries));
    }
}

} // namespace

void RunCaseFolder(const std::string& group) {
    const std::string folder = std::string(CASES_DIR) + group + "/";
    const bool markStopsWrites = ReadOnlyMarkStopsWrites();
    std::vector<std::string> names;
    std::vector<CaseFile> cases;
    for (const std::string& name : EntriesBelow(folder)) {
        if (!name.ends_with(".case")) {
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
            // What the case leaves to the platform, from its bytes.
            if (input.sends == SendsForm::AsPlatformReads) {
                input.values = ValuesReadFrom(*input.bytes);
            }
            if (input.afterForm == AfterForm::Unchanged) {
                input.after = *input.bytes;
            } else if (input.afterForm == AfterForm::AsOneRepairWrite) {
                input.after = AfterOneRepairWrite(*input.bytes);
            }
            cases.push_back(std::move(input));
            names.push_back(name);
        } catch (const MalformedCase& malformed) {
            FAIL_CHECK(group << "/" << name << ":" << malformed.line << ": " << malformed.what);
        }
    }
    REQUIRE_FALSE(cases.empty());

    // Every run waits 2000 ms for the plugin's worker; side by side they cost that wait once. A
    // run ends once its worker is done, which may take seconds of its own for files of megabytes
    // on a loaded machine.
    std::vector<std::unique_ptr<CaseRun>> runs;
    std::vector<std::thread> threads;
    for (const CaseFile& input : cases) {
        CaseRun& c = *runs.emplace_back(std::make_unique<CaseRun>());
        Prepare(input, c);
        const char* expected = input.sends == SendsForm::Nothing ? "0" : "18";
        threads.emplace_back([&c, expected] {
            c.run = c.game.Run({"--expect-commands", expected, "--wait", "12000"}, 20000);
        });
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        threads[i].join();
        INFO("case: ", group, "/", names[i]);
        Check(cases[i], *runs[i]);
    }
}

} // namespace testing
