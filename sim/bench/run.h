#pragma once
// The benchmark mode: measures, in this one run, what the plugin costs the game beside the least
// the same job can cost here (its floor), and writes the figures as a table to the transcript and
// as JSON to a file.
#include "sim/extender/loader.h"

#include <cstdint>
#include <string>

namespace sim {

struct BenchmarkPlan {
    std::string jsonPath;
    std::uint32_t loads = 500;       // measured calls of each kind
    std::uint32_t waitMs = 3000;     // the least time to wait for the workers of a phase
    std::uint32_t slowSinkMs = 1000; // a longer sink call is recorded as an error
};

// Runs the benchmark on the one plugin that loaded, after the extender's messages have registered
// its sink. Returns the number of game loads run. A failure is recorded as an error; the JSON is
// then not written.
std::uint32_t RunBenchmark(const BenchmarkPlan& plan, const LoaderTally& plugins);

} // namespace sim
