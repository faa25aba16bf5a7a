#pragma once
// The extender's plugin loader: every DLL in the plugin folder is loaded, its version record read
// and judged, and its load entry called with the extender's load interface.
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

// The one hook into a plugin's load: called with the plugin's module once its version record has
// been accepted, before its load entry runs, so that whoever runs the game can put test doubles
// into its imports. Returns why the plugin must be refused, or the empty text to go on.
using BeforeLoadEntry = std::function<std::string(void* module)>;

// Loads the plugins of the working folder's plugin folder, in name order, on the calling thread.
LoaderTally LoadPlugins(const BeforeLoadEntry& beforeLoad = {});

} // namespace sim
