#pragma once
// The extender's side of a plugin's load: the load interface it hands to KORVPlugin_Load, the
// plugin handles, the messaging interface with its listeners, and message delivery.
#include "sim/extender/korv_records.h"

#include <cstddef>
#include <cstdint>

namespace sim {

// The record passed to every plugin's KORVPlugin_Load.
const LoadInterface* ExtenderLoadInterface();

// An extender that gives less than it should: no load interface at all (null is passed), or a load
// interface whose query-interface answers null for every identifier.
void WithholdInterfaces(bool loadInterface, bool messagingInterface);

// Opens the load of one plugin: get-plugin-handle hands out the handle until EndPluginLoad.
std::uint32_t BeginPluginLoad(std::size_t pluginIndex);
// Closes it. The listeners of a plugin that did not load are never called, and it can register no
// more.
void EndPluginLoad(std::uint32_t handle, bool loaded);

// Sends one message from the extender to every listener registered for its sender, on the calling
// thread. Returns the number of listeners called.
std::size_t SendExtenderMessage(std::uint32_t type);
// The same with a null message pointer instead of a message.
std::size_t SendNullExtenderMessage();

// Listeners registered by loaded plugins, for every sender.
std::size_t ActiveListenerCount();

} // namespace sim
