// Quorvalen.exe, the simulated game with its script extender KORV: loads the plugins of a game
// folder the way the extender does, sends them the extender's messages, runs game loads on a game
// thread, records the console commands they send, and writes a transcript of it all.
#include "sim/bench/doubles.h"
#include "sim/bench/run.h"
#include "sim/doubles/call_walk.h"
#include "sim/doubles/fault_doubles.h"
#include "sim/extender/loader.h"
#include "sim/extender/messaging.h"
#include "sim/game/console.h"
#include "sim/game/entries.h"
#include "sim/game/game_loop.h"
#include "sim/game/sink_caller.h"
#include "sim/game/warm_up.h"
#include "sim/options.h"
#include "sim/platform/platform.h"
#include "sim/record/crash_report.h"
#include "sim/record/resources.h"
#include "sim/record/stdout_capture.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript.h"
#include "sim/record/transcript_output.h"
#include "sim/summary.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace sim;

constexpr int kUsageExit = 2;

bool OpenTranscript(const Options& options) {
    return options.transcript.empty() ? UseStandardOutputForTranscript()
                                      : OpenTranscriptFile(options.transcript);
}

// The game (or anything else in its process) moves its working folder away from the game folder.
void ChangeWorkingFolder(const std::string& folder) {
    if (!SetWorkingFolder(folder)) {
        RecordErrorAs(Source::Sim, "cannot make " + folder + " the working folder");
        return;
    }
    Record(Kind::Folder, "working folder changed to " + WorkingFolder());
}

// The one hook into each plugin's load, put together from what the run asks for: the fault doubles
// of the command line, then, for the benchmark, the timers around the calls that open the plugin's
// log inside its load entry.
BeforeLoadEntry DoublesFor(const Options& options) {
    FaultPlan faults = options;
    bool benchmark = !options.benchmark.empty();
    return [faults, benchmark](void* module) -> std::string {
        if (!InstallFaultDoubles(module, faults)) {
            return "the requested fault doubles cannot be installed";
        }
        if (benchmark && !InstallStartUpTimers(module)) {
            return "cannot be prepared for its load entry";
        }
        return {};
    };
}

// The game loads the command line asks for, then the wait for the plugin's workers.
std::uint32_t PlayGameLoads(const Options& options, std::uint32_t threadsBeforeLoads) {
    RunGameLoads(
        {options.loads, options.loadIntervalMs, options.slowSinkMs, options.endAfterLoadMs});
    WaitForWorkers({options.waitMs, options.expectCommands, threadsBeforeLoads});
    return options.loads;
}

RunFacts Run(const Options& options) {
    RunFacts facts;
    if (!PlaceGameEntries()) {
        return facts;
    }
    std::string callerError;
    if (!LoadSinkCaller(callerError)) {
        RecordErrorAs(Source::Sim, callerError);
        return facts;
    }
    SetConsoleDelay(options.consoleDelayMs);
    SetConsoleFault(options.consoleFault);
    SetConsoleEnd(options.consoleEnd);
    if (!StartStdoutCapture(options.stdoutUnread)) {
        RecordErrorAs(Source::Sim,
                      "cannot redirect standard output; plugin output is not recorded");
    }

    WithholdInterfaces(options.nullLoadInterface, options.noMessagingInterface);
    facts.plugins = LoadPlugins(DoublesFor(options));
    if (options.nullMessage) {
        SendNullExtenderMessage();
    }
    for (std::uint32_t type : options.messages) {
        SendExtenderMessage(type);
    }
    if (options.workingFolderAfterLoad) {
        ChangeWorkingFolder(*options.workingFolderAfterLoad);
    }
    SleepMs(options.firstLoadAfterMs);
    if (options.warmUpThreads > 0) {
        WarmUpThreads(options.warmUpThreads);
    }

    facts.threadsBeforeLoads = ThreadCount();
    facts.before = MeasureResources();
    // Whoever drives the game from here, the command line's loads or the benchmark, goes through
    // the game loop's interface (sim/game/game_loop.h).
    facts.gameLoads = options.benchmark.empty()
                          ? PlayGameLoads(options, facts.threadsBeforeLoads)
                          : RunBenchmark({options.benchmark, options.benchLoads, options.waitMs,
                                          options.slowSinkMs},
                                         facts.plugins);
    facts.after = MeasureResources();
    facts.threadsAfterWait = ThreadCount();

    StopStdoutCapture();
    facts.listeners = ActiveListenerCount();
    facts.sinks = RegisteredSinkCount();
    facts.commands = ConsoleCommandCount();
    if (options.failAllocation || options.failWalk) {
        facts.walk = WalkedCalls();
    }
    return facts;
}

} // namespace

int main(int argc, char** argv) {
    MarkExtenderThread();
    ParseResult parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "Quorvalen.exe: %s\n%s", parsed.error.c_str(), UsageText().c_str());
        return kUsageExit;
    }
    const Options& options = parsed.options;
    if (!OpenTranscript(options)) {
        std::fprintf(stderr, "Quorvalen.exe: cannot write the transcript %s\n",
                     options.transcript.c_str());
        return kUsageExit;
    }
    InstallCrashReport();
    if (!options.gameDir.empty() && !SetWorkingFolder(options.gameDir)) {
        RecordErrorAs(Source::Sim, "cannot enter the game folder " + options.gameDir);
        return RecordSummary({});
    }
    for (const std::string& entry : RecordedOptions(options)) {
        RecordAs(Source::Sim, Kind::Option, entry);
    }
    RunFacts facts = Run(options);
    AwaitCrashReport();
    return RecordSummary(facts);
}
