#include "sim/options.h"

#include "sim/doubles/call_walk.h"
#include "sim/platform/platform.h"
#include "sim/platform/text.h"

namespace sim {

namespace {

template <auto Field> bool Number(Options& options, OptionValues values) {
    return ParseUnsigned(values[0], options.*Field);
}

template <auto Field> bool Positive(Options& options, OptionValues values) {
    return ParseUnsigned(values[0], options.*Field) && options.*Field > 0;
}

template <auto Field> bool Text(Options& options, OptionValues values) {
    options.*Field = values[0];
    return !values[0].empty();
}

template <auto Field> bool Flag(Options& options, OptionValues) {
    options.*Field = true;
    return true;
}

// The entries of the options that record their name alone, or with their value as it is set.
template <auto Field> std::string Flagged(const Options& options, const std::string& name) {
    return options.*Field ? name : std::string();
}

template <auto Field> std::string Counted(const Options& options, const std::string& name) {
    return options.*Field == 0 ? std::string() : name + " " + std::to_string(options.*Field);
}

template <auto Field> std::string Timed(const Options& options, const std::string& name) {
    return options.*Field == 0 ? std::string()
                               : name + " " + std::to_string(options.*Field) + " ms";
}

template <auto Field> std::string Given(const Options& options, const std::string& name) {
    return options.*Field ? name + " " + *(options.*Field) : std::string();
}

std::string Listed(const std::vector<std::uint32_t>& numbers) {
    std::string text;
    for (std::uint32_t number : numbers) {
        text += (text.empty() ? "" : ",") + std::to_string(number);
    }
    return text.empty() ? "none" : text;
}

bool SetFailAllocation(Options& options, OptionValues values, bool later) {
    std::uint32_t number = 0;
    bool ok = ParseUnsigned(values[0], number) && !options.failAllocation;
    options.failAllocation = number;
    options.failLaterAllocations = later;
    return ok;
}

std::string FailAllocationEntry(const Options& options, const std::string& name, bool later) {
    return options.failAllocation && options.failLaterAllocations == later
               ? name + " " + std::to_string(*options.failAllocation)
               : std::string();
}

const OptionRow kOptions[] = {
    {"--messages", "LIST",
     "message types the extender sends, e.g. 0,1,2,3 (default 2;\nan empty list sends none)",
     [](Options& o, OptionValues v) { return ParseList(v[0], o.messages); },
     [](const Options& o, const std::string& name) { return name + " " + Listed(o.messages); }},
    {"--loads", "N", "game loads to run (default 1)", Number<&Options::loads>,
     [](const Options& o, const std::string& name) {
         return o.benchmark.empty()
                    ? name + " " + std::to_string(o.loads) + " interval " +
                          std::to_string(o.loadIntervalMs) + " ms, first " +
                          std::to_string(o.firstLoadAfterMs) + " ms after the messages"
                    : std::string();
     }},
    {"--load-interval", "MS", "time between two game loads (default 10)",
     Number<&Options::loadIntervalMs>, nullptr},
    {"--first-load-after", "MS", "time between the last message and the first load (default 0)",
     Number<&Options::firstLoadAfterMs>, nullptr},
    {"--wait", "MS", "how long to wait for the plugin's workers (default 3000)",
     Number<&Options::waitMs>, nullptr},
    {"--expect-commands", "N",
     "end the wait once N console commands have arrived and the\nplugin's threads have ended",
     [](Options& o, OptionValues v) {
         std::uint32_t number = 0;
         bool ok = ParseUnsigned(v[0], number);
         o.expectCommands = number;
         return ok;
     },
     nullptr},
    {"--game-dir", "PATH", "the game folder, made the working folder (default: current)",
     Text<&Options::gameDir>,
     [](const Options&, const std::string& name) { return name + " " + WorkingFolder(); }},
    {"--documents", "PATH", "the plugin's SHGetFolderPathW yields PATH", Text<&Options::documents>,
     Given<&Options::documents>},
    {"--documents-fail", "HR", "the plugin's SHGetFolderPathW fails with HR",
     [](Options& o, OptionValues v) {
         std::int32_t code = 0;
         bool ok = ParseHresult(v[0], code) && code < 0;
         o.documentsFailure = code;
         return ok;
     },
     nullptr},
    {"--fail-create-thread", "",
     "the plugin's CreateThread fails on the game's thread (not\nenough memory): a game load's "
     "worker is not started",
     Flag<&Options::failCreateThread>, Flagged<&Options::failCreateThread>},
    {"--fail-create-threads", "N", "only the first N of those calls fail",
     Positive<&Options::failCreateThreads>, Counted<&Options::failCreateThreads>},
    {"--leak-thread-handles", "",
     "every thread handle the plugin's CreateThread hands out on\nthe game's thread gets a "
     "duplicate that is never closed",
     Flag<&Options::leakThreadHandles>, Flagged<&Options::leakThreadHandles>},
    {"--fail-worker-malloc", "N",
     "the plugin's first malloc after the N-th of its 2000 ms\nwaits has ended, on that thread, "
     "returns null",
     Positive<&Options::failWorkerMalloc>, Counted<&Options::failWorkerMalloc>},
    {"--fail-allocation", "N",
     "counts the plugin's calls of the C runtime's allocating\nfunctions from its load entry on, "
     "and the N-th returns null\n(0: none does); the worker's 2000 ms wait takes 20 ms",
     [](Options& o, OptionValues v) { return SetFailAllocation(o, v, false); },
     [](const Options& o, const std::string& name) { return FailAllocationEntry(o, name, false); }},
    {"--fail-allocations-from", "N", "the same, and every allocation after the N-th fails too",
     [](Options& o, OptionValues v) { return SetFailAllocation(o, v, true); },
     [](const Options& o, const std::string& name) { return FailAllocationEntry(o, name, true); }},
    {"--fail-call", "WALK N",
     "counts the plugin's calls of one walk from its load entry on,\nand the N-th fails as "
     "Windows fails it (0: none does); the\nworker's 2000 ms wait takes 20 ms. WALK is profile "
     "(its\nprofile reads and writes), rewrite (its opens, reads, writes,\nflushes, moves and "
     "deletes of .ini and .ini.helmshroud-new\nfiles) or log-writes (its WriteFile calls on "
     ".log\nfiles)",
     [](Options& o, OptionValues v) {
         bool ok = !o.failWalk && IsCallWalkName(v[0]) && ParseUnsigned(v[1], o.failWalkCall);
         o.failWalk = v[0];
         return ok;
     },
     [](const Options& o, const std::string& name) {
         return o.failWalk ? name + " " + *o.failWalk + " " + std::to_string(o.failWalkCall) +
                                 (o.failCount ? ", fail-count " + std::to_string(*o.failCount)
                                              : std::string())
                           : std::string();
     }},
    {"--fail-count", "C",
     "with --fail-call: the N-th call and the C-1 after it fail (0:\nevery call from the N-th "
     "on; default 1)",
     [](Options& o, OptionValues v) {
         std::uint32_t number = 0;
         bool ok = ParseUnsigned(v[0], number) && !o.failCount;
         o.failCount = number;
         return ok;
     },
     nullptr},
    {"--slow-log-writes", "MS",
     "every WriteFile call of the plugin to a .log file (its log's\nwrites) takes MS longer",
     Positive<&Options::slowLogWritesMs>, Timed<&Options::slowLogWritesMs>},
    {"--load-interface", "KIND",
     "what the extender hands the load entry: full (default), null\n(no load interface) or "
     "no-messaging (its query-interface\nanswers null for every identifier)",
     [](Options& o, OptionValues v) {
         o.nullLoadInterface = v[0] == "null";
         o.noMessagingInterface = v[0] == "no-messaging";
         return v[0] == "full" || o.nullLoadInterface || o.noMessagingInterface;
     },
     [](const Options& o, const std::string& name) {
         return o.nullLoadInterface      ? name + " null"
                : o.noMessagingInterface ? name + " no-messaging"
                                         : std::string();
     }},
    {"--stdout-unread", "",
     "standard output is a pipe nobody reads until the loads and\nthe wait are over",
     Flag<&Options::stdoutUnread>, Flagged<&Options::stdoutUnread>},
    {"--working-folder-after-load", "PATH",
     "the game changes its working folder to PATH once the\nplugins have loaded and the messages "
     "are sent",
     Text<&Options::workingFolderAfterLoad>, Given<&Options::workingFolderAfterLoad>},
    {"--warm-up-threads", "N",
     "before the starting level is measured, N threads are started\ntogether and ended, so that "
     "the runtime's memory for that\nmany threads is already taken",
     Number<&Options::warmUpThreads>, Counted<&Options::warmUpThreads>},
    {"--console-delay", "MS", "the console executor takes MS per command (default 0)",
     Number<&Options::consoleDelayMs>, Timed<&Options::consoleDelayMs>},
    {"--console-fault", "N",
     "the console executor faults (an access violation) on the\nN-th command it receives; the "
     "crash report names the stack",
     Positive<&Options::consoleFault>,
     [](const Options& o, const std::string& name) {
         return o.consoleFault == 0 ? std::string()
                                    : name + " on command " + std::to_string(o.consoleFault);
     }},
    {"--console-end", "N",
     "the game ends its process inside the N-th console command,\nas a crash ends it: no DLL "
     "hears of it",
     Positive<&Options::consoleEnd>,
     [](const Options& o, const std::string& name) {
         return o.consoleEnd == 0 ? std::string()
                                  : name + " in command " + std::to_string(o.consoleEnd);
     }},
    {"--end-after-load", "MS",
     "the game ends its process MS after the first load's sinks\nreturned, as a crash ends it: no "
     "DLL hears of it",
     Positive<&Options::endAfterLoadMs>, Timed<&Options::endAfterLoadMs>},
    {"--slow-sink", "MS", "a sink call longer than MS is an error (default 1000)",
     Number<&Options::slowSinkMs>, nullptr},
    {"--transcript", "FILE", "where the transcript goes (default: standard output)",
     Text<&Options::transcript>, nullptr},
    {"--benchmark", "FILE",
     "instead of --loads, benchmark the one plugin of the folder\nand write its figures to FILE "
     "as JSON (a relative FILE is\ntaken from the game folder); the table goes to the\ntranscript",
     Text<&Options::benchmark>,
     [](const Options& o, const std::string& name) {
         return o.benchmark.empty()
                    ? std::string()
                    : name + " " + o.benchmark + ", " + std::to_string(o.benchLoads) +
                          " measured calls of each kind";
     }},
    {"--bench-loads", "N", "measured calls of each kind in the benchmark (default 500)",
     Positive<&Options::benchLoads>, nullptr},
    {"--null-message", "", "the extender hands its listeners a null message before the\nothers",
     Flag<&Options::nullMessage>, Flagged<&Options::nullMessage>},
};

} // namespace

std::span<const OptionRow> OptionTable() {
    return kOptions;
}

} // namespace sim
