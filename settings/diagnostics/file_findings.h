#pragma once
// What a look at the settings file finds besides the values: keys that are none of the eighteen,
// settings standing outside [Settings], a file that holds no text.
#include "settings/settings_keys.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace settings {

// The eighteen values in send order: value n at index n - 1.
using SettingValues = std::array<std::string, kSettingKeys.size()>;

// The value of key among values: the one sent under its number.
inline const std::string& ValueOf(const SettingValues& values, const SettingKey& key) {
    return values[static_cast<std::size_t>(key.sendNumber - 1)];
}

// Names and values longer than this are shown cut, followed by "...".
inline constexpr std::size_t kShownLength = 64;

// Unknown keys named one by one; the rest are counted.
inline constexpr std::size_t kNamedUnknownKeys = 5;
// Sections looked into for settings missing from [Settings]; a settings file has a handful.
inline constexpr std::size_t kSearchedSections = 16;

struct SettingsElsewhere {
    // None for the lines above the first section line; "" for a section line "[]".
    std::optional<std::string> section;
    std::size_t keys = 0; // how many of the keys that read empty stand there
};

struct FileFindings {
    // The first kNamedUnknownKeys keys of [Settings] that are none of the eighteen, in file order,
    // "" for a line without a key name; names cut to one character past kShownLength.
    std::vector<std::string> unknownKeys;
    std::size_t moreUnknownKeys = 0; // how many more there are
    std::vector<SettingsElsewhere> elsewhere;
    bool noSettingsSection = false;          // and none of the eighteen anywhere else
    std::optional<std::string> firstSection; // when noSettingsSection: the file's first section
    bool noText = false; // no section, none of the eighteen, and NUL bytes: not text
};

struct SettingsScan;

// The findings of a scanned file whose values read as `read`.
FileFindings FindingsOf(const SettingsScan& scan, const SettingValues& read);

} // namespace settings
