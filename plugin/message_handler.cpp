#include "plugin/message_handler.h"
#include "catalogue/log_lines.h"

#include "host/game_events.h"
#include "korv_common/Log.h"
#include "plugin/image_base.h"
#include "plugin/load_game_sink.h"

void HandleMessage(host::Message* message) {
    try {
        if (message == nullptr || message->type != host::kMessagePostDataLoad) {
            return;
        }
        LogLineNoWait(lines::kPostDataLoad);
        std::uintptr_t base = plugin::GameImageBase();
        host::LoadGameEventSource* source = host::GetLoadGameEventSource(base);
        host::RegisterLoadGameSink(base, source, &g_loadGameSink);
        // Nothing may unwind into the extender, and the plugin must not go silent. No test gets
        // here: the log's calls throw nothing and the game's entry points are C functions.
        // GCOVR_EXCL_START
    } catch (...) {
        LogLineNoWait(lines::kSinkMayBeMissing);
    }
    // GCOVR_EXCL_STOP
}
