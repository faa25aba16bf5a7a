// Arbitrary bytes become what a look at the settings file found and the eighteen values sent. Every
// warning line made of them fits the log's line buffer, holds no control character and names only
// what the input held (a key it lists as sent empty was sent empty); the command for every value
// carries the value exactly, after the prefix, its number and one blank.
#include "settings/diagnostics/warning_lines.h"
#include "settings/routine/send_command.h"
#include "tests/fuzz/checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

using namespace settings;

namespace {

// More unknown keys and sections than a look at the file reports: the lines must not rely on it.
constexpr std::size_t kMostUnknownKeys = kNamedUnknownKeys + 2;
constexpr std::size_t kMostElsewhere = kSearchedSections + 2;

FileFindings Findings(FuzzedDataProvider& in) {
    FileFindings findings;
    findings.noText = in.ConsumeBool();
    findings.noSettingsSection = in.ConsumeBool();
    findings.moreUnknownKeys = in.ConsumeIntegral<std::size_t>();
    if (in.ConsumeBool()) {
        findings.firstSection = in.ConsumeRandomLengthString();
    }
    findings.unknownKeys.resize(in.ConsumeIntegralInRange<std::size_t>(0, kMostUnknownKeys));
    for (std::string& name : findings.unknownKeys) {
        name = in.ConsumeRandomLengthString();
    }
    findings.elsewhere.resize(in.ConsumeIntegralInRange<std::size_t>(0, kMostElsewhere));
    for (SettingsElsewhere& place : findings.elsewhere) {
        if (in.ConsumeBool()) {
            place.section = in.ConsumeRandomLengthString();
        }
        place.keys = in.ConsumeIntegral<std::size_t>();
    }
    return findings;
}

// Where a line names something: the text before the name, the character after it, and what may
// stand between.
struct Naming {
    std::string_view before;
    char after;
    std::vector<std::string_view> names;
};

// Whether, from `from` on, every naming the line holds shows one of its names. The names a naming
// may show can start alike, so each that fits is followed until one accounts for the whole line.
bool NamesOnlyThese(std::string_view line, std::size_t from, const std::vector<Naming>& namings) {
    std::size_t at = std::string_view::npos;
    const Naming* naming = nullptr;
    for (const Naming& candidate : namings) {
        std::size_t found = line.find(candidate.before, from);
        if (found < at) {
            at = found;
            naming = &candidate;
        }
    }
    if (naming == nullptr) {
        return true;
    }
    std::size_t start = at + naming->before.size();
    for (std::string_view name : naming->names) {
        std::size_t shown = fuzzing::ShownLength(line.substr(start), name);
        if (shown != std::string_view::npos && start + shown < line.size() &&
            line[start + shown] == naming->after &&
            NamesOnlyThese(line, start + shown + 1, namings)) {
            return true;
        }
    }
    return false;
}

std::vector<Naming> NamingsOf(const FileFindings& findings, const SettingValues& sent) {
    std::vector<std::string_view> keys;
    for (const SettingKey& key : kSettingKeys) {
        keys.push_back(key.name);
    }
    std::vector<std::string_view> keyNames(keys);
    keyNames.insert(keyNames.end(), findings.unknownKeys.begin(), findings.unknownKeys.end());
    std::vector<std::string_view> sections{kSettingsSection}; // "not under [Settings]"
    for (const SettingsElsewhere& place : findings.elsewhere) {
        if (place.section) {
            sections.push_back(*place.section);
        }
    }
    std::vector<std::string_view> first;
    if (findings.firstSection) {
        first.push_back(*findings.firstSection);
    }
    return {{"key '", '\'', keyNames},
            {"mean '", '\'', keys},
            {"holds '", '\'', {sent.begin(), sent.end()}},
            {"section is [", ']', first},
            {"under [", ']', sections}};
}

// The keys a line lists as sent empty ("...: a, b.") are keys whose value went out empty. Where a
// name from the file stands before, the list is part of that name.
void RequireSentEmptyTrue(std::string_view line, const SettingValues& sent) {
    constexpr std::string_view kList = "sent empty: ";
    std::size_t at = line.find(kList);
    if (at == std::string_view::npos || line.substr(0, at).find_first_of("'[") != line.npos) {
        return;
    }
    std::string_view list = line.substr(at + kList.size());
    fuzzing::Require(!list.empty() && list.back() == '.', "the list of keys ends the line", line);
    list.remove_suffix(1);
    while (!list.empty()) {
        std::string_view name = list.substr(0, list.find(", "));
        list.remove_prefix(name.size() == list.size() ? name.size() : name.size() + 2);
        bool empty = false;
        for (const SettingKey& key : kSettingKeys) {
            empty = empty || (name == key.name && ValueOf(sent, key).empty());
        }
        fuzzing::Require(empty, "a key listed as sent empty was sent empty", line);
    }
}

// prefix + number + " " + value: the number in decimal, no sign or leading zero, and the value
// exactly as given.
void RequireCommand(int number, const std::string& value) {
    std::string command = SendIniDataCommand(number, value);
    std::string_view rest = command;
    constexpr std::string_view kPrefix = kSendIniDataPrefix;
    fuzzing::Require(rest.starts_with(kPrefix), "the command starts with its prefix", command);
    rest.remove_prefix(kPrefix.size());
    int sentNumber = 0;
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), sentNumber);
    fuzzing::Require(error == std::errc{} && sentNumber == number && rest.front() != '0',
                     "the command's number is the value's number", command);
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    fuzzing::Require(!rest.empty() && rest.front() == ' ' && rest.substr(1) == value,
                     "the command ends in one blank and the value", command);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FileFindings findings = Findings(in);
    SettingValues sent;
    for (std::string& value : sent) {
        value = in.ConsumeRandomLengthString();
    }

    std::vector<Naming> namings = NamingsOf(findings, sent);
    for (const std::string& line : WarningLines(findings, sent)) {
        fuzzing::RequireWholeLogLine(line);
        fuzzing::Require(NamesOnlyThese(line, 0, namings), "the line names only what was found",
                         line);
        RequireSentEmptyTrue(line, sent);
    }
    for (const SettingKey& key : kSettingKeys) {
        RequireCommand(key.sendNumber, ValueOf(sent, key));
    }
    return 0;
}
