#pragma once
// The lines that tell a player what the settings file's text holds beside the values the profile
// functions read, which line to fix and what to write there. A sound file gets none.
#include "settings/diagnostics/settings_scan.h"
#include "settings/routine/decision.h"

#include <string>
#include <vector>

namespace settings {

// Names and values longer than this are shown cut, followed by "...".
inline constexpr std::size_t kShownLength = 64;

// Causes before their effects: the file as a whole, the lines the profile functions read otherwise
// than they stand, the settings standing where no reader looks, keys set twice, keys that are none
// of the eighteen, the keys that go out empty (bDebugMode has a line of its own), then every value
// that does not fit its key's type prefix. read: the values as read of the player's text, without
// the repair's; sent: as they go out.
std::vector<std::string> WarningLines(const SettingsScan& scan, const SettingValues& read,
                                      const SettingValues& sent);

// The line saying why a bDebugMode read empty was not written.
std::string HeldRepairLine(const Decision& decision, const SettingsScan& scan);

} // namespace settings
