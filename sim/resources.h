#pragma once
// What the process holds: a probe of its handle table and its private memory.
#include <cstdint>

namespace sim {

struct Resources {
    std::uint64_t probeHandle =
        0; // value a fresh event handle gets: rises with every handle left open
    std::uint64_t privateBytes = 0;
};

Resources MeasureResources();

} // namespace sim
