#pragma once
// Takes the runtime's memory for many threads before the starting level is measured. Under Wine a
// process keeps about 16 KiB for every thread that was ever alive at the same time as the others
// (and reuses it for later threads), so a burst of workers raises its private bytes once, whoever
// starts them. Warming up with as many threads as the plugin's workers can reach keeps that rise
// out of the before/after comparison.
#include <cstdint>

namespace sim {

// Starts count threads, lets them all run at once, and returns when every one has ended.
void WarmUpThreads(std::uint32_t count);

} // namespace sim
