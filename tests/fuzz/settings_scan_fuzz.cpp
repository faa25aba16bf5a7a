// Arbitrary bytes as the settings file, through everything the plugin makes of its one copy: its
// form and text, the rewrite's bytes (which hold the same text), the scan (whose lines are lines of
// the text), and the lines the log tells of it, with any values read, which each fit the log's line
// buffer and hold no control character; the command for every value carries it exactly.
#include "settings/diagnostics/settings_scan.h"
#include "settings/diagnostics/warning_lines.h"
#include "settings/file/text_form.h"
#include "settings/routine/decision.h"
#include "settings/routine/send_command.h"
#include "tests/fuzz/checks.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

using namespace settings;

namespace {

// Whether view lies within text, as every line and name the scan keeps must.
bool Within(std::string_view text, std::string_view view) {
    return view.empty() ||
           (view.data() >= text.data() && view.data() + view.size() <= text.data() + text.size());
}

void RequireScanOf(std::string_view text, const SettingsScan& scan) {
    const std::size_t lines = 1 +
                              static_cast<std::size_t>(std::count_if(
                                  text.begin(), text.end(), [](char c) { return c == '\n'; })) +
                              static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
    auto line = [&](const TextLine& at) {
        fuzzing::Require(at.number <= lines && Within(text, at.text),
                         "a line pointed at is a line of the text", at.text);
        fuzzing::Require(at.text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                         "a line's text holds no line end or NUL", at.text);
    };
    line(scan.settingsLine);
    line(scan.strayDebugMode);
    KeyMask keys = 0; // those with a line in [Settings]
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
        line(scan.keyLines[i]);
        line(scan.twiceLines[i]);
        keys |= scan.keyLines[i].number != 0 ? KeyMask{1} << i : 0;
    }
    for (const Place& place : scan.places) {
        line(place.line);
    }
    for (const UnknownKey& key : scan.unknownKeys) {
        fuzzing::Require(Within(text, key.name), "an unknown key is named from the text", key.name);
    }
    fuzzing::Require(scan.unknownKeys.size() <= kNamedUnknownKeys &&
                         scan.places.size() <= kToldPlaces && (scan.valued & ~keys) == 0,
                     "the scan keeps within its bounds", text);
}

// prefix + number + " " + value, the value exactly as given.
void RequireCommand(int number, const std::string& value) {
    std::string command = SendIniDataCommand(number, value);
    std::string expected = kSendIniDataPrefix + std::to_string(number) + " " + value;
    fuzzing::Require(command == expected,
                     "the command is its prefix, number, a blank and the value", command);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TextForm form = TextFormOf(bytes);
    const std::string text = DecodedText(bytes, form);
    const std::string readable = ReadableBytes(bytes, form);
    const TextForm read = form == TextForm::Utf16Be ? TextForm::Utf16Le : TextForm::Bytes;
    fuzzing::Require(!NeedsRewrite(form) || DecodedText(readable, read) == text,
                     "the rewrite keeps the text", bytes);

    const SettingsScan scan = ScanSettingsText(text, !IsUtf16(form));
    RequireScanOf(text, scan);

    // Values read: every one empty, then every one the file's first bytes.
    SettingValues empty;
    SettingValues filled;
    filled.fill(std::string(bytes.substr(0, 300)));
    for (const SettingValues* values : {&empty, &filled}) {
        for (const std::string& line : WarningLines(scan, *values, *values)) {
            fuzzing::RequireWholeLogLine(line);
        }
        for (bool listed : {false, true}) {
            Decision decision = Decide(*values, scan, {false, false, listed});
            if (decision.hold != Decision::Hold::None) {
                fuzzing::RequireWholeLogLine(HeldRepairLine(decision, scan));
            }
        }
    }
    for (const SettingKey& key : kSettingKeys) {
        RequireCommand(key.sendNumber, ValueOf(filled, key));
    }
    return 0;
}
