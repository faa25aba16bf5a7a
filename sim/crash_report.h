#pragma once
// Leaves a last transcript entry when an exception nobody handles ends the process (a plugin that
// crashes the game, or a sink table whose slot 1 is not an event handler).

namespace sim {

void InstallCrashReport();

} // namespace sim
