#include "sim/bench/run.h"

#include "sim/bench/doubles.h"
#include "sim/bench/floors.h"
#include "sim/bench/report.h"
#include "sim/doubles/import_patch.h"
#include "sim/game/game_loop.h"
#include "sim/platform/platform.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <vector>

namespace sim {

namespace {

constexpr std::uint32_t kWarmUp = 5;           // unmeasured calls of each kind first
constexpr std::uint32_t kSpacingMs = 2;        // before each call of the sink phase
constexpr std::uint32_t kRunTimeoutMs = 10000; // for one settings run or its floor
constexpr std::uint32_t kWaitPerRunMs = 20;    // for the held workers once they are let go
// The plugin sends one console command per setting, eighteen per run.
constexpr std::uint32_t kCommandsPerRun = 18;

using Timer = std::function<double()>; // one call, its time in ms; negative when it failed

struct Samples {
    std::vector<std::vector<double>> series; // per timer, the measured calls
    bool failed = false;
};

struct LoadCounter {
    std::uint32_t done = 0;
    std::uint32_t total = 0;
};

double SinkCallMs(LoadCounter& loads, std::uint32_t slowSinkMs) {
    std::vector<double> calls = RunGameLoad(++loads.done, loads.total, slowSinkMs);
    return calls.empty() ? -1 : calls.front();
}

void Note(const std::string& text) {
    RecordAs(Source::Sim, Kind::Bench, text);
}

// Each round calls every timer once, on the game thread; the timer that goes first moves on by one
// every round, so that all meet the same conditions. The first kWarmUp rounds are not kept.
Samples Rotate(std::uint32_t rounds, const std::vector<Timer>& timers) {
    Samples samples;
    samples.series.resize(timers.size());
    RunOnGameThread([&] {
        std::vector<double> round(timers.size());
        for (std::uint32_t i = 0; i < kWarmUp + rounds && !samples.failed; ++i) {
            for (std::size_t turn = 0; turn < timers.size() && !samples.failed; ++turn) {
                std::size_t which = (i + turn) % timers.size();
                round[which] = timers[which]();
                samples.failed = round[which] < 0;
            }
            for (std::size_t k = 0; k < timers.size() && !samples.failed && i >= kWarmUp; ++k) {
                samples.series[k].push_back(round[k]);
            }
        }
    });
    return samples;
}

// The game thread's time in the sink. The workers the sink starts are held in their 2000 ms wait
// until the phase has ended, so that no settings run overlaps a measured call; then they run.
Samples SinkPhase(const BenchmarkPlan& plan, LoadCounter& loads) {
    std::uint32_t commands = ConsoleCommandCount();
    std::uint32_t threads = ThreadCount();
    Note("sink phase: " + std::to_string(kWarmUp + plan.loads) +
         " game loads, each beside a bare CreateThread and one with a stdout line before it; "
         "workers held in their wait");
    HoldWorkerWaits();
    Timer sinkCall = [&] {
        SleepMs(kSpacingMs);
        return SinkCallMs(loads, plan.slowSinkMs);
    };
    Timer bareThread = [] {
        SleepMs(kSpacingMs);
        return BareThreadFloorMs();
    };
    Timer lineAndThread = [] {
        SleepMs(kSpacingMs);
        return LineAndThreadFloorMs();
    };
    Samples samples = Rotate(plan.loads, {sinkCall, bareThread, lineAndThread});
    if (samples.failed) {
        RecordErrorAs(Source::Sim, "benchmark: no sink was called at a game load");
    }
    SkipWorkerWaits();
    Note("sink phase over: the held workers run the settings routine");
    WaitForWorkers({std::max(plan.waitMs, loads.done * kWaitPerRunMs),
                    commands + loads.done * kCommandsPerRun, threads});
    return samples;
}

// The settings routine without its wait: each game load's worker is started through the timing
// trampoline and waited for, beside a thread running the floor's reads and commands.
Samples SettingsPhase(const BenchmarkPlan& plan, LoadCounter& loads) {
    std::uint32_t commands = ConsoleCommandCount();
    std::uint32_t threads = ThreadCount();
    Note("settings phase: " + std::to_string(kWarmUp + plan.loads) +
         " settings runs, one at a time, beside as many floor runs");
    TimeStartedThreads(true);
    std::uint32_t before = loads.done;
    Timer settingsRun = [&] {
        SinkCallMs(loads, plan.slowSinkMs);
        return WaitForTimedThread(kRunTimeoutMs);
    };
    Timer floorRun = [] { return SettingsFloorMs(kRunTimeoutMs); };
    Samples samples = Rotate(plan.loads, {settingsRun, floorRun});
    TimeStartedThreads(false);
    if (samples.failed) {
        RecordErrorAs(Source::Sim, "benchmark: a settings run or its floor did not start or end");
    }
    std::uint32_t runs = loads.done - before;
    WaitForWorkers({plan.waitMs, commands + 2 * runs * kCommandsPerRun, threads});
    return samples;
}

// The DLL's size on disk, and its imports as the loader mapped them.
bool ReadDll(const LoadedPlugin& plugin, BenchFigures& figures) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(plugin.path.c_str(), GetFileExInfoStandard, &data)) {
        RecordErrorAs(Source::Sim, "benchmark: cannot read " + plugin.path);
        return false;
    }
    figures.dllPath = plugin.path;
    figures.dllBytes = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    figures.imports = ListImports(static_cast<HMODULE>(plugin.module));
    if (figures.imports.empty()) {
        RecordErrorAs(Source::Sim, "benchmark: no imports found in " + plugin.path);
        return false;
    }
    return true;
}

bool WriteJson(const std::string& path, const std::string& json) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << json;
    file.close();
    if (!file) {
        RecordErrorAs(Source::Sim, "benchmark: cannot write " + path);
        return false;
    }
    return true;
}

} // namespace

std::uint32_t RunBenchmark(const BenchmarkPlan& plan, const LoaderTally& plugins) {
    if (plugins.loadedPlugins.size() != 1 || RegisteredSinkCount() != 1) {
        RecordErrorAs(Source::Sim, "benchmark: needs one loaded plugin with one sink, found " +
                                       std::to_string(plugins.loadedPlugins.size()) +
                                       " plugin(s) and " + std::to_string(RegisteredSinkCount()) +
                                       " sink(s)");
        return 0;
    }
    const LoadedPlugin& plugin = plugins.loadedPlugins.front();
    if (!InstallBenchDoubles(plugin.module)) {
        return 0;
    }
    LoadCounter loads{0, 2 * (kWarmUp + plan.loads)};
    BenchFigures figures;
    figures.loads = plan.loads;
    figures.warmUp = kWarmUp;
    figures.loadEntryMs = plugin.loadEntryMs;
    figures.loadEntryFloorMs = StartUpCallsMs();

    Samples sink = SinkPhase(plan, loads);
    if (sink.failed) {
        return loads.done;
    }
    Samples settingsRun = SettingsPhase(plan, loads);
    if (settingsRun.failed || !ReadDll(plugin, figures)) {
        return loads.done;
    }
    figures.sink = {SpreadOf(sink.series[0]), SpreadOf(sink.series[1])};
    figures.sinkLineFloor = SpreadOf(sink.series[2]);
    figures.settingsRun = {SpreadOf(settingsRun.series[0]), SpreadOf(settingsRun.series[1])};

    for (const std::string& line : BenchTable(figures)) {
        Note(line);
    }
    if (WriteJson(plan.jsonPath, BenchJson(figures))) {
        Note("figures written to " + plan.jsonPath);
    }
    return loads.done;
}

} // namespace sim
