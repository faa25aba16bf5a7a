#include "settings/diagnostics/settings_scan.h"

#include "settings/diagnostics/key_match.h"

#include <algorithm>
#include <bit>

namespace settings {

namespace {

// Every key of the eighteen is shorter than a kept name, so a kept name that is whole tells them.
static_assert(kKeptNameLength > 39);

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

KeyMask BitOf(std::string_view name, std::size_t length) {
    if (length > name.size()) {
        return 0; // cut: longer than every key
    }
    const SettingKey* key = SettingKeyNamed(name);
    return key == nullptr ? 0 : KeyMask{1} << (key - kSettingKeys.data());
}

} // namespace

SettingsScanner::Name::Name() {
    kept_.reserve(kKeptNameLength);
}

void SettingsScanner::Name::Add(char c) {
    bool blank = IsBlank(c);
    if (running_ == 0 && blank) {
        return;
    }
    ++running_;
    if (kept_.size() < kKeptNameLength) {
        kept_ += c;
    }
    if (!blank) {
        length_ = running_;
    }
}

void SettingsScanner::Name::Clear() {
    kept_.clear();
    running_ = 0;
    length_ = 0;
}

std::string_view SettingsScanner::Name::Kept(std::size_t length) const {
    return std::string_view(kept_).substr(0, length);
}

void SettingsScanner::Feed(std::string_view bytes) {
    decoded_.clear();
    decoder_.Decode(bytes, decoded_);
    for (char c : decoded_) {
        Char(c);
    }
}

SettingsScan SettingsScanner::Finish() {
    decoded_.clear();
    decoder_.Finish(decoded_);
    for (char c : decoded_) {
        Char(c);
    }
    LineEnd('\n');
    return std::move(scan_);
}

// One character of the text, UTF-8 or ANSI: the rules are all in ASCII characters, which no UTF-8
// sequence holds.
void SettingsScanner::Char(char c) {
    if (c == '\r' || c == '\n') {
        LineEnd(c);
        return;
    }
    afterCr_ = false;
    last_ = c;
    if (c == '\0') {
        scan_.nulByte = true;
        EndText(true);
        textEnded_ = true;
        return;
    }
    if (!textEnded_) {
        text_.Add(c);
    }
    if (line_ == Line::Skip) {
        return;
    }
    if (line_ == Line::AfterHeader) {
        // A second ']' ends the name there for Wine, at the first for Windows.
        scan_.settingsNameUnsure |= c == ']' && marked_ == &scan_.settingsLine;
        return;
    }
    if (line_ == Line::Start) {
        if (IsBlank(c)) {
            return;
        }
        if (c == ';') {
            line_ = Line::Skip;
            return;
        }
        if (c == '[') {
            line_ = Line::Header;
            return;
        }
        line_ = Line::Key;
    }
    if (line_ == Line::Key) {
        if (c == '=') {
            line_ = Key(key_.Kept(key_.Length()), key_.Length()) ? Line::Value : Line::Skip;
        } else {
            key_.Add(c);
        }
        return;
    }
    if (line_ == Line::Value) {
        ValueChar(c);
        return;
    }
    // A section line.
    if (c == ']') {
        Section(header_.Kept(header_.Length()), header_.Length());
        header_.Clear();
        line_ = Line::AfterHeader;
    } else {
        header_.Add(c);
    }
}

// CR LF, LF and CR each end a line; the LF of a CR LF ends none of its own.
void SettingsScanner::LineEnd(char c) {
    bool crLf = c == '\n' && afterCr_;
    afterCr_ = c == '\r';
    if (crLf) {
        afterNonAscii_ = false; // the pair ends the line whatever the byte before it
        return;
    }
    EndText(false);
    if (marked_ != nullptr) {
        marked_->text = text_.Kept(std::string_view::npos);
        marked_ = nullptr;
    }
    afterNonAscii_ = decoder_.Bytes() && static_cast<unsigned char>(last_) > 0x7F;
    ++number_;
    text_.Clear();
    textEnded_ = false;
    last_ = 0;
    line_ = Line::Start;
}

// The line's text has ended, at its end or at a NUL, and the rest of the line is skipped. A '['
// line that ends without its ']' names a section all the same; one that a NUL cuts short is not
// told, since nothing says what the profile functions make of the rest.
void SettingsScanner::EndText(bool atNul) {
    if (line_ == Line::Header && !atNul) {
        Section(header_.Kept(header_.Length()), header_.Length());
        scan_.settingsNameUnsure |= marked_ == &scan_.settingsLine;
    }
    if (line_ == Line::Value) {
        EndValue();
    }
    line_ = Line::Skip;
    key_.Clear();
    header_.Clear();
}

void SettingsScanner::Mark(FileLine& line) {
    line.number = number_;
    line.afterNonAscii = afterNonAscii_;
    marked_ = &line;
}

void SettingsScanner::Section(std::string_view name, std::size_t length) {
    if (!scan_.firstSection) {
        scan_.firstSection = std::string(name);
    }
    if (SameName(name, kSettingsSection)) {
        place_ = scan_.settingsSection ? Place::LaterSettings : Place::Settings;
        FileLine& line = scan_.settingsSection ? scan_.laterSettingsLine : scan_.settingsLine;
        if (line.number == 0) {
            Mark(line);
        }
        scan_.settingsSection = true;
        return;
    }
    std::vector<ScannedSection>& others = scan_.otherSections;
    bool met = std::any_of(others.begin(), others.end(), [&](const ScannedSection& other) {
        return other.length == length && SameName(other.name, name);
    });
    if (met || others.size() == kSearchedSections) {
        place_ = Place::Ignored;
        return;
    }
    others.push_back({std::string(name), length, 0});
    place_ = Place::Other;
    other_ = others.size() - 1;
}

bool SettingsScanner::Key(std::string_view name, std::size_t length) {
    KeyMask bit = BitOf(name, length);
    if (place_ == Place::AboveFirst) {
        scan_.aboveFirstSection |= bit;
        return false;
    }
    if (place_ == Place::Other) {
        scan_.otherSections[other_].keys |= bit;
        return false;
    }
    if (place_ == Place::LaterSettings) {
        scan_.laterSettingsKeys |= bit;
        return false;
    }
    if (place_ == Place::Ignored) {
        return false;
    }
    // Under the first [Settings].
    if (bit != 0) {
        // A lookup finds the key's first line.
        bool first = (scan_.settingsKeys & bit) == 0;
        if (first) {
            Mark(scan_.keyLines[static_cast<std::size_t>(std::countr_zero(bit))]);
        }
        scan_.settingsKeys |= bit;
        valueKey_ = bit;
        valueRunning_ = 0;
        valueLength_ = 0;
        return first;
    }
    if (scan_.unknownKeys.size() < kNamedUnknownKeys) {
        scan_.unknownKeys.emplace_back(name);
    } else {
        ++scan_.moreUnknownKeys;
    }
    return false;
}

void SettingsScanner::ValueChar(char c) {
    bool blank = IsBlank(c);
    if (valueRunning_ == 0 && blank) {
        return;
    }
    if (valueRunning_ == 0) {
        valueFirst_ = c;
    }
    ++valueRunning_;
    if (!blank) {
        valueLength_ = valueRunning_;
        valueLast_ = c;
    }
}

// Nothing, or nothing but a pair of matching quotes, reads as the empty text.
void SettingsScanner::EndValue() {
    bool quotes = valueLength_ == 2 && valueFirst_ == valueLast_ &&
                  (valueFirst_ == '"' || valueFirst_ == '\'');
    if (valueLength_ > 0 && !quotes) {
        scan_.settingsValues |= valueKey_;
    }
}

} // namespace settings
