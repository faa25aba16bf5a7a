#pragma once
// The extender's plugin loader: every DLL in the plugin folder is loaded, its version record read
// and judged, and its load entry called with the extender's load interface.
#include "sim/fault_doubles.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace sim {

struct LoadedPlugin {
    std::string path;       // the DLL file
    void* module = nullptr; // where it is mapped
    double loadEntryMs = 0; // time KORVPlugin_Load took, on the extender's thread
};

struct LoaderTally {
    std::size_t found = 0;   // DLLs in the plugin folder
    std::size_t refused = 0; // not loadable, no exports, or a record the extender does not accept
    std::size_t failed = 0;  // KORVPlugin_Load returned false
    std::size_t loaded = 0;  // KORVPlugin_Load returned true
    std::vector<LoadedPlugin> loadedPlugins; // those that loaded, in load order
};

// Called with a plugin's module after its fault doubles, before its load entry runs; false refuses
// the plugin (having recorded why).
using BeforeLoadEntry = std::function<bool(void* module)>;

// Loads the plugins of the working folder's plugin folder, in name order, on the calling thread.
// The fault doubles are put into each plugin after it is mapped and before its load entry runs.
LoaderTally LoadPlugins(const FaultPlan& faults, const BeforeLoadEntry& beforeLoad = {});

} // namespace sim
