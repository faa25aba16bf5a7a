#include "settings/diagnostics/file_findings.h"

#include "settings/diagnostics/settings_scan.h"

#include <bit>

namespace settings {

FileFindings FindingsOf(const SettingsScan& scan, const SettingValues& read) {
    FileFindings findings;
    findings.unknownKeys = scan.unknownKeys;
    findings.moreUnknownKeys = scan.moreUnknownKeys;
    KeyMask readEmpty = 0;
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
        if (ValueOf(read, kSettingKeys[i]).empty()) {
            readEmpty |= KeyMask{1} << i;
        }
    }
    if (readEmpty == 0) {
        return findings;
    }
    auto found = [&](KeyMask keys) {
        return static_cast<std::size_t>(std::popcount(keys & readEmpty));
    };
    if (std::size_t keys = found(scan.aboveFirstSection); keys > 0) {
        findings.elsewhere.push_back({std::nullopt, keys});
    }
    for (const ScannedSection& section : scan.otherSections) {
        if (std::size_t keys = found(section.keys); keys > 0) {
            findings.elsewhere.push_back({section.name, keys});
        }
    }
    if (scan.settingsSection || !findings.elsewhere.empty()) {
        return findings;
    }
    findings.noSettingsSection = true;
    findings.firstSection = scan.firstSection;
    // Nothing of a settings file: UTF-16 saved without its byte-order mark, or no text at all.
    findings.noText = !scan.firstSection && scan.nulByte;
    return findings;
}

} // namespace settings
