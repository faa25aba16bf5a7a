#pragma once
// The settings file's own text, as its marks say it is written (UTF-16 either way, or bytes behind
// a UTF-8 mark or none), read in one pass with the rules Windows' profile functions are documented
// to follow: which names and values stand where, and on which line. The plugin's
// decisions rest on what the profile functions themselves answer; this reading only explains their
// answers in the log, and holds back a write where the two part. Each rule, with its source and
// what Wine does, is a row of docs/windows-behaviour.md (rows 1-10 and 14-18). Fed byte ranges in
// any split, it keeps only what the findings need: a few lines and names cut to kKeptNameLength,
// the rest as counts and key masks.
#include "settings/diagnostics/file_findings.h"
#include "settings/diagnostics/text_decoder.h"
#include "settings/ini/profile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Names are kept one character past what a warning shows, so that a cut name still shows as cut.
inline constexpr std::size_t kKeptNameLength = kShownLength + 1;

struct ScannedSection {
    std::string name;       // its first kKeptNameLength characters
    std::size_t length = 0; // its whole length
    KeyMask keys = 0;       // the eighteen keys it holds
};

struct SettingsScan {
    bool settingsSection = false;            // a [Settings] section line is there
    std::optional<std::string> firstSection; // the first section line's name, cut as above
    // Of the first [Settings]: the first kNamedUnknownKeys key names that are none of the eighteen,
    // in file order, "" for a line without a key name, and how many more there are.
    std::vector<std::string> unknownKeys;
    std::size_t moreUnknownKeys = 0;
    // Of the eighteen keys, those the first [Settings] holds (the first line of each), and those
    // of them whose value there reads as text.
    KeyMask settingsKeys = 0;
    KeyMask settingsValues = 0;
    KeyMask aboveFirstSection = 0; // the eighteen keys above the first section line
    // The other sections in file order, each the first time it is met, the first kSearchedSections.
    std::vector<ScannedSection> otherSections;
    bool nulByte = false; // a NUL byte, or in UTF-16 a NUL character
    // The first [Settings] line, and whether it lacks its ']' or has another after it: Wine then
    // reads another name there (row 9).
    FileLine settingsLine;
    bool settingsNameUnsure = false;
    // The line of each of settingsKeys, by its index in kSettingKeys.
    std::array<FileLine, kSettingKeys.size()> keyLines;
    // The second [Settings] line, and the eighteen keys under it and any later one: no reader
    // looks there.
    FileLine laterSettingsLine;
    KeyMask laterSettingsKeys = 0;
};

class SettingsScanner {
  public:
    // The next bytes of the file; a chunk may end anywhere, inside a line or a UTF-16 unit.
    void Feed(std::string_view bytes);
    // What the file held, once it has ended.
    SettingsScan Finish();

  private:
    // A name as it streams in: its first kKeptNameLength characters, and its length without the
    // blanks before and after it.
    class Name {
      public:
        Name();
        void Add(char c);
        void Clear();
        std::size_t Length() const { return length_; }
        // The name as it stood when it was length characters long, cut to kKeptNameLength.
        std::string_view Kept(std::size_t length) const;

      private:
        std::string kept_;
        std::size_t running_ = 0; // characters from the first non-blank on
        std::size_t length_ = 0;  // up to the last non-blank
    };

    enum class Line { Start, Key, Value, Header, AfterHeader, Skip };
    enum class Place { AboveFirst, Settings, LaterSettings, Other, Ignored };

    void Char(char c);
    void LineEnd(char c);
    void EndText(bool atNul);
    void Section(std::string_view name, std::size_t length);
    // True when the key line is the first of one of the eighteen in the first [Settings]: its
    // value is then followed.
    bool Key(std::string_view name, std::size_t length);
    void ValueChar(char c);
    void EndValue();
    // Points a warning's line at the line being read; its text is taken when the line ends.
    void Mark(FileLine& line);

    TextDecoder decoder_;
    std::string decoded_; // the characters of the bytes fed last

    Line line_ = Line::Start;
    Name key_;    // from the line's first non-blank to its first '='
    Name header_; // of a '[' line, from past the '[' to its first ']'
    // The value followed: whose it is, its first and last characters past the blanks, and its
    // length from the one to the other.
    KeyMask valueKey_ = 0;
    char valueFirst_ = 0;
    char valueLast_ = 0;
    std::size_t valueRunning_ = 0; // characters from the first non-blank on
    std::size_t valueLength_ = 0;  // up to the last non-blank

    // The line being read: its number, its text up to a NUL, its last character, and the line a
    // warning points at there.
    std::size_t number_ = 1;
    Name text_;
    bool textEnded_ = false;
    char last_ = 0;
    bool afterCr_ = false;
    bool afterNonAscii_ = false; // of the line before it
    FileLine* marked_ = nullptr;

    Place place_ = Place::AboveFirst;
    std::size_t other_ = 0; // in scan_.otherSections, when place_ is Other
    SettingsScan scan_;
};

// Opens the file at path as the profile functions open it and reads it in chunks through a
// SettingsScanner. False, with the cause in failure and scan untouched, when it can't be opened or
// read to its end.
bool ScanSettingsFile(const std::string& path, SettingsScan& scan, FileFailure& failure);

} // namespace settings
