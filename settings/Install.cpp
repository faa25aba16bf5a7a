#include "settings/Install.h"

#include "host/console.h"
#include "korv_common/Log.h"
#include "korv_common/plugin_name.h"
#include "korv_common/slim_lock.h"
#include "settings/diagnostics/file_findings.h"
#include "settings/diagnostics/settings_scan.h"
#include "settings/diagnostics/warning_lines.h"
#include "settings/file_readable.h"
#include "settings/file_rewrite.h"
#include "settings/ini.h"
#include "settings/profile.h"
#include "settings/read_check.h"
#include "settings/rewrite_lines.h"
#include "settings/send_command.h"
#include "settings/settings_keys.h"
#include "settings/text_form.h"

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

// A file that exists but can't be opened or read to its end.
void SkipUnreadableFile() {
    LogLine("Install_Helmshroud :: Error: " HELMSHROUD_INI_NAME " can't be read. Nothing sent.");
}

void SkipUnknownFileState() {
    LogLine("Install_Helmshroud :: Error: couldn't tell whether " HELMSHROUD_INI_NAME
            " exists. Skipped this run to keep the file as it is.");
}

// A file saved in a form Windows' profile functions misread is rewritten into one they read before
// anything is read from it or written to it. False when that was needed and failed: the values
// would read as nothing on Windows, and a repair would add a second [Settings].
bool ReadableByWindows() {
    std::string path = settings::IniPath(korv::kPluginName, "");
    settings::RemoveLeftOverRewrite(path); // one that stays is made anew by the rewrite
    // A start that can't be read can't be told from a file Windows reads as it stands.
    std::string start;
    if (!settings::FileStart(path, start)) {
        SkipUnreadableFile();
        return false;
    }
    settings::TextForm form = settings::TextFormOf(start);
    if (!settings::NeedsRewrite(form)) {
        return true;
    }
    settings::RewriteOutcome outcome = settings::RewriteFile(path, form);
    if (outcome.failure != settings::RewriteFailure::None) {
        LogLine("%s", settings::RewriteFailedLine(form, outcome).c_str());
        return false;
    }
    LogLine("%s", settings::RewrittenLine(form).c_str());
    return true;
}

// The settings file's path is made of fixed names, so it and its temporary file's path fit the
// profile functions' path buffer whatever the game folder.
static_assert(sizeof settings::kDefaultIniFolder - 1 + sizeof HELMSHROUD_INI_NAME - 1 +
                  sizeof settings::kRewriteSuffix - 1 <
              settings::kIniPathBufferSize);

// The eighteen keys go into a temporary file beside the settings file, which takes its place once
// every write went through: a write that fails, or a run stopped half-way, never leaves a file with
// only some of them, which every later run would take for the player's own and send with the rest
// empty. The presence test after it is the check.
void CreateWithDefaults() {
    std::string path = settings::IniPath(korv::kPluginName, "");
    std::string temporary = path + settings::kRewriteSuffix;
    // A temporary file a killed run left would keep its lines before the defaults.
    if (!settings::RemoveLeftOverRewrite(path)) {
        return;
    }
    for (const settings::SettingKey& key : settings::kSettingKeys) {
        if (!settings::ProfileWrite(temporary.c_str(), settings::kSettingsSection, key.name,
                                    key.defaultValue)) {
            settings::RemoveLeftOverRewrite(path);
            return;
        }
    }
    settings::PlaceNewFile(path);
}

// Returns false when the run has to stop: the file could not be created or read, or its state is
// unknown.
bool EnsureSettingsFile() {
    Presence presence = SettingsFilePresence();
    if (presence == Presence::Unknown) {
        SkipUnknownFileState();
        return false;
    }
    if (presence == Presence::Absent) {
        CreateWithDefaults();
        LogLine("Install_Helmshroud :: Warning: " HELMSHROUD_INI_NAME
                " wasn't existing. Created one.");
    }
    presence = SettingsFilePresence();
    if (presence == Presence::Unknown) {
        SkipUnknownFileState();
        return false;
    }
    if (presence == Presence::Absent) {
        LogLine("Install_Helmshroud :: Error: " HELMSHROUD_INI_NAME
                " couldn't be created. Aborting.");
        return false;
    }
    // A folder of that name, or a file another program holds without sharing reads, would read as
    // eighteen empty values and take a repair write: leave it, and the game's settings, alone.
    if (!settings::OpensForReading(settings::IniPath(korv::kPluginName, ""))) {
        SkipUnreadableFile();
        return false;
    }
    return ReadableByWindows();
}

void ReadAndSend() {
    constexpr int kValueCount = static_cast<int>(settings::kSettingKeys.size());
    settings::SettingValues values;
    for (int n = 1; n <= kValueCount; ++n) {
        values[static_cast<std::size_t>(n - 1)] = Read(settings::KeyBySendNumber(n).name);
    }
    // The file as the player left it, before the repair adds to it. Without it no read can be
    // told from a failed one, and nothing is sent.
    settings::SettingsScan scan;
    if (!settings::ScanSettingsFile(settings::IniPath(korv::kPluginName, ""), scan)) {
        SkipUnreadableFile();
        return;
    }
    // A read that failed would be sent empty, or taken for a missing bDebugMode and repaired over
    // the player's value.
    if (settings::KeyMask failed = settings::FailedReads(scan, values); failed != 0) {
        LogLine("%s", settings::FailedReadsLine(failed).c_str());
        return;
    }
    settings::FileFindings findings = settings::FindingsOf(scan, values);

    std::string& debugMode = values[settings::kDebugModeSendNumber - 1];
    const bool repairing = debugMode.empty();
    const bool repaired =
        repairing && Write(settings::kDebugModeKey, settings::kDebugModeRepairValue);
    debugMode = Read(settings::kDebugModeKey);
    if (repairing) {
        // The read-back may have been a read that failed: the second reading tells.
        if (repaired || debugMode == settings::kDebugModeRepairValue) {
            LogLine("Install_Helmshroud :: Warning: key '%s' in " HELMSHROUD_INI_NAME
                    " wasn't existing. Created it.",
                    settings::kDebugModeKey);
        } else {
            // A read-only file, a file the profile writer would damage: say so rather than claim
            // it.
            LogLine("Install_Helmshroud :: Error: key '%s' in " HELMSHROUD_INI_NAME
                    " wasn't existing and couldn't be created.",
                    settings::kDebugModeKey);
        }
    }
    // The value the file holds, or the one just written and read back, now reads empty.
    settings::KeyMask failed = settings::FailedReads(scan, values);
    if (repaired && debugMode.empty()) {
        failed |= settings::MaskOf(settings::KeyBySendNumber(settings::kDebugModeSendNumber));
    }
    if (failed != 0) {
        LogLine("%s", settings::FailedReadsLine(failed).c_str());
        return;
    }

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

} // namespace

void Install_Helmshroud() {
    korv::SlimGuard run(g_runLock);
    if (EnsureSettingsFile()) {
        ReadAndSend();
    }
    FlushLog();
}
