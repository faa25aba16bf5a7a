#include "settings/diagnostics/file_findings.h"

#include "settings/diagnostics/settings_scan.h"

#include <bit>

namespace settings {

namespace {

KeyMask ReadEmpty(const SettingValues& read) {
    KeyMask empty = 0;
    for (const SettingKey& key : kSettingKeys) {
        if (ValueOf(read, key).empty()) {
            empty |= MaskOf(key);
        }
    }
    return empty;
}

std::size_t Count(KeyMask keys) {
    return static_cast<std::size_t>(std::popcount(keys));
}

// One line for the first [Settings] when its name is in doubt or none of its values came through,
// else one for each value read as empty; then one for a later [Settings] that holds keys.
void PartedLines(const SettingsScan& scan, FileFindings& findings) {
    using Kind = PartedLine::Kind;
    const KeyMask unread = findings.unread;
    if (unread != 0 && scan.settingsNameUnsure) {
        findings.parted.push_back({Kind::UnsureSection, &scan.settingsLine, Count(unread)});
    } else if (unread == scan.settingsValues && Count(unread) > 1) {
        findings.parted.push_back({Kind::UnreadSection, &scan.settingsLine, Count(unread)});
    } else {
        for (const SettingKey& key : kSettingKeys) {
            if ((unread & MaskOf(key)) != 0) {
                const FileLine& line =
                    scan.keyLines[static_cast<std::size_t>(&key - &kSettingKeys[0])];
                findings.parted.push_back({Kind::UnreadValue, &line, 1, &key});
            }
        }
    }
    if (scan.laterSettingsKeys != 0) {
        findings.parted.push_back({Kind::LaterSettings, &scan.laterSettingsLine,
                                   Count(scan.laterSettingsKeys), nullptr,
                                   scan.settingsLine.number});
    }
}

} // namespace

KeyMask UnreadValues(const SettingsScan& scan, const SettingValues& read) {
    return scan.settingsValues & ReadEmpty(read);
}

FileFindings FindingsOf(const SettingsScan& scan, const SettingValues& read) {
    FileFindings findings;
    const KeyMask readEmpty = ReadEmpty(read);
    findings.unread = scan.settingsValues & readEmpty;
    PartedLines(scan, findings);
    findings.unknownKeys = scan.unknownKeys;
    findings.moreUnknownKeys = scan.moreUnknownKeys;
    if (readEmpty == 0) {
        return findings;
    }
    auto found = [&](KeyMask keys) { return Count(keys & readEmpty); };
    if (std::size_t keys = found(scan.aboveFirstSection); keys > 0) {
        findings.elsewhere.push_back({std::nullopt, keys});
    }
    for (const ScannedSection& section : scan.otherSections) {
        if (std::size_t keys = found(section.keys); keys > 0) {
            findings.elsewhere.push_back({section.name, keys});
        }
    }
    // A value the profile functions read comes from a [Settings] they see.
    constexpr KeyMask kEveryKey = (KeyMask{1} << kSettingKeys.size()) - 1;
    if (scan.settingsSection || !findings.elsewhere.empty() || readEmpty != kEveryKey) {
        return findings;
    }
    findings.noSettingsSection = true;
    findings.firstSection = scan.firstSection;
    // Nothing of a settings file: UTF-16 saved without its byte-order mark, or no text at all.
    findings.noText = !scan.firstSection && scan.nulByte;
    return findings;
}

} // namespace settings
