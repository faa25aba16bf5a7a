#pragma once
// The warning lines that tell a player what is wrong with the settings file and what it meant for
// the values sent. A sound file gets none.
#include "settings/diagnostics/file_findings.h"

#include <string>
#include <vector>

namespace settings {

// Causes before their effects: the file as a whole (no text, no [Settings], settings in another
// section), the unknown keys, the keys that were sent empty (bDebugMode has a line of its own),
// then every value that does not fit its key's type prefix. `sent` holds the values as they went
// out.
std::vector<std::string> WarningLines(const FileFindings& findings, const SettingValues& sent);

} // namespace settings
