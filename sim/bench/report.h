#pragma once
// The benchmark's figures, as a table for people and as JSON for tools.
#include "sim/bench/stats.h"
#include "sim/doubles/imported_dll.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// A timing, its floor (the least any implementation of the same job pays on the same thread) and
// the goal for their ratio of medians.
struct TimedFigure {
    Spread measured; // milliseconds
    Spread floor;    // milliseconds
};

struct BenchFigures {
    std::uint32_t loads = 0;     // measured calls of each kind
    std::uint32_t warmUp = 0;    // unmeasured calls of each kind before them
    TimedFigure sink;            // the game thread's time in the sink, per game load
    Spread sinkLineFloor;        // the sink's floor with one line to standard output before it
    TimedFigure settingsRun;     // the settings routine, per run, without its wait
    double loadEntryMs = 0;      // KORVPlugin_Load, called once
    double loadEntryFloorMs = 0; // of which in the calls that open the log
    std::string dllPath;
    std::uint64_t dllBytes = 0;
    std::vector<ImportedDll> imports;
};

// The goals the figures are judged against.
inline constexpr double kSinkRatioGoal = 1.5;
inline constexpr double kSettingsRatioGoal = 1.5;
inline constexpr double kLoadEntryGoalMs = 1.0;
inline constexpr std::uint64_t kDllSizeGoalBytes = 256 * 1024;

// What each floor is.
inline constexpr char kSinkFloorText[] =
    "CreateThread of an empty routine (4096-byte stack) and CloseHandle, on the game thread";
inline constexpr char kSinkLineFloorText[] =
    "the same after writing one line as long as the sink's to standard output";
inline constexpr char kLoadEntryFloorText[] =
    "the time spent inside it in SHGetFolderPathW, _wfsopen and CreateThread, the calls that "
    "open the log and start its writers";
inline constexpr char kSettingsFloorText[] =
    "18 GetPrivateProfileStringA reads of the settings file and 18 console commands, on a new "
    "thread";

// measured / floor; 0 when the floor is 0.
double Ratio(double measured, double floor);

// The table, one line per entry, without line ends.
std::vector<std::string> BenchTable(const BenchFigures& figures);

// The same figures as one JSON object, ended by a line end.
std::string BenchJson(const BenchFigures& figures);

} // namespace sim
