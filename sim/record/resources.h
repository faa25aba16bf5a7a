#pragma once
// What the process holds: its handles (counted, and a probe of its handle table) and its private
// memory.
#include <cstdint>

namespace sim {

struct Resources {
    std::uint64_t probeHandle =
        0; // value a fresh event handle gets: rises with every handle left open
    std::uint64_t privateBytes = 0;
    // Handles the process has open, from the system's list of every process's handles (0 when
    // the list cannot be had). Unlike the probe, a hole left by a closed handle cannot hide others.
    std::uint64_t handles = 0;
};

Resources MeasureResources();

} // namespace sim
