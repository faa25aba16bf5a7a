#include "settings/diagnostics/warning_lines.h"

#include "korv_common/plugin_name.h"
#include "korv_common/printf_format.h"
#include "settings/diagnostics/key_match.h"
#include "settings/diagnostics/value_fit.h"
#include "settings/guards/text_form.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace settings {

namespace {

constexpr char kWarning[] = "Install_Helmshroud :: Warning: ";

std::string Formatted(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    // A format the print refused would give the empty text; these fixed texts are never refused.
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

// Adds one warning line, its text formatted as LogLine formats.
void Add(std::vector<std::string>& lines, const char* format, ...)
    __attribute__((format(KORV_PRINTF_FORMAT, 2, 3)));
void Add(std::vector<std::string>& lines, const char* format, ...) {
    va_list args;
    va_start(args, format);
    lines.push_back(kWarning + Formatted(format, args));
    va_end(args);
}

// A name or value as a log line can show it: cut when long, control characters as '?'.
std::string Shown(std::string_view text) {
    std::string shown(text.substr(0, kShownLength));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    if (text.size() > kShownLength) {
        shown += "...";
    }
    return shown;
}

unsigned long long Number(std::size_t count) {
    return count;
}

void FileLines(const FileFindings& findings, std::vector<std::string>& lines) {
    if (findings.noText) {
        Add(lines,
            HELMSHROUD_INI_NAME " holds no text the plugin can read (saved as UTF-16 without a "
                                "byte-order mark, or not text at all). Save it as %s.",
            kFormsWindowsReads);
    } else if (findings.noSettingsSection && !findings.firstSection) {
        Add(lines, HELMSHROUD_INI_NAME " has no [Settings] section. The plugin reads its settings "
                                       "only from [Settings].");
    } else if (findings.noSettingsSection) {
        Add(lines,
            HELMSHROUD_INI_NAME " has no [Settings] section (its first section is [%s]). The "
                                "plugin reads its settings only from [Settings].",
            Shown(*findings.firstSection).c_str());
    }
    for (const SettingsElsewhere& place : findings.elsewhere) {
        std::string where = "outside any section";
        if (place.section) {
            where = "under [" + Shown(*place.section) + "]";
        }
        if (place.keys == 1) {
            Add(lines,
                HELMSHROUD_INI_NAME " has 1 of the plugin's keys %s, not under [Settings], and "
                                    "it was not read. Move it under [Settings].",
                where.c_str());
        } else {
            Add(lines,
                HELMSHROUD_INI_NAME " has %llu of the plugin's keys %s, not under [Settings], "
                                    "and they were not read. Move them under [Settings].",
                Number(place.keys), where.c_str());
        }
    }
}

// What to change where a value came through as empty: the line before it may have taken its line
// end, else the line itself holds something Windows reads otherwise.
std::string Remedy(const FileLine& line) {
    if (line.afterNonAscii) {
        return "Line " + std::to_string(line.number - 1) +
               " ends in a non-ASCII character, which Windows' code page may read together with "
               "the line's end: add a blank after that character.";
    }
    return "Retype the line in plain characters, or save the file as " +
           std::string(kFormsWindowsReads) + ".";
}

void PartedLines(const FileFindings& findings, std::vector<std::string>& lines) {
    using Kind = PartedLine::Kind;
    for (const PartedLine& parted : findings.parted) {
        unsigned long long number = parted.line->number;
        std::string shown = Shown(parted.line->text);
        if (parted.kind == Kind::UnsureSection) {
            Add(lines,
                "line %llu of " HELMSHROUD_INI_NAME ", '%s', may be read as another section "
                "than [Settings], and the values under it were read as empty and sent empty. "
                "Write the line as [Settings].",
                number, shown.c_str());
        } else if (parted.kind == Kind::UnreadSection) {
            Add(lines,
                "line %llu of " HELMSHROUD_INI_NAME ", '%s', was not read as the start of "
                "[Settings]: the %llu values under it were read as empty and sent empty. %s",
                number, shown.c_str(), Number(parted.keys), Remedy(*parted.line).c_str());
        } else if (parted.kind == Kind::UnreadValue) {
            Add(lines,
                "line %llu of " HELMSHROUD_INI_NAME ", '%s', holds a value for %s that Windows "
                "read as empty, and it was sent empty. %s",
                number, shown.c_str(), parted.key->name, Remedy(*parted.line).c_str());
        } else {
            Add(lines,
                "line %llu of " HELMSHROUD_INI_NAME ", '%s', starts a second [Settings], and "
                "Windows reads only the first (line %llu): %llu of the plugin's keys under it "
                "were not read. Move them under the first [Settings] and remove line %llu.",
                number, shown.c_str(), Number(parted.firstLine), Number(parted.keys), number);
        }
    }
}

void UnknownKeyLines(const FileFindings& findings, std::vector<std::string>& lines) {
    for (const std::string& name : findings.unknownKeys) {
        const SettingKey* meant = ClosestSettingKey(name);
        if (name.empty()) {
            Add(lines, "a line under [Settings] in " HELMSHROUD_INI_NAME
                       " has no key name before its '=' and was ignored.");
        } else if (meant == nullptr) {
            Add(lines,
                "key '%s' in " HELMSHROUD_INI_NAME
                " is not one of the plugin's keys and was ignored.",
                Shown(name).c_str());
        } else {
            Add(lines,
                "key '%s' in " HELMSHROUD_INI_NAME
                " is not one of the plugin's keys and was ignored. Did you mean '%s'?",
                Shown(name).c_str(), meant->name);
        }
    }
    std::size_t more = findings.moreUnknownKeys;
    if (more == 1) {
        Add(lines, "1 more key in " HELMSHROUD_INI_NAME
                   " is not one of the plugin's keys and was ignored.");
    } else if (more > 1) {
        Add(lines,
            "%llu more keys in " HELMSHROUD_INI_NAME
            " are none of the plugin's keys and were ignored.",
            Number(more));
    }
}

// The keys sent empty but those a line of their own speaks of: bDebugMode, and the values the file
// holds that were read as empty.
void SentEmptyLine(const SettingValues& sent, KeyMask unread, std::vector<std::string>& lines) {
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
        Add(lines,
            "all %llu keys in " HELMSHROUD_INI_NAME
            " other than %s are missing or empty and were sent empty.",
            Number(count), kDebugModeKey);
    } else if (count == 1) {
        Add(lines, "1 key in " HELMSHROUD_INI_NAME " is missing or empty and was sent empty: %s.",
            names.c_str());
    } else if (count > 1) {
        Add(lines,
            "%llu keys in " HELMSHROUD_INI_NAME " are missing or empty and were sent empty: %s.",
            Number(count), names.c_str());
    }
}

void TypeLines(const SettingValues& sent, std::vector<std::string>& lines) {
    for (const SettingKey& key : kSettingKeys) {
        const std::string& value = ValueOf(sent, key);
        if (!FitsTypePrefix(key.name, value)) {
            Add(lines,
                "key '%s' in " HELMSHROUD_INI_NAME " holds '%s', %s; it was sent as written, and "
                "the game script decides what it means.",
                key.name, Shown(value).c_str(),
                key.name[0] == 'b' ? "not 0 or 1" : "not a whole number");
        }
    }
}

} // namespace

std::vector<std::string> WarningLines(const FileFindings& findings, const SettingValues& sent) {
    std::vector<std::string> lines;
    PartedLines(findings, lines);
    FileLines(findings, lines);
    UnknownKeyLines(findings, lines);
    SentEmptyLine(sent, findings.unread, lines);
    TypeLines(sent, lines);
    return lines;
}

} // namespace settings
