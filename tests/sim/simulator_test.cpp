// The simulated game run as a program, on small fake plugins.
#include "tests/simulated_game/game_sandbox.h"
#include "tests/simulated_game/transcript_reader.h"

#include <doctest.h>

#include <algorithm>

using namespace testing;

namespace {

std::vector<std::string> Sources(const std::vector<Entry>& entries) {
    std::vector<std::string> sources;
    for (const Entry& entry : entries) {
        sources.push_back(entry.source);
    }
    return sources;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_CASE("a plugin that plays by the rules is loaded, hears the extender's messages on the "
          "extender's thread, and its sink runs on the game thread") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    SimulatorRun run = sandbox.Run({"--messages", "0,2", "--expect-commands", "2"});
    REQUIRE(run.started);
    CHECK_FALSE(run.timedOut);
    TranscriptReader transcript(run.transcript);
    CHECK_FALSE(transcript.Malformed());
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty());

    CHECK(transcript.Details("record") ==
          std::vector<std::string>{
              "record-version 1", "plugin-version 7", "name \"Fake\"", "author \"Tests\"",
              "address-independence 0x00000000", "structure-independence 0x00000000",
              "compatible-runtimes 0x01080560", "reserved 0x00000000 0x00000000 0x00000000"});
    CHECK(transcript.Details("handle") == std::vector<std::string>{"0x100 handed out"});
    REQUIRE(transcript.OfKind("query").size() == 1);
    CHECK(transcript.OfKind("query")[0].detail.rfind("id 1 -> messaging interface 0x", 0) == 0);
    REQUIRE(transcript.OfKind("listener", "korv").size() == 1);
    CHECK(transcript.OfKind("listener")[0].detail.rfind("handle 0x100 sender \"KORV\"", 0) == 0);
    CHECK(transcript.Find("result", "returned 1: loaded") != nullptr);

    std::vector<std::string> out = transcript.StdoutLines();
    std::string documents = sandbox.Documents().substr(0, sandbox.Documents().size() - 1);
    CHECK(Has(out, "fake: documents 00000000 0 " + documents));
    CHECK(Has(out, "fake: message 0"));
    CHECK(Has(out, "fake: message 2"));
    CHECK(Has(out, "fake: event"));
    REQUIRE(transcript.Find("fault", "SHGetFolderPathW(folder 0x00008005, flags 0) -> S_OK") !=
            nullptr);

    CHECK(transcript.OfKind("source", "korv").size() == 1);
    CHECK(transcript.OfKind("register", "korv").size() == 1);
    std::vector<Entry> sinks = transcript.OfKind("sink", "game");
    REQUIRE(sinks.size() == 1);
    CHECK(sinks[0].detail.find(" returned 0 after ") != std::string::npos);

    CHECK(transcript.Commands() ==
          std::vector<std::string>{"fake game command", "fake worker command"});
    CHECK(Sources(transcript.OfKind("command")) == std::vector<std::string>{"game", "other"});
    // The worker's command comes 50 ms after the event; the wait then ends early.
    CHECK(transcript.Find("wait", "ended early with 2 command(s)") != nullptr);
    CHECK(transcript.Summary("plugins-loaded") == "1");
    CHECK(transcript.Summary("commands") == "2");
    CHECK(transcript.Summary("errors") == "0");
}

TEST_CASE("a sink registered twice is called twice at every game load") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    SimulatorRun run = sandbox.Run({"--messages", "2,4", "--loads", "2", "--expect-commands", "8"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.OfKind("register").size() == 2);
    CHECK(transcript.Details("load").size() == 3); // the plugin's load entry and two game loads
    CHECK(transcript.OfKind("sink", "game").size() == 4);
    CHECK(transcript.Summary("commands") == "8");
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}

TEST_CASE("a wrong console context, a non-zero sink result and a slow sink are errors") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    SimulatorRun run = sandbox.Run(
        {"--messages", "3,5,2", "--console-delay", "150", "--slow-sink", "100", "--wait", "400"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 1);
    std::vector<std::string> errors = transcript.Errors();
    REQUIRE(errors.size() == 3);
    CHECK(errors[0] == "console command with context 0x1234 instead of 0x539ae98: fake command "
                       "with a wrong context");
    CHECK(errors[1].find(" returned 1 instead of 0") != std::string::npos);
    CHECK(errors[2].find(" kept the game thread ") != std::string::npos);
    CHECK(transcript.Summary("errors") == "3");
}

