#pragma once
// What every fault and load test asks of one run of the real plugin, read from the simulator's
// transcript and the plugin's log: how long the game's thread spent in the sink, whether the
// settings went out as whole runs, whether every log line is one the plugin writes, and what the
// process held before and after the game loads.
#include "tests/simulated_game/transcript_reader.h"

#include <cstddef>
#include <string>
#include <vector>

namespace testing {

struct SinkTimes {
    std::size_t calls = 0;
    double maxMs = 0; // the longest the game's thread spent in the plugin's sink
};
SinkTimes SinkDurations(const TranscriptReader& transcript);

// Empty when commands are whole runs of `run`, one after the other (each run's commands in order,
// never mixed with another run's); otherwise says where they went wrong.
std::string RunsProblem(const std::vector<std::string>& commands,
                        const std::vector<std::string>& run);

// The lines that are none of the known ones (a torn, mixed or unexpected line).
std::vector<std::string> UnknownLines(const std::vector<std::string>& lines,
                                      const std::vector<std::string>& known);

std::size_t CountOf(const std::vector<std::string>& lines, const std::string& line);

// Handles and private bytes the process held after the wait more than before the first load.
struct ResourceRise {
    long long handles = 0;
    long long privateBytes = 0;
};
ResourceRise ResourcesRise(const TranscriptReader& transcript);

// The eighteen commands of a settings file holding a weapon-drawn value of 2 and the defaults
// otherwise, in send order (number 6 carries iIsWeaponDrawn).
std::vector<std::string> PlayerCommands();
// That settings file, as a player's editor leaves it.
std::string PlayerSettingsFile();

} // namespace testing
