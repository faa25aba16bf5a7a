#include "plugin/load_game_sink.h"
#include "catalogue/log_lines.h"

#include "korv_common/Log.h"
#include "plugin/install_worker.h"

QELLoadGameEventClass g_loadGameSink;

host::EventControl QELLoadGameEventClass::ProcessEvent(const host::QELLoadGameEvent* /*event*/,
                                                       host::LoadGameEventSource* /*source*/) {
    try {
        // Queued only: the log's writers take it within moments, off the game's thread.
        LogLineNoWait(lines::kEventReceived);
        StartInstallWorker();
        // Nothing may unwind into the game. No test gets here: the log's calls and the worker's
        // start throw nothing.
    } catch (...) { // GCOVR_EXCL_LINE
    }
    return host::EventControl::Continue;
}