TEST_CASE("plugins with a wrong record version or without the exports are refused before they "
          "run, and one whose load entry fails is never sent a message") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_WRONG_RECORD, "A.dll"));
    REQUIRE(sandbox.Install(FAKE_NO_EXPORTS, "B.dll"));
    REQUIRE(sandbox.Install(FAKE_LOAD_FAILS, "C.dll"));
    SimulatorRun run = sandbox.Run({"--wait", "100"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    CHECK(transcript.Details("refused") ==
          std::vector<std::string>{"A.dll: record version 2 is not 1",
                                   "B.dll: no export KORVPlugin_Version"});
    CHECK(transcript.Find("result", "KORVPlugin_Load of C.dll returned 0: not loaded") != nullptr);
    CHECK(transcript.Details("message") ==
          std::vector<std::string>{"type 2 from \"KORV\" to 0 listener(s)"});
    // Only C.dll's load entry ran; nothing of the refused ones did.
    std::vector<std::string> out = transcript.StdoutLines();
    CHECK(std::count_if(out.begin(), out.end(), [](const std::string& line) {
              return line.rfind("fake: documents", 0) == 0;
          }) == 1);
    CHECK_FALSE(Has(out, "fake: message 2"));
    CHECK(transcript.Summary("plugins-found") == "3");
    CHECK(transcript.Summary("plugins-refused") == "2");
    CHECK(transcript.Summary("plugins-failed") == "1");
    CHECK(transcript.Summary("listeners") == "0");
}

TEST_CASE("the fault doubles make the documents folder and CreateThread fail as asked") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    SimulatorRun run =
        sandbox.Run({"--documents-fail", "0x80070005", "--fail-create-thread", "--wait", "200"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    std::vector<std::string> out = transcript.StdoutLines();
    CHECK(Has(out, "fake: documents 80070005 5 "));
    CHECK(Has(out, "fake: CreateThread failed 8"));
    CHECK(transcript.Commands() == std::vector<std::string>{"fake game command"});
}

TEST_CASE("CreateThread fails for its first calls only or leaks a handle per thread, the working "
          "folder moves after load, and a warm-up ends its threads before the loads") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    std::string elsewhere = sandbox.Documents().substr(0, sandbox.Documents().size() - 1);
    SimulatorRun run = sandbox.Run({"--fail-create-threads", "1", "--leak-thread-handles",
                                    "--working-folder-after-load", elsewhere, "--warm-up-threads",
                                    "20", "--loads", "3", "--expect-commands", "5"});
    TranscriptReader transcript(run.transcript);
    CHECK(run.exitCode == 0);
    std::vector<std::string> out = transcript.StdoutLines();
    CHECK(std::count(out.begin(), out.end(), "fake: CreateThread failed 8") == 1);
    // Three game commands, and worker commands from the second and third loads only.
    std::vector<std::string> commands = transcript.Commands();
    CHECK(std::count(commands.begin(), commands.end(), "fake worker command") == 2);
    std::vector<Entry> faults = transcript.OfKind("fault");
    REQUIRE(faults.size() == 4); // the documents folder, one failure, two leaks
    CHECK(faults[1].detail.rfind("CreateThread(stack 0, flags 0) -> null", 0) == 0);
    CHECK(faults[2].detail == "CreateThread(stack 0) -> a thread, and a duplicate of its handle "
                              "left open");
    CHECK(faults[3].detail == faults[2].detail);
    // The two duplicates are still open when the run ends.
    CHECK(std::stoi(transcript.Summary("handles-after")) -
              std::stoi(transcript.Summary("handles-before")) >=
          2);
    CHECK(transcript.Find("folder", "working folder changed to " + elsewhere) != nullptr);
    const Entry* warmUp = transcript.Find("wait", "warm-up: 20 thread(s) started together");
    REQUIRE(warmUp != nullptr);
    CHECK(warmUp->ms < transcript.OfKind("load", "game").front().ms);
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
}

TEST_CASE("a sink that crashes the game leaves a crash entry and a failing exit code") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    SimulatorRun run = sandbox.Run({"--messages", "6", "--wait", "100"});
    REQUIRE(run.started);
    CHECK_FALSE(run.timedOut);
    CHECK(run.exitCode == 0xC0000005);
    TranscriptReader transcript(run.transcript);
    std::vector<Entry> crashes = transcript.OfKind("crash");
    REQUIRE(crashes.size() == 1);
    CHECK(crashes[0].detail.rfind("exception 0xC0000005 at 0x0 in game", 0) == 0);
    CHECK(transcript.Summary("errors").empty());
}

TEST_CASE("the game reaches a sink's handler by the Microsoft ABI's virtual call, one slot after "
          "its destructor, and a sink declared with a C++ virtual destructor gets that destructor "
          "called instead") {
    GameSandbox sandbox;
    REQUIRE(sandbox.Install(FAKE_GOOD, "Fake.dll"));
    SimulatorRun run = sandbox.Run({"--messages", "2,7", "--wait", "300"});
    REQUIRE(run.started);
    TranscriptReader transcript(run.transcript);
    CHECK(transcript.OfKind("sink", "game").size() == 2);
    std::vector<std::string> out = transcript.StdoutLines();
    // The table the fake lays out by hand holds its handler in slot 1, the slot the game calls.
    CHECK(std::count(out.begin(), out.end(), "fake: event") == 1);
    CHECK(std::count(out.begin(), out.end(), "fake: sink destructor called") == 1);
}
