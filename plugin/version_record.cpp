#include "host/game_build.h"
#include "korv_common/plugin_name.h"
#include "plugin/exports.h"

// Read by the extender before it loads the plugin.
constinit const host::PluginVersionData KORVPlugin_Version{
    .recordVersion = host::kVersionRecordVersion,
    .pluginVersion = 1,
    .pluginName = HELMSHROUD_PLUGIN_NAME,
    .author = "The Helmshroud developers",
    .addressIndependence = 0,
    .structureIndependence = 0,
    .compatibleVersions = {host::kCompatibleRuntime},
    .reserved = {},
};
