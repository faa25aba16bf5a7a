#include "sim/extender/messaging.h"

#include "sim/game/game_build.h"
#include "sim/platform/platform.h"
#include "sim/platform/text.h"
#include "sim/record/transcript.h"

#include <string>
#include <vector>

namespace sim {

namespace {

// Handles are spaced so that a plugin passing anything but its own handle is noticed.
constexpr std::uint32_t kFirstHandle = 0x100;

struct Listener {
    std::uint32_t handle;
    bool hasSender;
    std::string sender;
    MessageHandler handler;
};

struct PluginState {
    std::uint32_t handle;
    bool loaded; // true while loading and after a successful load
};

Lock g_lock;
std::vector<PluginState> g_plugins;
std::vector<Listener> g_listeners;
std::uint32_t g_loadingHandle = 0;
bool g_withholdLoadInterface = false;
bool g_withholdMessaging = false;

std::string HandleText(std::uint32_t handle) {
    return Hex(handle);
}

bool IsLoadedLocked(std::uint32_t handle) {
    for (const PluginState& plugin : g_plugins) {
        if (plugin.handle == handle) {
            return plugin.loaded;
        }
    }
    return false;
}

bool RegisterListener(std::uint32_t handle, const char* sender, MessageHandler handler) {
    std::string senderText = "(null)";
    if (sender != nullptr) {
        senderText = '"';
        senderText += sender;
        senderText += '"';
    }
    std::string detail = "handle " + HandleText(handle) + " sender " + senderText + " handler " +
                         Pointer(reinterpret_cast<const void*>(handler));
    bool accepted = false;
    {
        Guard guard(g_lock);
        accepted = IsLoadedLocked(handle) && handler != nullptr;
        if (accepted) {
            g_listeners.push_back(
                {handle, sender != nullptr, sender != nullptr ? sender : "", handler});
        }
    }
    Record(Kind::Listener, detail + (accepted ? "" : " refused: unknown handle or no handler"));
    return accepted;
}

const MessagingInterface g_messaging = {kMessagingInterfaceVersion, 0, &RegisterListener};

void* QueryInterface(std::uint32_t id) {
    void* result = nullptr;
    if (id == kMessagingInterfaceId && !g_withholdMessaging) {
        result = const_cast<MessagingInterface*>(&g_messaging);
    }
    Record(Kind::Query,
           "id " + std::to_string(id) + " -> " +
               (result != nullptr ? "messaging interface " + Pointer(result)
                                  : std::string(g_withholdMessaging ? "null (withheld)"
                                                                    : "null (unknown interface)")));
    return result;
}

std::uint32_t GetPluginHandle() {
    std::uint32_t handle = 0;
    {
        Guard guard(g_lock);
        handle = g_loadingHandle;
    }
    Record(Kind::Handle, handle != 0 ? HandleText(handle) + " handed out"
                                     : std::string("0 handed out: no plugin is loading"));
    return handle;
}

const LoadInterface g_loadInterface = {kExtenderVersion, kRuntimeVersion, 0, 0,
                                       &QueryInterface,  &GetPluginHandle};

} // namespace

const LoadInterface* ExtenderLoadInterface() {
    return g_withholdLoadInterface ? nullptr : &g_loadInterface;
}

void WithholdInterfaces(bool loadInterface, bool messagingInterface) {
    g_withholdLoadInterface = loadInterface;
    g_withholdMessaging = messagingInterface;
}

std::uint32_t BeginPluginLoad(std::size_t pluginIndex) {
    Guard guard(g_lock);
    g_loadingHandle = kFirstHandle + static_cast<std::uint32_t>(pluginIndex);
    g_plugins.push_back({g_loadingHandle, true});
    return g_loadingHandle;
}

void EndPluginLoad(std::uint32_t handle, bool loaded) {
    Guard guard(g_lock);
    g_loadingHandle = 0;
    for (PluginState& plugin : g_plugins) {
        if (plugin.handle == handle) {
            plugin.loaded = loaded;
        }
    }
    if (!loaded) {
        std::erase_if(g_listeners, [handle](const Listener& l) { return l.handle == handle; });
    }
}

namespace {

std::vector<Listener> ExtenderListeners() {
    std::vector<Listener> listeners;
    Guard guard(g_lock);
    for (const Listener& listener : g_listeners) {
        if (listener.hasSender && listener.sender == kExtenderSender) {
            listeners.push_back(listener);
        }
    }
    return listeners;
}

} // namespace

std::size_t SendNullExtenderMessage() {
    std::vector<Listener> listeners = ExtenderListeners();
    Record(Kind::Message, std::string("null from \"") + kExtenderSender + "\" to " +
                              std::to_string(listeners.size()) + " listener(s)");
    for (const Listener& listener : listeners) {
        listener.handler(nullptr);
    }
    return listeners.size();
}

std::size_t SendExtenderMessage(std::uint32_t type) {
    std::vector<Listener> listeners = ExtenderListeners();
    Record(Kind::Message, "type " + std::to_string(type) + " from \"" + kExtenderSender + "\" to " +
                              std::to_string(listeners.size()) + " listener(s)");
    for (const Listener& listener : listeners) {
        Message message{kExtenderSender, type, 0, nullptr};
        listener.handler(&message);
    }
    return listeners.size();
}

std::size_t ActiveListenerCount() {
    Guard guard(g_lock);
    return g_listeners.size();
}

} // namespace sim
