#pragma once
// The simulator's command line. Each option is one row of the table in sim/option_table.cpp: its
// name, its values, its help, the field of Options it sets and how the transcript records it.
#include "sim/doubles/fault_doubles.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sim {

// The fault doubles' plan comes from the command line as it is.
struct Options : FaultPlan {
    std::vector<std::uint32_t> messages{2}; // types sent, in order
    std::uint32_t loads = 1;
    std::uint32_t loadIntervalMs = 10;
    std::uint32_t firstLoadAfterMs = 0; // after the last message
    std::uint32_t waitMs = 3000;        // for the plugin's workers after the loads
    std::optional<std::uint32_t> expectCommands;
    std::string gameDir; // empty: the current folder
    bool stdoutUnread = false;
    bool nullLoadInterface = false;
    bool noMessagingInterface = false;
    std::optional<std::string> workingFolderAfterLoad;
    std::uint32_t warmUpThreads = 0;
    std::uint32_t consoleDelayMs = 0;
    std::uint32_t consoleFault = 0;
    std::uint32_t consoleEnd = 0;
    std::uint32_t endAfterLoadMs = 0;
    std::uint32_t slowSinkMs = 1000;
    std::string transcript; // empty: standard output
    std::string benchmark;  // empty: the command line's loads instead of the benchmark
    std::uint32_t benchLoads = 500;
    bool nullMessage = false;
};

struct ParseResult {
    Options options;
    std::string error; // empty when the command line was understood
    bool help = false;
};

ParseResult ParseOptions(const std::vector<std::string>& arguments);

using OptionValues = std::span<const std::string>;

// One option: all that the parser, --help and the transcript know of it.
struct OptionRow {
    const char* name;  // "--loads"
    const char* value; // its values as the help names them, a word each ("WALK N"); "" for a flag
    const char* help;  // its help, in the lines --help prints
    bool (*set)(Options& options, OptionValues values); // false for values it can't take
    // Its transcript entry, which starts with its name without the dashes; null or "": none.
    std::string (*recorded)(const Options& options, const std::string& name);
};

// Every option, in the order --help lists them and the transcript records them.
std::span<const OptionRow> OptionTable();

// One line per option, for --help and for error messages.
std::string UsageText();

// The transcript's "option" entries of a run, in the order of the table.
std::vector<std::string> RecordedOptions(const Options& options);

} // namespace sim
