#pragma once
// The floors the benchmark measures the plugin against: the least work that does the same job,
// done in this process on the same kind of thread.
#include <cstdint>

namespace sim {

// Starts a thread running an empty routine, with the stack size the plugin asks for, and closes
// its handle, on the calling thread. The time it took in ms.
double BareThreadFloorMs();

// The same after writing one line, as long as the one the plugin's sink logs, to standard output
// (in the simulator a pipe read by its capture thread), as the sink does before it starts its
// worker.
double LineAndThreadFloorMs();

// On a new thread, timed on that thread: reads the settings of Helmshroud.ini (every key of its
// first section) in the plugin folder with GetPrivateProfileStringA and hands each, numbered, to
// the game's console executor. Waits for the thread to end. The routine's time in ms, or a negative
// value when the thread could not be started or did not end within timeoutMs.
double SettingsFloorMs(std::uint32_t timeoutMs);

} // namespace sim
