#include "settings/diagnostics/file_findings.h"

#include "settings/diagnostics/key_match.h"
#include "settings/diagnostics/profile_names.h"
#include "settings/file_readable.h"

#include <algorithm>
#include <cstddef>

namespace settings {

namespace {

// Whether a name the key list may have cut short can still be the start of one of the eighteen.
bool MayBeSettingKey(const std::string& start) {
    return std::any_of(kSettingKeys.begin(), kSettingKeys.end(), [&](const SettingKey& key) {
        std::string_view name = key.name;
        return start.size() <= name.size() && SameName(start, name.substr(0, start.size()));
    });
}

bool Holds(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& held) { return SameName(held, name); });
}

void FindUnknownKeys(const std::string& path, FileFindings& findings) {
    NameList keys = ProfileKeyNames(path.c_str(), kSettingsSection);
    std::size_t unknown = 0;
    for (std::size_t i = 0; i < keys.names.size(); ++i) {
        const std::string& name = keys.names[i];
        bool partial = keys.cut && i + 1 == keys.names.size();
        if (partial ? MayBeSettingKey(name) : SettingKeyNamed(name) != nullptr) {
            continue;
        }
        if (++unknown <= kNamedUnknownKeys) {
            findings.unknownKeys.push_back(name);
        }
    }
    findings.moreUnknownKeys = unknown - findings.unknownKeys.size();
    findings.unknownKeysCut = keys.cut;
}

// Notes the section when it holds keys that read empty from [Settings].
void LookInto(const std::string& path, const std::string& section, const SettingValues& read,
              FileFindings& findings) {
    NameList keys = ProfileKeyNames(path.c_str(), section.c_str());
    std::size_t found = 0;
    for (const SettingKey& key : kSettingKeys) {
        bool missing = ValueOf(read, key).empty();
        if (missing && Holds(keys.names, key.name)) {
            ++found;
        }
    }
    if (found > 0) {
        findings.elsewhere.push_back({section, found});
    }
}

// Whether the i-th section is one to look into: whole, not [Settings], and not met before.
bool IsOtherSection(const NameList& sections, std::size_t i) {
    const std::string& name = sections.names[i];
    if ((sections.cut && i + 1 == sections.names.size()) || SameName(name, kSettingsSection)) {
        return false;
    }
    return std::none_of(sections.names.begin(),
                        sections.names.begin() + static_cast<std::ptrdiff_t>(i),
                        [&](const std::string& before) { return SameName(before, name); });
}

void FindSettingsElsewhere(const std::string& path, const SettingValues& read,
                           FileFindings& findings) {
    // The lines above the first section line, then the other sections, a handful at most.
    LookInto(path, "", read, findings);
    NameList sections = ProfileSectionNames(path.c_str());
    std::size_t searched = 1;
    for (std::size_t i = 0; i < sections.names.size() && searched < kSearchedSections; ++i) {
        if (IsOtherSection(sections, i)) {
            LookInto(path, sections.names[i], read, findings);
            ++searched;
        }
    }
    if (Holds(sections.names, kSettingsSection) || sections.cut || !findings.elsewhere.empty()) {
        return;
    }
    findings.noSettingsSection = true;
    if (!sections.names.empty()) {
        findings.firstSection = sections.names.front();
    }
    // Nothing the profile functions could make out: UTF-16 saved without its byte-order mark, or
    // no text at all.
    findings.noText = sections.names.empty() && HoldsNulOutsideUtf16(path);
}

} // namespace

FileFindings ExamineSettingsFile(const std::string& path, const SettingValues& read) {
    FileFindings findings;
    FindUnknownKeys(path, findings);
    bool anyEmpty = std::any_of(read.begin(), read.end(),
                                [](const std::string& value) { return value.empty(); });
    if (anyEmpty) {
        FindSettingsElsewhere(path, read, findings);
    }
    return findings;
}

} // namespace settings
