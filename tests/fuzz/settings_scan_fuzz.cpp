// Arbitrary bytes as the settings file: the scanner gives the same answer whatever the chunks the
// bytes come in, keeps no more than its bounds, and reports no name that is not in the file (as
// its bytes, or as UTF-16 behind its mark); the warning lines made of what it found, with any
// eighteen values, each fit the log's line buffer and hold no control character.
#include "settings/diagnostics/file_findings.h"
#include "settings/diagnostics/settings_scan.h"
#include "settings/diagnostics/warning_lines.h"
#include "tests/fuzz/checks.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

using namespace settings;

namespace {

bool SameLine(const FileLine& a, const FileLine& b) {
    return a.number == b.number && a.text == b.text && a.afterNonAscii == b.afterNonAscii;
}

bool SameScan(const SettingsScan& a, const SettingsScan& b) {
    auto sameSections = [&] {
        for (std::size_t i = 0; i < a.otherSections.size(); ++i) {
            const ScannedSection& x = a.otherSections[i];
            const ScannedSection& y = b.otherSections[i];
            if (x.name != y.name || x.length != y.length || x.keys != y.keys) {
                return false;
            }
        }
        return true;
    };
    return a.settingsSection == b.settingsSection && a.firstSection == b.firstSection &&
           a.unknownKeys == b.unknownKeys && a.moreUnknownKeys == b.moreUnknownKeys &&
           a.aboveFirstSection == b.aboveFirstSection && a.nulByte == b.nulByte &&
           a.settingsKeys == b.settingsKeys && a.settingsValues == b.settingsValues &&
           (a.settingsValues & ~a.settingsKeys) == 0 &&
           a.otherSections.size() == b.otherSections.size() && sameSections() &&
           SameLine(a.settingsLine, b.settingsLine) &&
           a.settingsNameUnsure == b.settingsNameUnsure &&
           std::equal(a.keyLines.begin(), a.keyLines.end(), b.keyLines.begin(), SameLine) &&
           SameLine(a.laterSettingsLine, b.laterSettingsLine) &&
           a.laterSettingsKeys == b.laterSettingsKeys;
}

// A name as UTF-16 LE, as a file behind the mark holds it; empty when it holds U+FFFD, which
// stands for a unit the file held unpaired.
std::string AsUtf16(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        std::uint32_t point = byte;
        std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        if (i + length > utf8.size()) {
            return {}; // a character cut by the kept length
        }
        if (length > 1) {
            point = byte & (0x7Fu >> length);
            for (std::size_t k = 1; k < length; ++k) {
                point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
            }
        }
        if (point == 0xFFFD) {
            return {};
        }
        auto unit = [&](std::uint32_t u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        };
        if (point >= 0x10000) {
            unit(0xD800 + ((point - 0x10000) >> 10));
            unit(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            unit(point);
        }
        i += length;
    }
    return out;
}

void RequireFromFile(std::string_view file, std::string_view name) {
    fuzzing::Require(name.size() <= kKeptNameLength, "a name is kept no longer than its bound",
                     name);
    for (char c : name) {
        fuzzing::Require(c != '\r' && c != '\n' && c != '\0', "a name holds no line end or NUL",
                         name);
    }
    bool littleEndian = file.substr(0, 2) == "\xFF\xFE";
    if (!littleEndian && file.substr(0, 2) != "\xFE\xFF") {
        fuzzing::Require(file.find(name) != std::string_view::npos, "a name is in the file", name);
        return;
    }
    // A name cut inside a character, or standing for an unpaired unit, can't be looked for.
    std::string wide = AsUtf16(name);
    for (std::size_t i = 0; i + 1 < wide.size() && !littleEndian; i += 2) {
        std::swap(wide[i], wide[i + 1]);
    }
    fuzzing::Require(wide.empty() || file.find(wide) != std::string_view::npos,
                     "a name is in the UTF-16 file", name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);

    SettingsScanner whole;
    whole.Feed(file);
    SettingsScan scan = whole.Finish();
    // The chunk sizes come from the file's own bytes, so every split gets tried.
    SettingsScanner chunked;
    std::size_t step = size == 0 ? 1 : static_cast<std::size_t>(data[0] % 7) + 1;
    for (std::size_t at = 0; at < size; at += step) {
        chunked.Feed(file.substr(at, step));
    }
    fuzzing::Require(SameScan(scan, chunked.Finish()), "chunks give the same scan", file);

    fuzzing::Require(scan.unknownKeys.size() <= kNamedUnknownKeys, "few unknown keys are named",
                     file);
    fuzzing::Require(scan.otherSections.size() <= kSearchedSections, "few sections are kept", file);
    for (const std::string& name : scan.unknownKeys) {
        RequireFromFile(file, name);
    }
    if (scan.firstSection) {
        RequireFromFile(file, *scan.firstSection);
    }
    for (const ScannedSection& section : scan.otherSections) {
        RequireFromFile(file, section.name);
    }

    // A line pointed at is in the file, and its text too.
    const std::size_t lines = 1 +
                              static_cast<std::size_t>(std::count_if(
                                  file.begin(), file.end(), [](char c) { return c == '\n'; })) +
                              static_cast<std::size_t>(std::count(file.begin(), file.end(), '\r'));
    for (const FileLine* line : {&scan.settingsLine, &scan.laterSettingsLine}) {
        fuzzing::Require(line->number <= lines, "a line pointed at is in the file", file);
        RequireFromFile(file, line->text);
    }
    for (const FileLine& line : scan.keyLines) {
        fuzzing::Require(line.number <= lines, "a key's line is in the file", file);
        RequireFromFile(file, line.text);
    }

    // Values sent: every one empty, then every one filled with the file's first bytes.
    SettingValues empty;
    SettingValues filled;
    filled.fill(std::string(file.substr(0, 300)));
    for (const SettingValues* values : {&empty, &filled}) {
        for (const std::string& line : WarningLines(FindingsOf(scan, *values), *values)) {
            fuzzing::RequireWholeLogLine(line);
        }
    }
    return 0;
}
