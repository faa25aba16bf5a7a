#pragma once
// What a look at the settings file finds besides the values: keys that are none of the eighteen,
// settings standing outside [Settings], a file the profile functions read no text from.
#include "settings/settings_keys.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace settings {

// The eighteen values in send order: value n at index n - 1.
using SettingValues = std::array<std::string, kSettingKeys.size()>;

// The value of key among values: the one sent under its number.
inline const std::string& ValueOf(const SettingValues& values, const SettingKey& key) {
    return values[static_cast<std::size_t>(key.sendNumber - 1)];
}

// Unknown keys named one by one; the rest are counted.
inline constexpr std::size_t kNamedUnknownKeys = 5;
// Sections looked into for settings missing from [Settings]; a settings file has a handful.
inline constexpr std::size_t kSearchedSections = 16;

struct SettingsElsewhere {
    std::string section;  // "" for the lines outside any section, above the first section line
    std::size_t keys = 0; // how many of the keys that read empty stand there
};

struct FileFindings {
    // The first kNamedUnknownKeys keys of [Settings] that are none of the eighteen, in file order;
    // the last may be only the start of a name when the key list was cut.
    std::vector<std::string> unknownKeys;
    std::size_t moreUnknownKeys = 0; // how many more there are
    bool unknownKeysCut = false;     // the key list was cut: there may be more still
    std::vector<SettingsElsewhere> elsewhere;
    bool noSettingsSection = false; // and none of the eighteen anywhere else
    std::string firstSection;       // when noSettingsSection: the file's first section, if any
    bool noText = false; // no section, no key, and NUL bytes: not text the profile functions read
};

// Looks at the settings file at path, whose values read as `read` before any repair. A file whose
// values all read non-empty costs one profile read (the key names of [Settings]).
FileFindings ExamineSettingsFile(const std::string& path, const SettingValues& read);

} // namespace settings
