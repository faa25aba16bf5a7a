#pragma once
// Which of the simulator's roles the calling thread plays: the extender's thread, the game thread
// or another thread (one the plugin started).
#include "sim/record/transcript.h"

namespace sim {

// Called once on the thread that acts as the extender (the main thread).
void MarkExtenderThread();
// Called on the thread that runs the game loads, when it starts.
void MarkGameThread();
// Called when the game thread ends, so that a later thread with the same identifier is not
// taken for it.
void UnmarkGameThread();

Source CurrentSource();

} // namespace sim
