#pragma once
// The game's call of a load-game sink: QuorvalenSinkCaller.dll, built for the game's Microsoft C++
// ABI, sits beside Quorvalen.exe and reaches the sink's handler by virtual dispatch.
#include <cstdint>
#include <string>

namespace sim {

// Loads the caller from the simulator's own folder. False (with the reason in error) when it is not
// there or lacks its export; then no sink can be called.
bool LoadSinkCaller(std::string& error);

// Calls the sink's event handler through the caller and returns its event-control value.
std::uint32_t CallSinkHandler(void* sink, const void* event, void* source);

} // namespace sim
