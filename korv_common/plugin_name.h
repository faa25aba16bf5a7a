#pragma once
// The plugin's one name: the settings file's and the log file's base name, and the name of the
// companion game script the settings are sent to. Kept as a macro so that fixed texts built from it
// stay compile-time literals.
#define HELMSHROUD_PLUGIN_NAME "Helmshroud"
#define HELMSHROUD_LOG_NAME HELMSHROUD_PLUGIN_NAME ".log"
#define HELMSHROUD_INI_NAME HELMSHROUD_PLUGIN_NAME ".ini"
// Added to the settings file's name, the temporary file the settings file is made or rewritten in.
#define HELMSHROUD_TEMPORARY_SUFFIX ".helmshroud-new"

namespace korv {
inline constexpr char kPluginName[] = HELMSHROUD_PLUGIN_NAME;
} // namespace korv
