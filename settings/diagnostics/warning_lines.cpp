#include "settings/diagnostics/warning_lines.h"

#include "catalogue/log_lines.h"
#include "settings/diagnostics/key_match.h"
#include "settings/line_text.h"

#include <algorithm>
#include <bit>

namespace settings {

namespace {

using Lines = std::vector<std::string>;

// A name or value as a log line can show it: cut when long, control characters as '?'.
std::string Shown(std::string_view text) {
    std::string shown(text.substr(0, kShownLength));
    std::replace_if(
        shown.begin(), shown.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return text.size() > kShownLength ? shown + "..." : shown;
}

std::size_t Count(KeyMask keys) {
    return static_cast<std::size_t>(std::popcount(keys));
}

// What to change where a value came through as empty: the line before it may have taken its line
// end, else the line itself holds something Windows reads otherwise.
std::string Remedy(const TextLine& line) {
    if (line.afterNonAscii) {
        return LineText(lines::kRemedyLineEnd, Number(line.number - 1));
    }
    return lines::kRemedyRetype;
}

// The file as a whole, where no value came through and its text has no [Settings].
void FileLines(const SettingsScan& scan, KeyMask readEmpty, Lines& out) {
    constexpr KeyMask kEveryKey = (KeyMask{1} << kSettingKeys.size()) - 1;
    if (readEmpty != kEveryKey || scan.settingsLine.number != 0 || !scan.places.empty()) {
        return;
    }
    if (!scan.anySection) {
        out.push_back(scan.nulLine != 0 ? lines::kNoText : lines::kNoSettings);
    } else {
        out.push_back(LineText(lines::kNoSettingsFirst, Shown(scan.firstSection).c_str()));
    }
}

// The first [Settings] line when its name is in doubt or none of its values came through, else
// each value read as empty.
void UnreadLines(const SettingsScan& scan, KeyMask unread, Lines& out) {
    const TextLine& section = scan.settingsLine;
    if (unread != 0 && scan.settingsNameUnsure) {
        out.push_back(
            LineText(lines::kUnsureSection, Number(section.number), Shown(section.text).c_str()));
    } else if (unread == scan.valued && Count(unread) > 1) {
        out.push_back(LineText(lines::kUnreadSection, Number(section.number),
                               Shown(section.text).c_str(), Number(Count(unread)),
                               Remedy(section).c_str()));
    } else {
        for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
            const TextLine& line = scan.keyLines[i];
            if ((unread & (KeyMask{1} << i)) != 0) {
                out.push_back(LineText(lines::kUnreadValue, Number(line.number),
                                       Shown(line.text).c_str(), kSettingKeys[i].name,
                                       Remedy(line).c_str()));
            }
        }
    }
}

// Each place outside the first [Settings] that holds the plugin's keys, with what to change.
void PlaceLines(const SettingsScan& scan, KeyMask readEmpty, Lines& out) {
    const std::size_t settings = scan.settingsLine.number;
    for (const Place& place : scan.places) {
        unsigned long long line = Number(place.line.number);
        std::string shown = Shown(place.line.text);
        if (place.kind == Place::Kind::SecondSettings) {
            out.push_back(LineText(lines::kSecondSettings, line, shown.c_str(), Number(settings),
                                   Number(Count(place.keys)), line));
            continue;
        }
        std::size_t keys = Count(place.keys & readEmpty);
        if (keys == 0) {
            continue;
        }
        std::string fix = settings != 0 ? LineText(lines::kMoveUnder, Number(settings))
                          : place.kind == Place::Kind::OtherSection
                              ? LineText(lines::kRenameLine, line)
                              : LineText(lines::kPutSettingsAbove, line);
        out.push_back(LineText(place.kind == Place::Kind::OtherSection ? lines::kOtherSection
                                                                       : lines::kAboveSections,
                               line, shown.c_str(), Number(keys), fix.c_str()));
    }
}

void KeyLines(const SettingsScan& scan, Lines& out) {
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
        const TextLine& twice = scan.twiceLines[i];
        if (twice.number != 0) {
            out.push_back(LineText(lines::kKeyTwice, Number(twice.number),
                                   Shown(twice.text).c_str(), kSettingKeys[i].name,
                                   Number(scan.keyLines[i].number)));
        }
    }
    for (const UnknownKey& unknown : scan.unknownKeys) {
        const SettingKey* meant = ClosestSettingKey(unknown.name);
        std::string name = Shown(unknown.name);
        if (unknown.name.empty()) {
            out.push_back(LineText(lines::kNoKeyName, Number(unknown.line)));
        } else if (meant == nullptr) {
            out.push_back(LineText(lines::kUnknownKey, Number(unknown.line), name.c_str()));
        } else {
            out.push_back(
                LineText(lines::kUnknownKeyMeant, Number(unknown.line), name.c_str(), meant->name));
        }
    }
    if (scan.moreUnknownKeys > 0) {
        out.push_back(LineText(lines::kMoreUnknownKeys, Number(scan.moreUnknownKeys)));
    }
}

// The keys that go out empty but those a line of their own speaks of: bDebugMode, and the values
// the file holds that were read as empty.
void SentEmptyLine(const SettingValues& sent, KeyMask unread, Lines& out) {
    std::string names;
    std::size_t count = 0;
    for (const SettingKey& key : kSettingKeys) {
        if (key.sendNumber != kDebugModeSendNumber && (unread & MaskOf(key)) == 0 &&
            ValueOf(sent, key).empty()) {
            names += count++ == 0 ? "" : ", ";
            names += key.name;
        }
    }
    if (count == kSettingKeys.size() - 1) {
        out.push_back(lines::kAllSentEmpty);
    } else if (count > 0) {
        out.push_back(LineText(lines::kSentEmpty, names.c_str()));
    }
}

bool IsWholeNumber(std::string_view value) {
    if (value.starts_with('-') || value.starts_with('+')) {
        value.remove_prefix(1);
    }
    return !value.empty() &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "i" keys take a whole number, bDebugMode 0 or 1; an empty value is told elsewhere.
void TypeLines(const SettingValues& sent, Lines& out) {
    for (const SettingKey& key : kSettingKeys) {
        const std::string& value = ValueOf(sent, key);
        if (key.sendNumber == kDebugModeSendNumber && !value.empty() && value != "0" &&
            value != "1") {
            out.push_back(LineText(lines::kNotBoolean, Shown(value).c_str()));
        } else if (key.sendNumber != kDebugModeSendNumber && !value.empty() &&
                   !IsWholeNumber(value)) {
            out.push_back(LineText(lines::kNotWhole, key.name, Shown(value).c_str()));
        }
    }
}

} // namespace

std::vector<std::string> WarningLines(const SettingsScan& scan, const SettingValues& read,
                                      const SettingValues& sent) {
    const KeyMask readEmpty = EmptyIn(read);
    const KeyMask unread = UnreadValues(scan, read);
    Lines out;
    FileLines(scan, readEmpty, out);
    UnreadLines(scan, unread, out);
    PlaceLines(scan, readEmpty, out);
    KeyLines(scan, out);
    SentEmptyLine(sent, unread, out);
    TypeLines(sent, out);
    return out;
}

std::string HeldRepairLine(const Decision& decision, const SettingsScan& scan) {
    using Hold = Decision::Hold;
    unsigned long long line = Number(decision.line);
    std::string reason;
    switch (decision.hold) {
    case Hold::Unwritable:
        reason = lines::kHeldUnwritable;
        break;
    case Hold::TooLarge:
        reason = lines::kHeldTooLarge;
        break;
    case Hold::Nul:
        reason = LineText(lines::kHeldNul, line);
        break;
    case Hold::Unread:
        reason = LineText(lines::kHeldUnread, line);
        break;
    case Hold::Stray:
        reason = LineText(lines::kHeldStray, line);
        break;
    default: // Unseen
        reason = LineText(lines::kHeldUnseen, line, Shown(scan.settingsLine.text).c_str());
        break;
    }
    return LineText(lines::kRepairHeld, reason.c_str());
}

} // namespace settings
