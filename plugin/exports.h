#pragma once
// The plugin's two exports, read and called by the script extender under these undecorated names.
#include "host/korv_records.h"

#define KORV_EXPORT extern "C" __declspec(dllexport)

KORV_EXPORT const host::PluginVersionData KORVPlugin_Version;

// Opens the log and subscribes to the extender's messages. False when the plugin must not run.
KORV_EXPORT bool KORVPlugin_Load(const host::LoadInterface* korv);
