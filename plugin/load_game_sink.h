#pragma once
// The sink the game calls, on its own thread, each time a saved game has been loaded.
#include "host/game_events.h"

class QELLoadGameEventClass final : public host::LoadGameEventSink {
  public:
    // Logs the event and starts a settings worker; returns to the game at once.
    host::EventControl ProcessEvent(const host::QELLoadGameEvent* event,
                                    host::LoadGameEventSource* source) override;
};

// The one sink, alive for the whole process.
extern QELLoadGameEventClass g_loadGameSink;
