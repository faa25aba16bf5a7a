#include "sim/options.h"

#include "sim/doubles/call_walk.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace sim {

namespace {

bool ParseUnsigned(const std::string& text, std::uint32_t& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

// An HRESULT as written in hexadecimal (0x80070005) or decimal, negative or not.
bool ParseHresult(const std::string& text, std::int32_t& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < std::numeric_limits<std::int32_t>::min() ||
        parsed > static_cast<long long>(std::numeric_limits<std::uint32_t>::max())) {
        return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed & 0xFFFFFFFF));
    return true;
}

bool ParseList(const std::string& text, std::vector<std::uint32_t>& values) {
    values.clear();
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t comma = text.find(',', start);
        std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        std::uint32_t value = 0;
        if (!ParseUnsigned(item, value)) {
            return false;
        }
        values.push_back(value);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return true;
}

bool TakesValue(const std::string& name) {
    static const char* const kNames[] = {"--messages",
                                         "--loads",
                                         "--load-interval",
                                         "--first-load-after",
                                         "--wait",
                                         "--expect-commands",
                                         "--game-dir",
                                         "--documents",
                                         "--documents-fail",
                                         "--console-delay",
                                         "--console-fault",
                                         "--slow-sink",
                                         "--transcript",
                                         "--benchmark",
                                         "--bench-loads",
                                         "--fail-create-threads",
                                         "--fail-worker-malloc",
                                         "--fail-allocation",
                                         "--fail-allocations-from",
                                         "--fail-count",
                                         "--slow-log-writes",
                                         "--working-folder-after-load",
                                         "--warm-up-threads",
                                         "--load-interface"};
    for (const char* known : kNames) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

} // namespace

const char* UsageText() {
    return "Quorvalen.exe [options]: runs the KORV plugins of a game folder in a simulated game\n"
           "  --messages LIST         message types the extender sends, e.g. 0,1,2,3 (default 2;\n"
           "                          an empty list sends none)\n"
           "  --loads N               game loads to run (default 1)\n"
           "  --load-interval MS      time between two game loads (default 10)\n"
           "  --first-load-after MS   time between the last message and the first load (default "
           "0)\n"
           "  --wait MS               how long to wait for the plugin's workers (default 3000)\n"
           "  --expect-commands N     end the wait once N console commands have arrived and the\n"
           "                          plugin's threads have ended\n"
           "  --game-dir PATH         the game folder, made the working folder (default: current)\n"
           "  --documents PATH        the plugin's SHGetFolderPathW yields PATH\n"
           "  --documents-fail HR     the plugin's SHGetFolderPathW fails with HR\n"
           "  --fail-create-thread    the plugin's CreateThread fails on the game's thread (not\n"
           "                          enough memory): a game load's worker is not started\n"
           "  --fail-create-threads N only the first N of those calls fail\n"
           "  --leak-thread-handles   every thread handle the plugin's CreateThread hands out on\n"
           "                          the game's thread gets a duplicate that is never closed\n"
           "  --fail-worker-malloc N  the plugin's first malloc after the N-th of its 2000 ms\n"
           "                          waits has ended, on that thread, returns null\n"
           "  --fail-allocation N     counts the plugin's calls of the C runtime's allocating\n"
           "                          functions from its load entry on, and the N-th returns null\n"
           "                          (0: none does); the worker's 2000 ms wait takes 20 ms\n"
           "  --fail-allocations-from N  the same, and every allocation after the N-th fails too\n"
           "  --fail-call WALK N      counts the plugin's calls of one walk from its load entry "
           "on,\n"
           "                          and the N-th fails as Windows fails it (0: none does); the\n"
           "                          worker's 2000 ms wait takes 20 ms. WALK is profile (its\n"
           "                          profile reads and writes), rewrite (its opens, reads, "
           "writes,\n"
           "                          flushes, moves and deletes of .ini and\n"
           "                          .ini.helmshroud-new files) or log-writes (its WriteFile\n"
           "                          calls on .log files)\n"
           "  --fail-count C          with --fail-call: the N-th call and the C-1 after it fail "
           "(0:\n"
           "                          every call from the N-th on; default 1)\n"
           "  --slow-log-writes MS    every WriteFile call of the plugin to a .log file (its "
           "log's\n"
           "                          writes) takes MS longer\n"
           "  --load-interface KIND   what the extender hands the load entry: full (default), "
           "null\n"
           "                          (no load interface) or no-messaging (its query-interface\n"
           "                          answers null for every identifier)\n"
           "  --stdout-unread         standard output is a pipe nobody reads until the loads and\n"
           "                          the wait are over\n"
           "  --working-folder-after-load PATH\n"
           "                          the game changes its working folder to PATH once the\n"
           "                          plugins have loaded and the messages are sent\n"
           "  --warm-up-threads N     before the starting level is measured, N threads are "
           "started\n"
           "                          together and ended, so that the runtime's memory for that\n"
           "                          many threads is already taken\n"
           "  --console-delay MS      the console executor takes MS per command (default 0)\n"
           "  --console-fault N       the console executor faults (an access violation) on the\n"
           "                          N-th command it receives; the crash report names the stack\n"
           "  --slow-sink MS          a sink call longer than MS is an error (default 1000)\n"
           "  --transcript FILE       where the transcript goes (default: standard output)\n"
           "  --benchmark FILE        instead of --loads, benchmark the one plugin of the folder\n"
           "                          and write its figures to FILE as JSON (a relative FILE is\n"
           "                          taken from the game folder); the table goes to the\n"
           "                          transcript\n"
           "  --bench-loads N         measured calls of each kind in the benchmark (default 500)\n"
           "  --null-message          the extender hands its listeners a null message before the\n"
           "                          others\n";
}

