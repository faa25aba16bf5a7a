#pragma once
#include "host/korv_records.h"

// Listens to the extender: once the game's data has loaded, registers the load-game sink.
void HandleMessage(host::Message* message);
