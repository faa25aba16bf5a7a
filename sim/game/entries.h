#pragma once
// The game's side of the plugin boundary: its image with the three entry points a plugin calls, the
// load-game event source and the list of sinks registered with it.
#include <vector>

namespace sim {

// Writes the entry points into the image: the event source getter, the sink registration and the
// console executor. Records an error and returns false for one that cannot be placed.
bool PlaceGameEntries();

// The load-game event source the getter hands out.
void* LoadGameEventSource();

// Every registration so far, in order; a sink registered twice appears twice.
std::vector<void*> RegisteredSinks();

} // namespace sim
