#pragma once
// The game's load-game event: where its event source is and how a sink is registered with it.
#include "host/event_sink.h"

#include <cstdint>

namespace host {

struct QELLoadGameEvent; // the game's event record; the plugin does not read it

using LoadGameEventSource = ZKTEventSource<QELLoadGameEvent>;
using LoadGameEventSink = ZKTEventSink<QELLoadGameEvent>;

// Asks the game, mapped at imageBase, for the load-game event source.
LoadGameEventSource* GetLoadGameEventSource(std::uintptr_t imageBase);

// Registers sink with source through the game's registration function.
void RegisterLoadGameSink(std::uintptr_t imageBase, LoadGameEventSource* source,
                          LoadGameEventSink* sink);

} // namespace host
