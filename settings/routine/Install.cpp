#include "settings/routine/Install.h"

#include "host/console.h"
#include "korv_common/Log.h"
#include "korv_common/plugin_name.h"
#include "korv_common/slim_lock.h"
#include "settings/diagnostics/file_findings.h"
#include "settings/diagnostics/settings_scan.h"
#include "settings/diagnostics/warning_lines.h"
#include "settings/guards/file_lines.h"
#include "settings/guards/file_rewrite.h"
#include "settings/guards/text_form.h"
#include "settings/ini/ini.h"
#include "settings/ini/profile.h"
#include "settings/routine/decision.h"
#include "settings/routine/send_command.h"
#include "settings/settings_keys.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using settings::Presence;

namespace {

// Two game loads in quick succession: one complete run after the other. A lock that never
// allocates, so that a run never fails at its first step.
korv::SlimLock g_runLock;

std::string Read(const char* key) {
    return IniRead(korv::kPluginName, settings::kSettingsSection, key, "");
}

bool Write(const char* key, const char* value) {
    return IniWrite(korv::kPluginName, settings::kSettingsSection, key, value, "");
}

Presence SettingsFilePresence() {
    return settings::IniPresence(korv::kPluginName, "");
}

void SkipUnknownFileState() {
    LogLine("Install_Helmshroud :: Error: couldn't tell whether " HELMSHROUD_INI_NAME
            " exists. Skipped this run to keep the file as it is.");
}

// The settings file's path is made of fixed names, so it and its temporary file's path fit the
// profile functions' path buffer whatever the game folder.
static_assert(sizeof settings::kDefaultIniFolder - 1 + sizeof HELMSHROUD_INI_NAME - 1 +
                  sizeof settings::kTemporarySuffix - 1 <
              settings::kIniPathBufferSize);

// The eighteen keys go into a temporary file beside the settings file, which takes its place once
// every write went through: a write that fails, or a run stopped half-way, never leaves a file with
// only some of them, which every later run would take for the player's own and send with the rest
// empty.
settings::RewriteOutcome CreateWithDefaults(const std::string& path) {
    settings::RewriteOutcome made = settings::MakeTemporary(path);
    if (made.failure != settings::RewriteFailure::None) {
        return made;
    }
    std::string temporary = path + settings::kTemporarySuffix;
    for (const settings::SettingKey& key : settings::kSettingKeys) {
        std::uint32_t error = 0;
        if (!settings::ProfileWrite(temporary.c_str(), settings::kSettingsSection, key.name,
                                    key.defaultValue, error)) {
            settings::DiscardTemporary(path);
            return {settings::RewriteFailure::Copy, error};
        }
    }
    return settings::PlaceTemporary(path);
}

// False when the run has to stop: the file could not be created, or its state is unknown.
bool EnsureSettingsFile(const std::string& path) {
    Presence presence = SettingsFilePresence();
    if (presence == Presence::Absent) {
        settings::RewriteOutcome made = CreateWithDefaults(path);
        if (made.failure == settings::RewriteFailure::None) {
            LogLine("Install_Helmshroud :: Warning: " HELMSHROUD_INI_NAME
                    " wasn't existing. Created one.");
        } else {
            LogLine("%s", settings::CreationFailedLine(made).c_str());
        }
    }
    if (presence != Presence::Unknown) {
        presence = SettingsFilePresence();
    }
    if (presence == Presence::Unknown) {
        SkipUnknownFileState();
        return false;
    }
    if (presence == Presence::Absent) {
        LogLine("Install_Helmshroud :: Error: " HELMSHROUD_INI_NAME
                " couldn't be created. Aborting.");
        return false;
    }
    return true;
}

// In the order of their send numbers.
settings::SettingValues ReadValues() {
    settings::SettingValues values;
    for (std::size_t n = 1; n <= values.size(); ++n) {
        values[n - 1] = Read(settings::KeyBySendNumber(static_cast<int>(n)).name);
    }
    return values;
}

// A file in a form Windows' profile functions are documented to misread (a UTF-8 mark hides its
// first line from them, and UTF-16 big-endian reads as nothing) is rewritten into one they read,
// and read again, where the reads gave no value at all: Wine reads both forms, and such a file
// stays as it is there. False when the rewrite was needed and failed: the file is then never
// written.
bool ReadAsWindowsReads(const std::string& path, settings::TextForm form,
                        settings::SettingValues& values) {
    if (!settings::NeedsRewrite(form) ||
        std::any_of(values.begin(), values.end(),
                    [](const std::string& v) { return !v.empty(); })) {
        return true;
    }
    settings::RewriteOutcome outcome = settings::RewriteFile(path, form);
    if (outcome.failure != settings::RewriteFailure::None) {
        LogLine("%s", settings::RewriteFailedLine(form, outcome).c_str());
        return false;
    }
    LogLine("%s", settings::RewrittenLine(form).c_str());
    values = ReadValues();
    return true;
}

// What became of a bDebugMode read empty, unless a warning names the line that holds it.
void LogRepair(settings::Decision decision, bool repaired, const std::string& debugMode,
               settings::KeyMask spokenFor) {
    if (decision == settings::Decision::Send || (spokenFor & settings::DebugModeMask()) != 0) {
        return;
    }
    // The read-back may have been a read that failed: the second reading tells.
    if (repaired || debugMode == settings::kDebugModeRepairValue) {
        LogLine("Install_Helmshroud :: Warning: key '%s' in " HELMSHROUD_INI_NAME
                " wasn't existing. Created it.",
                settings::kDebugModeKey);
    } else {
        LogLine("Install_Helmshroud :: Error: key '%s' in " HELMSHROUD_INI_NAME
                " wasn't existing and couldn't be created.",
                settings::kDebugModeKey);
    }
}

void ReadAndSend(const std::string& path, settings::TextForm form) {
    constexpr int kValueCount = static_cast<int>(settings::kSettingKeys.size());
    settings::SettingValues values = ReadValues();
    const bool writable = ReadAsWindowsReads(path, form, values);
    // The file as the player left it, before the repair adds to it, read as the profile functions
    // open it: a file that no longer opens, or not to its end, may have failed the reads too.
    settings::SettingsScan scan;
    settings::FileFailure failure;
    const bool readAfter = settings::ScanSettingsFile(path, scan, failure);
    settings::Decision decision = settings::Decide(readAfter, values, scan, !writable);
    if (decision == settings::Decision::Skip) {
        LogLine("%s", settings::ReadsFailedLine(failure).c_str());
        return;
    }
    // bDebugMode is read again whether or not it was written, and that reading is sent.
    const bool repaired = decision == settings::Decision::Repair &&
                          Write(settings::kDebugModeKey, settings::kDebugModeRepairValue);
    std::string& debugMode = values[settings::kDebugModeSendNumber - 1];
    debugMode = Read(settings::kDebugModeKey);
    // The findings are of the file as the player left it: without the repair's value.
    settings::SettingValues read = values;
    if (repaired) {
        read[settings::kDebugModeSendNumber - 1].clear();
    }
    settings::FileFindings findings = settings::FindingsOf(scan, read);
    LogRepair(decision, repaired, debugMode, findings.unread | scan.laterSettingsKeys);

    // Everything the sending and the lines after it need is made first: from the first command
    // on nothing can fail, so the game script gets all eighteen values or none.
    std::array<std::string, settings::kSettingKeys.size()> commands;
    for (int n = 1; n <= kValueCount; ++n) {
        commands[static_cast<std::size_t>(n - 1)] =
            settings::SendIniDataCommand(n, values[static_cast<std::size_t>(n - 1)]);
    }
    std::vector<std::string> warnings = settings::WarningLines(findings, values);
    for (const std::string& command : commands) {
        if (!host::RunConsoleCommand(command.c_str())) {
            LogLine(
                "Install_Helmshroud :: Error: the game's console can't be reached. Nothing sent.");
            return;
        }
    }
    // The warnings say how the values went out, so they follow the sending and come before the line
    // that closes the run.
    for (const std::string& line : warnings) {
        LogLine("%s", line.c_str());
    }
    LogLine("Install_Helmshroud :: Info: Called SendIniData.");
}

void RunSettings() {
    const std::string path = settings::IniPath(korv::kPluginName, "");
    settings::RemoveLeftOverTemporary(path); // one that stays is not the plugin's
    if (!EnsureSettingsFile(path)) {
        return;
    }
    // A file that doesn't open as the profile functions open it, a folder of that name among
    // others, would read as eighteen empty values and take a repair write: leave it, and the
    // game's settings, alone.
    std::string start;
    settings::FileFailure failure;
    if (!settings::FileStart(path, start, failure)) {
        LogLine("%s", settings::UnreadableLine(failure).c_str());
        return;
    }
    ReadAndSend(path, settings::TextFormOf(start));
}

} // namespace

void Install_Helmshroud() {
    korv::SlimGuard run(g_runLock);
    RunSettings();
    FlushLog();
}
