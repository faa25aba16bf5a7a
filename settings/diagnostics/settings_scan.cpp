#include "settings/diagnostics/settings_scan.h"

#include "settings/diagnostics/key_match.h"

#include <algorithm>
#include <bit>

namespace settings {

namespace {

// Every key of the eighteen is shorter than a kept name, so a kept name that is whole tells them.
static_assert(kKeptNameLength > 39);

constexpr std::uint32_t kReplacement = 0xFFFD;

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
    while (form_ == Form::Unknown && !bytes.empty()) {
        start_ += bytes.front();
        bytes.remove_prefix(1);
        if (start_.size() == 3 || start_ == "\xFF\xFE" || start_ == "\xFE\xFF") {
            DecideForm();
        }
    }
    for (char c : bytes) {
        if (form_ != Form::Bytes) {
            Utf16Byte(c);
        } else {
            Char(c);
        }
    }
}

SettingsScan SettingsScanner::Finish() {
    if (form_ == Form::Unknown) {
        DecideForm(); // a file of two bytes, or fewer
    }
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        CodePoint(kReplacement);
    }
    // The last byte of a UTF-16 file of odd length is half a unit: no character.
    LineEnd('\n');
    return std::move(scan_);
}

// The text as its marks say it is written; what the profile functions make of a mark is theirs to
// answer.
void SettingsScanner::DecideForm() {
    if (start_ == "\xFF\xFE") {
        form_ = Form::Utf16;
    } else if (start_ == "\xFE\xFF") {
        form_ = Form::Utf16Be;
    } else {
        form_ = Form::Bytes;
        std::string_view bytes = start_;
        if (bytes != "\xEF\xBB\xBF") {
            for (char c : bytes) {
                Char(c);
            }
        }
    }
    start_.clear();
}

void SettingsScanner::Utf16Byte(char c) {
    if (!halfUnit_) {
        firstByte_ = static_cast<unsigned char>(c);
        halfUnit_ = true;
        return;
    }
    halfUnit_ = false;
    auto second = static_cast<unsigned char>(c);
    Unit(static_cast<std::uint16_t>(form_ == Form::Utf16 ? firstByte_ | (second << 8)
                                                         : (firstByte_ << 8) | second));
}

void SettingsScanner::Unit(std::uint16_t unit) {
    bool high = unit >= 0xD800 && unit <= 0xDBFF;
    bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (highSurrogate_ != 0) {
        std::uint32_t first = highSurrogate_;
        highSurrogate_ = 0;
        if (low) {
            CodePoint(0x10000 + ((first - 0xD800) << 10) + (unit - 0xDC00u));
            return;
        }
        CodePoint(kReplacement);
    }
    if (high) {
        highSurrogate_ = unit;
    } else {
        CodePoint(low ? kReplacement : unit);
    }
}

void SettingsScanner::CodePoint(std::uint32_t point) {
    auto put = [this](std::uint32_t byte) { Char(static_cast<char>(byte)); };
    if (point < 0x80) {
        put(point);
    } else if (point < 0x800) {
        put(0xC0 | (point >> 6));
        put(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        put(0xE0 | (point >> 12));
        put(0x80 | ((point >> 6) & 0x3F));
        put(0x80 | (point & 0x3F));
    } else {
        put(0xF0 | (point >> 18));
        put(0x80 | ((point >> 12) & 0x3F));
        put(0x80 | ((point >> 6) & 0x3F));
        put(0x80 | (point & 0x3F));
    }
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
    if (!textEnded_ && text_.size() < kKeptNameLength && !(text_.empty() && IsBlank(c))) {
        text_ += c;
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
        marked_->text = text_;
        marked_ = nullptr;
    }
    afterNonAscii_ = form_ == Form::Bytes && static_cast<unsigned char>(last_) > 0x7F;
    ++number_;
    text_.clear();
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
