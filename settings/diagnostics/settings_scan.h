#pragma once
// The settings file's names, read from its own text in one pass: the keys of [Settings], which of
// the eighteen keys stand elsewhere, the lines without a key name. Windows and Wine list a file's
// names differently, so the warnings are built from what the bytes say, read as Windows reads them,
// and not from the profile functions' listings. Fed byte ranges in any split, it keeps only what
// the findings need: a few names cut to kKeptNameLength, the rest as counts and key masks.
//
// The rules, each with its source: Wine's conformance tests dlls/kernel32/tests/profile.c (lines
// as counted in the stored copy at 5bb6dfccbb47), which also run on Windows; Microsoft's pages of
// GetPrivateProfileString, GetPrivateProfileSection and WritePrivateProfileString.
//
// - Text form. A file that starts with FF FE is UTF-16 LE: it is decoded, and names are kept as
//   UTF-8 (an unpaired surrogate becomes U+FFFD). Every other file is read as its bytes, ANSI or
//   UTF-8 alike; a UTF-8 mark is then text of the first line, which is how Windows reads it.
//   Source: WritePrivateProfileString ("If the file was created using Unicode characters, the
//   function writes Unicode characters to the file"); settings/text_form.h. Wine differs: it reads
//   through a UTF-8 mark and UTF-16 BE (the settings routine rewrites those before this runs).
// - Line ends. CR LF, LF and CR each end a line. Source: test_GetPrivateProfileString runs on the
//   same text with CR LF and with CR only (START_TEST); test_profile_delete_on_close and
//   test_profile_refresh read "[Test]\nProfileInt=123\n". Wine agrees.
// - NUL. A NUL byte ends its line's text: what follows it up to the line end is not read. Source:
//   the profile functions hand back zero-ended strings (GetPrivateProfileString: "each string is
//   followed by a null character"), so no name they give holds or goes past a NUL. Wine differs:
//   it reads on past the NUL ("b<NUL>c=1" is key "b" to it), and a line that starts with a NUL is
//   a key without a name to its listing. A NUL in a file read as bytes is also noted: with no
//   section line it tells UTF-16 saved without its mark, or a file that is not text.
// - Blanks. Space, tab, vertical tab and form feed around a name are not part of it. Source:
//   test_profile_sections_names, "[ section1 ]" is listed as "section1" (line 280, 298). No test
//   or page speaks of key names; Wine trims them alike. Wine trims other Unicode blanks as well.
// - Letter case. Names are the same whatever the case of their ASCII letters. Source: all three
//   pages ("not case-sensitive", "case-independent"); test_GetPrivateProfileString, "NaMe1" reads
//   name1's value. Wine agrees. The eighteen keys and "Settings" are ASCII, so other letters match
//   none of them on either.
// - Comments. A line whose first character past the blanks is ';' holds nothing; '#' starts no
//   comment. Neither Microsoft nor Wine's tests say so; the independent suite above pins it on
//   Windows (Semicolon_Tests, Hashtag_Tests). Wine stores such a line as a key named ";..." that a
//   lookup by that name finds, but lists no such key either.
// - Keys. A line that holds '=' is a key line, its name the text before the first '='; a line
//   without '=' holds no key. Source: test_profile_string, "name3" without '=' is not among the
//   key names (lines 122-124, 141). Wine agrees.
// - Sections. A line whose first character past the blanks is '[' starts a section, named by the
//   text up to the first ']', or to the line's end when it has none; what follows the ']' is not
//   read. Source: GetPrivateProfileString's page ("[section]", then "key=string" lines); neither
//   Microsoft nor Wine's tests cover the rest, which an independent suite run against Windows pins
//   (WelliSolutions/IniFileFormatReverseEngineering, SquareBracket_Tests: the name ends at the
//   first ']', text behind it is ignored, the ']' is not needed). Wine differs: it ends the name at
//   the last ']' and reads a '[' line without one as an ordinary line. A '[' line cut short by a
//   NUL is not a section here (see NUL).
// - "[]". A section line with no name starts the section "". Source: test_profile_string, content2
//   (lines 125-126): Windows reads key "key" of section "" under "[]" (lines 161-166). Wine
//   differs (todo_wine there): it takes the lines above the first section line for section "", and
//   lists no "[]" among the sections.
// - Above the first section line. Those lines belong to no section. Source: the same test; Windows
//   does not answer section "" from "key=val_no_section" above "[]". Wine differs, as above.
// - "=5". A key line whose name is empty is a line without a key name; it belongs to its section
//   and the keys after it are read as ever. Source: test_profile_string, "=val_no_key" is read
//   with an empty key name (lines 169-172), test_profile_sections, "[section3]" holds "=val5"
//   (line 256), both passed by Windows and Wine. Wine differs in its key listing: when a section's
//   first key line has no name it lists no keys at all.
// - Values. A key line's value is the text after its first '=' to the line's end (or a NUL), with
//   the blanks around it taken off, and then one pair of matching quotes (double or single)
//   around the whole of it; it reads as text when something is left. Source:
//   GetPrivateProfileString's page; test_GetPrivateProfileString, name2's quoted value reads
//   without its quotes (lines 823-829). Wine agrees, and trims other Unicode blanks as well.
// - Twice. Of a section written twice the first counts; a later [Settings], like any section met
//   before, is not looked into. No test or page says so; Wine reads the first, and so do the
//   values the plugin reads. Section names longer than kKeptNameLength are told apart by their
//   first kKeptNameLength characters and their length.
#include "settings/diagnostics/file_findings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Which of the eighteen keys stand in a part of the file: bit i for kSettingKeys[i].
using KeyMask = std::uint32_t;
static_assert(kSettingKeys.size() <= 32);

// The bit of one of kSettingKeys.
inline KeyMask MaskOf(const SettingKey& key) {
    return KeyMask{1} << (&key - kSettingKeys.data());
}

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
    // of them whose value there reads as text: a read of one of these never gives the empty text.
    KeyMask settingsKeys = 0;
    KeyMask settingsValues = 0;
    KeyMask aboveFirstSection = 0; // the eighteen keys above the first section line
    // The other sections in file order, each the first time it is met, the first kSearchedSections.
    std::vector<ScannedSection> otherSections;
    bool nulByte = false; // in a file read as its bytes
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

    enum class Form { Unknown, Bytes, Utf16 };
    enum class Line { Start, Key, Value, Header, Skip };
    enum class Place { AboveFirst, Settings, Other, Ignored };

    void DecideForm();
    void Byte(char c);
    void Utf16Byte(char c);
    void Unit(std::uint16_t unit);
    void CodePoint(std::uint32_t point);
    void Char(char c);
    void EndText(bool atNul);
    void Section(std::string_view name, std::size_t length);
    // True when the key line is the first of one of the eighteen in the first [Settings]: its
    // value is then followed.
    bool Key(std::string_view name, std::size_t length);
    void ValueChar(char c);
    void EndValue();

    Form form_ = Form::Unknown;
    std::string start_; // the first byte, until the second tells the form
    bool halfUnit_ = false;
    unsigned char lowByte_ = 0;
    std::uint16_t highSurrogate_ = 0;

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

    Place place_ = Place::AboveFirst;
    std::size_t other_ = 0; // in scan_.otherSections, when place_ is Other
    SettingsScan scan_;
};

// Reads the file at path in chunks through a SettingsScanner. False, and scan untouched, when the
// file can't be opened or read to its end.
bool ScanSettingsFile(const std::string& path, SettingsScan& scan);

} // namespace settings
