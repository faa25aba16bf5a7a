#pragma once
// The settings file's text read line by line with the rules Windows' profile functions are
// documented to follow: which names and values stand where, and on which line. The plugin's
// decisions rest on what the profile functions themselves answer; this reading only explains their
// answers in the log, and holds a write back where the two part. Each rule, with its source and
// what Wine does, is a row of docs/windows-behaviour.md. The scan points into the text it read.
#include "settings/settings_keys.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace settings {

// Unknown keys named one by one; the rest are counted.
inline constexpr std::size_t kNamedUnknownKeys = 5;
// Places outside [Settings] that hold the plugin's keys, told one by one; a settings file has a
// handful.
inline constexpr std::size_t kToldPlaces = 16;

// One line of the text, as a warning points at it.
struct TextLine {
    std::size_t number = 0; // counted from 1, as editors count; 0 for no such line
    std::string_view text;  // without the blanks around it, and up to a NUL
    // In a file read as its bytes, the line before it ends in a byte above 0x7F right before a
    // lone CR or LF: a double-byte code page may read that line end as half of a character.
    bool afterNonAscii = false;
};

struct UnknownKey {
    std::size_t line = 0;
    std::string_view name; // "" for a line without a key name
};

// A place no reader looks for the plugin's settings, and which of the eighteen keys stand there.
struct Place {
    enum class Kind { AboveSections, OtherSection, SecondSettings };
    Kind kind;
    TextLine line; // the section line; above the first section, the first of the keys
    KeyMask keys = 0;
};

struct SettingsScan {
    std::size_t nulLine = 0; // the first line holding a NUL character
    bool anySection = false;
    std::string_view firstSection; // the first section line's name
    // The first [Settings] line, and whether it lacks its ']' or has another after it: Wine then
    // reads another name there (row 9).
    TextLine settingsLine;
    bool settingsNameUnsure = false;
    // Of the first [Settings]: each of the eighteen keys' first line (number 0 where it has none),
    // by its index in kSettingKeys, those whose value there reads as text, and the first line of
    // each that sets it again (which no reader reads).
    std::array<TextLine, kSettingKeys.size()> keyLines;
    KeyMask valued = 0;
    std::array<TextLine, kSettingKeys.size()> twiceLines;
    // Its keys that are none of the eighteen, in file order, and how many more there are.
    std::vector<UnknownKey> unknownKeys;
    std::size_t moreUnknownKeys = 0;
    // The places outside it that hold any of the eighteen keys, in file order.
    std::vector<Place> places;
    // The first bDebugMode line outside it.
    TextLine strayDebugMode;
};

// The scan of a file's text; bytes: the text is the file's own bytes (not UTF-16).
SettingsScan ScanSettingsText(std::string_view text, bool bytes);

// The keys whose value stands in the first [Settings] as text but was read empty.
KeyMask UnreadValues(const SettingsScan& scan, const SettingValues& read);

} // namespace settings
