#include "tests/load/load_run.h"

#include "tests/simulated_game/helmshroud_game.h"
#include "tests/simulated_game/run_checks.h"
#include "tests/support/files.h"

#include <doctest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace testing {

namespace {

// Handles the process may hold after the loads beyond its starting level. Some are opened once and
// kept, not per load (at the first run of the settings routine, at the first contention of a
// lock): 1 and 10 loads leave 3 more, 500 to 5000 loads 5 more. A leak of one per load is 500.
constexpr long long kHandleSlack = 8;
// Private bytes allowed above the starting level. Before it measures, the simulator warms Wine up
// with at least as many threads as workers are alive at once, yet Wine still keeps about 1.45 MB
// more after a first burst of threads that start while others end (measured with bare threads and
// no plugin at all: the same 1.45 MB after 400, 500 or 2000 threads, and no more in later bursts).
// With the plugin, 500 loads leave 1.5 to 1.9 MB and 5000 loads 0.65 MB.
constexpr long long kMemorySlack = 3LL * 1024 * 1024;

const std::vector<std::string> kKnownLines{
    "KORVPlugin_Load!", "KORVPlugin_HandleOnLoad_PostDataLoad!",
    "QELLoadGameEvent :: Info: Event received.", "Install_Helmshroud :: Info: Called SendIniData."};

} // namespace

void CheckManyLoads(const LoadPlan& plan) {
    HelmshroudGame game;
    REQUIRE(game.Installed());
    WriteFileBytes(game.IniPath(), PlayerSettingsFile());
    const std::size_t loads = plan.loads;
    SimulatorRun run = game.Run(
        {"--loads", std::to_string(loads), "--load-interval", std::to_string(plan.intervalMs),
         "--expect-commands", std::to_string(loads * 18), "--wait", std::to_string(plan.timeoutMs),
         "--warm-up-threads", std::to_string(plan.warmUpThreads)},
        plan.timeoutMs + 30000);
    REQUIRE(run.started);
    CHECK_FALSE(run.timedOut);
    TranscriptReader transcript(run.transcript);
    CHECK_FALSE(transcript.Malformed());
    CHECK(run.exitCode == 0);
    CHECK(transcript.Errors().empty()); // a sink call over 100 ms would be one

    // One whole run of eighteen commands per load, runs never mixed.
    std::vector<std::string> commands = transcript.Commands();
    CHECK(commands.size() == loads * 18);
    CHECK(RunsProblem(commands, PlayerCommands()) == "");

    // Every line whole, in the log file and on standard output alike.
    std::string logBytes = ReadFileBytes(game.LogPath());
    CHECK(logBytes.size() >= 2);
    CHECK(logBytes.compare(logBytes.size() - 2, 2, "\r\n") == 0);
    std::vector<std::string> log = game.LogLines();
    std::vector<std::string> out = transcript.StdoutLines();
    CHECK(UnknownLines(log, kKnownLines) == std::vector<std::string>{});
    CHECK(UnknownLines(out, kKnownLines) == std::vector<std::string>{});
    CHECK(log.size() == 2 + 2 * loads);
    CHECK(CountOf(log, "QELLoadGameEvent :: Info: Event received.") == loads);
    CHECK(CountOf(log, "Install_Helmshroud :: Info: Called SendIniData.") == loads);
    CHECK(out == log);
    CHECK(ReadFileBytes(game.IniPath()) == PlayerSettingsFile());

    // Back where it started: threads, handles, memory.
    SinkTimes sinks = SinkDurations(transcript);
    CHECK(sinks.calls == loads);
    ResourceRise rise = ResourcesRise(transcript);
    REQUIRE(transcript.Summary("handles-before") != "0"); // the handle count could be had
    CHECK(transcript.Summary("threads-after-wait") == transcript.Summary("threads-before-loads"));
    CHECK_MESSAGE(rise.handles <= kHandleSlack,
                  "the process holds " << rise.handles << " handles more after " << loads
                                       << " loads than before (allowed: " << kHandleSlack << ")");
    CHECK_MESSAGE(rise.privateBytes <= kMemorySlack,
                  "the process holds " << rise.privateBytes << " private bytes more after " << loads
                                       << " loads than before (allowed: " << kMemorySlack << ")");

    const std::vector<Entry>& entries = transcript.Entries();
    double wallMs = entries.empty() ? 0 : entries.back().ms;
    std::vector<Entry> loadEntries = transcript.OfKind("load", "game");
    std::vector<Entry> commandEntries = transcript.OfKind("command");
    std::printf("%zu loads %u ms apart: %zu commands; wall %.0f ms (loads from %.0f to %.0f ms, "
                "commands from %.0f to %.0f ms); longest sink call %.3f ms; "
                "handles %s -> %s; private bytes %s -> %s\n",
                loads, plan.intervalMs, commands.size(), wallMs,
                loadEntries.empty() ? 0 : loadEntries.front().ms,
                loadEntries.empty() ? 0 : loadEntries.back().ms,
                commandEntries.empty() ? 0 : commandEntries.front().ms,
                commandEntries.empty() ? 0 : commandEntries.back().ms, sinks.maxMs,
                transcript.Summary("handles-before").c_str(),
                transcript.Summary("handles-after").c_str(),
                transcript.Summary("private-bytes-before").c_str(),
                transcript.Summary("private-bytes-after").c_str());
}

} // namespace testing
