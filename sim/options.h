#pragma once
// The simulator's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Options {
    std::vector<std::uint32_t> messages{2}; // --messages 0,1,2,3: types sent, in order
    std::uint32_t loads = 1;                // --loads N: game loads run
    std::uint32_t loadIntervalMs = 10;      // --load-interval MS: between two game loads
    std::uint32_t firstLoadAfterMs = 0;     // --first-load-after MS: after the last message
    std::uint32_t waitMs = 3000;            // --wait MS: for the plugin's workers after the loads
    std::optional<std::uint32_t> expectCommands; // --expect-commands N: ends the wait early
    std::string gameDir;                  // --game-dir PATH: working folder (default: current)
    std::optional<std::string> documents; // --documents PATH: what SHGetFolderPathW yields
    std::optional<std::int32_t> documentsFailure; // --documents-fail HRESULT: what it returns
    bool failCreateThread = false;                // --fail-create-thread
    std::uint32_t failCreateThreads = 0; // --fail-create-threads N: only the first N calls fail
    bool leakThreadHandles = false;      // --leak-thread-handles
    std::uint32_t failWorkerMalloc = 0;  // --fail-worker-malloc N: after the N-th worker wait
    std::optional<std::uint32_t> failAllocation; // --fail-allocation N: the N-th (0: none) fails
    bool failLaterAllocations = false;           // --fail-allocations-from N: and every later one
    std::optional<std::string> failWalk;         // --fail-call WALK N: the walk (profile, rewrite,
    std::uint32_t failWalkCall = 0;              // log-writes) and its N-th call (0: none) fails
    std::optional<std::uint32_t> failCount; // --fail-count C: C calls in a row (0: every later)
    std::uint32_t slowLogWritesMs = 0;      // --slow-log-writes MS: per WriteFile call
    bool stdoutUnread = false;              // --stdout-unread
    // --load-interface null: the load entry gets no load interface; --load-interface
    // no-messaging: its query-interface answers null for every identifier.
    bool nullLoadInterface = false;
    bool noMessagingInterface = false;
    std::optional<std::string> workingFolderAfterLoad; // --working-folder-after-load PATH
    std::uint32_t warmUpThreads = 0;                   // --warm-up-threads N
    std::uint32_t consoleDelayMs = 0;                  // --console-delay MS: per console command
    std::uint32_t consoleFault = 0;  // --console-fault N: the executor faults on command N
    std::uint32_t slowSinkMs = 1000; // --slow-sink MS: a longer sink call is an error
    std::string transcript;          // --transcript FILE (default: standard output)
    std::string benchmark;           // --benchmark FILE: run the benchmark, write its figures here
    std::uint32_t benchLoads = 500;  // --bench-loads N: measured calls of each kind
    bool nullMessage = false;        // --null-message: a null message goes before the others
};

struct ParseResult {
    Options options;
    std::string error; // empty when the command line was understood
    bool help = false;
};

ParseResult ParseOptions(const std::vector<std::string>& arguments);

// One line per option, for --help and for error messages.
const char* UsageText();

} // namespace sim
