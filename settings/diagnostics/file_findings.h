#pragma once
// What a look at the settings file finds besides the values: lines the profile functions read
// otherwise than they stand, keys that are none of the eighteen, settings standing outside
// [Settings], a file that holds no text.
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

// One line of the file, as a warning points at it.
struct FileLine {
    std::size_t number = 0; // counted from 1, as editors count; 0 for no such line
    std::string text;       // from its first non-blank on, cut to one character past kShownLength
    // In a file read as its bytes, the line before it ends in a byte above 0x7F right before a
    // lone CR or LF: a double-byte code page may read that line end as half of a character.
    bool afterNonAscii = false;
};

// A line where the profile functions' reading parts from the file's text.
struct PartedLine {
    enum class Kind {
        UnsureSection, // the first [Settings] line, which Wine reads as another name
        UnreadSection, // the first [Settings] line, none of whose values came through
        UnreadValue,   // a value the profile functions read as empty
        LaterSettings, // a second [Settings], whose keys no reader sees
    };
    Kind kind;
    const FileLine* line;            // in the scan the findings are of
    std::size_t keys = 0;            // values read empty under it, or keys under a later [Settings]
    const SettingKey* key = nullptr; // whose value, for UnreadValue
    std::size_t firstLine = 0;       // the first [Settings] line, for LaterSettings
};

struct SettingsElsewhere {
    // None for the lines above the first section line; "" for a section line "[]".
    std::optional<std::string> section;
    std::size_t keys = 0; // how many of the keys that read empty stand there
};

struct FileFindings {
    std::vector<PartedLine> parted;
    KeyMask unread = 0; // the keys whose value in the first [Settings] read as empty
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

// The keys whose value stands in the first [Settings] of the scanned file but read as empty.
KeyMask UnreadValues(const SettingsScan& scan, const SettingValues& read);

// The findings of a scanned file whose values read as `read`; their lines point into the scan.
FileFindings FindingsOf(const SettingsScan& scan, const SettingValues& read);

} // namespace settings
