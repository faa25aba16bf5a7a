#include "settings/diagnostics/settings_scan.h"

#include "settings/diagnostics/key_match.h"

#include <algorithm>
#include <bit>

namespace settings {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Nothing, or nothing but a pair of matching quotes, reads as the empty text.
bool Valued(std::string_view value) {
    bool quotes =
        value.size() == 2 && value[0] == value[1] && (value[0] == '"' || value[0] == '\'');
    return !value.empty() && !quotes;
}

std::size_t IndexOf(KeyMask bit) {
    return static_cast<std::size_t>(std::countr_zero(bit));
}

// Reads the lines in order, keeping track of the section they stand in.
class Scanner {
  public:
    explicit Scanner(SettingsScan& scan) : scan_(scan) {}

    // One line, its text up to a NUL; cut: a NUL ended it.
    void Line(const TextLine& line, bool cut) {
        std::string_view text = line.text;
        if (text.empty() || text.front() == ';') {
            return;
        }
        if (text.front() == '[') {
            // A name ends at the first ']', or at the line's end without one; a line a NUL cuts
            // short of its ']' is not told, since nothing says what the profile functions make of
            // the rest.
            std::string_view inner = text.substr(1);
            std::size_t close = inner.find(']');
            if (close == kNone && cut) {
                return;
            }
            bool unsure = close == kNone || inner.find(']', close + 1) != kNone;
            Section(line, Trimmed(inner.substr(0, close)), unsure);
            return;
        }
        std::size_t equals = text.find('=');
        if (equals != kNone) {
            Key(line, Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1)));
        }
    }

  private:
    void Section(const TextLine& line, std::string_view name, bool unsure) {
        if (!scan_.anySection) {
            scan_.anySection = true;
            scan_.firstSection = name;
        }
        bool settings = SameName(name, kSettingsSection);
        inSettings_ = settings && scan_.settingsLine.number == 0;
        if (inSettings_) {
            scan_.settingsLine = line;
            scan_.settingsNameUnsure = unsure;
        }
        kind_ = settings ? Place::Kind::SecondSettings : Place::Kind::OtherSection;
        sectionLine_ = line;
        place_ = kNone;
    }

    void Key(const TextLine& line, std::string_view name, std::string_view value) {
        const SettingKey* key = SettingKeyNamed(name);
        if (inSettings_ && key == nullptr) {
            if (scan_.unknownKeys.size() < kNamedUnknownKeys) {
                scan_.unknownKeys.push_back({line.number, name});
            } else {
                ++scan_.moreUnknownKeys;
            }
            return;
        }
        if (key == nullptr) {
            return;
        }
        KeyMask bit = MaskOf(*key);
        std::size_t index = IndexOf(bit);
        if (inSettings_) {
            // A lookup finds the key's first line.
            if (scan_.keyLines[index].number == 0) {
                scan_.keyLines[index] = line;
                scan_.valued |= Valued(value) ? bit : 0;
            } else if (scan_.twiceLines[index].number == 0) {
                scan_.twiceLines[index] = line;
            }
            return;
        }
        if (key->sendNumber == kDebugModeSendNumber && scan_.strayDebugMode.number == 0) {
            scan_.strayDebugMode = line;
        }
        if (place_ == kNone && scan_.places.size() < kToldPlaces) {
            bool above = kind_ == Place::Kind::AboveSections;
            scan_.places.push_back({kind_, above ? line : sectionLine_, 0});
            place_ = scan_.places.size() - 1;
        }
        if (place_ != kNone) {
            scan_.places[place_].keys |= bit;
        }
    }

    SettingsScan& scan_;
    bool inSettings_ = false;
    Place::Kind kind_ = Place::Kind::AboveSections;
    TextLine sectionLine_;
    std::size_t place_ = kNone; // in scan_.places, once the section holds one of the keys
};

} // namespace

SettingsScan ScanSettingsText(std::string_view text, bool bytes) {
    SettingsScan scan;
    Scanner scanner(scan);
    bool afterNonAscii = false;
    // CR LF, LF and CR each end a line.
    for (std::size_t at = 0, number = 1;; ++number) {
        std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        std::string_view raw = text.substr(at, end - at);
        std::size_t nul = raw.find('\0');
        if (nul != kNone && scan.nulLine == 0) {
            scan.nulLine = number;
        }
        scanner.Line({number, Trimmed(raw.substr(0, nul)), afterNonAscii}, nul != kNone);
        if (end == text.size()) {
            return scan;
        }
        bool pair = text.substr(end, 2) == "\r\n";
        afterNonAscii =
            bytes && !pair && !raw.empty() && static_cast<unsigned char>(raw.back()) > 0x7F;
        at = end + (pair ? 2 : 1);
    }
}

KeyMask UnreadValues(const SettingsScan& scan, const SettingValues& read) {
    return scan.valued & EmptyIn(read);
}

} // namespace settings
