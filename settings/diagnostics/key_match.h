#pragma once
// Which of the eighteen keys a key name found in the settings file stands for, or most likely
// meant.
#include "settings/settings_keys.h"

#include <cstddef>
#include <string_view>

namespace settings {

// The most edits (a letter added, dropped, changed, or two neighbours swapped) that still count as
// a typo. No two of the eighteen keys are within twice this of each other, so a name this close
// to one key is far from every other.
inline constexpr std::size_t kTypoEdits = 2;

// Whether two key or section names are the same to the profile functions: letters compared
// without case.
bool SameName(std::string_view a, std::string_view b);

// The key named name (in any letter case), or null when it is none of the eighteen.
const SettingKey* SettingKeyNamed(std::string_view name);

// The key a name that is none of the eighteen most likely meant: the one within kTypoEdits edits
// (letter case ignored), or null when none is that close.
const SettingKey* ClosestSettingKey(std::string_view name);

} // namespace settings
