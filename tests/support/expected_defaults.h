#pragma once
// What a fresh installation must produce, written out as literals: the settings file the plugin
// creates and the eighteen commands it then sends.
#include <string>
#include <vector>

namespace testing {

// Helmshroud.ini as created on a fresh installation (the profile functions write CR LF).
extern const char kDefaultSettingsFile[];

// The eighteen commands a freshly created settings file sends, in order.
std::vector<std::string> DefaultCommands();

} // namespace testing
