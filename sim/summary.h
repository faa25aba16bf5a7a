#pragma once
// The closing summary of a run: one "summary" entry per fact, "<key> <value>", errors last.
#include "sim/doubles/call_walk.h"
#include "sim/extender/loader.h"
#include "sim/record/resources.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace sim {

struct RunFacts {
    LoaderTally plugins;
    std::size_t listeners = 0;
    std::size_t sinks = 0;
    std::uint32_t gameLoads = 0;
    std::uint32_t commands = 0;
    std::uint32_t threadsBeforeLoads = 0;
    std::uint32_t threadsAfterWait = 0;
    Resources before;              // before the first game load
    Resources after;               // after the wait
    std::optional<WalkTally> walk; // the calls a walk counted, by the role of their thread
};

// Records the summary and returns the exit code: 0 when no error was recorded, 1 otherwise.
int RecordSummary(const RunFacts& facts);

} // namespace sim