ParseResult ParseOptions(const std::vector<std::string>& arguments) {
    ParseResult result;
    Options& options = result.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            result.help = true;
            return result;
        }
        if (name == "--fail-create-thread") {
            options.failCreateThread = true;
            continue;
        }
        if (name == "--leak-thread-handles") {
            options.leakThreadHandles = true;
            continue;
        }
        if (name == "--stdout-unread") {
            options.stdoutUnread = true;
            continue;
        }
        if (name == "--null-message") {
            options.nullMessage = true;
            continue;
        }
        if (name == "--fail-call") {
            if (i + 2 >= arguments.size() || options.failWalk ||
                !IsCallWalkName(arguments[i + 1]) ||
                !ParseUnsigned(arguments[i + 2], options.failWalkCall)) {
                result.error = "--fail-call needs a walk (profile, rewrite or log-writes) and a "
                               "call number";
                return result;
            }
            options.failWalk = arguments[i + 1];
            i += 2;
            continue;
        }
        if (!TakesValue(name)) {
            result.error = "unknown option " + name;
            return result;
        }
        if (i + 1 >= arguments.size()) {
            result.error = name + " needs a value";
            return result;
        }
        const std::string& value = arguments[++i];
        bool ok = true;
        std::uint32_t number = 0;
        if (name == "--messages") {
            ok = ParseList(value, options.messages);
        } else if (name == "--loads") {
            ok = ParseUnsigned(value, options.loads);
        } else if (name == "--load-interval") {
            ok = ParseUnsigned(value, options.loadIntervalMs);
        } else if (name == "--first-load-after") {
            ok = ParseUnsigned(value, options.firstLoadAfterMs);
        } else if (name == "--wait") {
            ok = ParseUnsigned(value, options.waitMs);
        } else if (name == "--expect-commands") {
            ok = ParseUnsigned(value, number);
            options.expectCommands = number;
        } else if (name == "--game-dir") {
            options.gameDir = value;
            ok = !value.empty();
        } else if (name == "--documents") {
            options.documents = value;
            ok = !value.empty();
        } else if (name == "--documents-fail") {
            std::int32_t code = 0;
            ok = ParseHresult(value, code) && code < 0;
            options.documentsFailure = code;
        } else if (name == "--console-delay") {
            ok = ParseUnsigned(value, options.consoleDelayMs);
        } else if (name == "--console-fault") {
            ok = ParseUnsigned(value, options.consoleFault) && options.consoleFault > 0;
        } else if (name == "--slow-sink") {
            ok = ParseUnsigned(value, options.slowSinkMs);
        } else if (name == "--benchmark") {
            options.benchmark = value;
            ok = !value.empty();
        } else if (name == "--bench-loads") {
            ok = ParseUnsigned(value, options.benchLoads) && options.benchLoads > 0;
        } else if (name == "--fail-create-threads") {
            ok = ParseUnsigned(value, options.failCreateThreads) && options.failCreateThreads > 0;
        } else if (name == "--fail-worker-malloc") {
            ok = ParseUnsigned(value, options.failWorkerMalloc) && options.failWorkerMalloc > 0;
        } else if (name == "--fail-allocation" || name == "--fail-allocations-from") {
            ok = ParseUnsigned(value, number) && !options.failAllocation;
            options.failAllocation = number;
            options.failLaterAllocations = name == "--fail-allocations-from";
        } else if (name == "--fail-count") {
            ok = ParseUnsigned(value, number) && !options.failCount;
            options.failCount = number;
        } else if (name == "--slow-log-writes") {
            ok = ParseUnsigned(value, options.slowLogWritesMs) && options.slowLogWritesMs > 0;
        } else if (name == "--working-folder-after-load") {
            options.workingFolderAfterLoad = value;
            ok = !value.empty();
        } else if (name == "--load-interface") {
            options.nullLoadInterface = value == "null";
            options.noMessagingInterface = value == "no-messaging";
            ok = value == "full" || options.nullLoadInterface || options.noMessagingInterface;
        } else if (name == "--warm-up-threads") {
            ok = ParseUnsigned(value, options.warmUpThreads);
        } else { // --transcript
            options.transcript = value;
            ok = !value.empty();
        }
        if (!ok) {
            result.error = "bad value for " + name + ": " + value;
            return result;
        }
    }
    if (options.documents && options.documentsFailure) {
        result.error = "--documents and --documents-fail exclude each other";
    }
    if (options.failCreateThread && options.failCreateThreads > 0) {
        result.error = "--fail-create-thread and --fail-create-threads exclude each other";
    }
    // Each of these puts its own double at the worker's wait.
    int waitDoubles = (options.failAllocation ? 1 : 0) + (options.failWorkerMalloc > 0 ? 1 : 0) +
                      (options.benchmark.empty() ? 0 : 1) + (options.failWalk ? 1 : 0);
    if (waitDoubles > 1) {
        result.error = "--fail-allocation, --fail-call, --fail-worker-malloc and --benchmark "
                       "exclude each other";
    }
    if (options.failCount && !options.failWalk) {
        result.error = "--fail-count needs --fail-call";
    }
    // Both put their double at the plugin's WriteFile.
    if (options.failWalk && options.slowLogWritesMs > 0) {
        result.error = "--fail-call and --slow-log-writes exclude each other";
    }
    return result;
}

} // namespace sim
