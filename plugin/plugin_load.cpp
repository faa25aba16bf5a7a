#include "catalogue/log_lines.h"
#include "host/korv_records.h"
#include "korv_common/Log.h"
#include "plugin/exports.h"
#include "plugin/message_handler.h"

#include <cstdint>

namespace {
std::uint32_t g_pluginHandle =
    0; // the extender's handle for this plugin, kept for the process's life
bool Load(const host::LoadInterface* korv) {
    if (!OpenLog()) {
        return false;
    }
    LogLineNoWait(lines::kLoaded);
    if (korv == nullptr) {
        LogLineNoWait(lines::kNoLoadInterface);
        return false;
    }
    g_pluginHandle = korv->GetPluginHandle();
    auto* messaging =
        static_cast<host::MessagingInterface*>(korv->QueryInterface(host::kMessagingInterfaceId));
    if (messaging == nullptr) {
        LogLineNoWait(lines::kNoMessaging);
        return false;
    }
    messaging->RegisterListener(g_pluginHandle, host::kExtenderSender, HandleMessage);
    return true;
}

} // namespace

bool KORVPlugin_Load(const host::LoadInterface* korv) {
    bool loaded = false;
    try {
        loaded = Load(korv);
        // Nothing may unwind into the extender, and the plugin must not go silent. No test gets
        // here: the log's calls throw nothing and the extender's operations are C functions.
        // GCOVR_EXCL_START
    } catch (...) {
        LogLineNoWait(lines::kLoadStopped);
    }
    // GCOVR_EXCL_STOP
    return loaded;
}
