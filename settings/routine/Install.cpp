#include "settings/routine/Install.h"

#include "catalogue/log_lines.h"
#include "host/console.h"
#include "korv_common/Log.h"
#include "korv_common/plugin_name.h"
#include "korv_common/slim_lock.h"
#include "settings/diagnostics/warning_lines.h"
#include "settings/file/file_lines.h"
#include "settings/ini/ini.h"
#include "settings/ini/profile.h"
#include "settings/routine/send_command.h"

#include <algorithm>

namespace {

using settings::Presence;

// Two game loads in quick succession: one complete run after the other. A lock that never
// allocates, so that a run never fails at its first step.
korv::SlimLock g_runLock;

constexpr std::size_t kDebugMode = settings::kDebugModeSendNumber - 1;

// The raw read: the file is known to be there, and a read of one that went meanwhile gives the
// empty text all the same.
std::string Read(const std::string& path, const char* key) {
    return RawRead(path, settings::kSettingsSection, key, "");
}

// bDebugMode written as 0, and read back.
bool Repair() {
    return IniWrite(korv::kPluginName, settings::kSettingsSection, settings::kDebugModeKey,
                    settings::kDebugModeRepairValue, "");
}

// In the order of their send numbers.
settings::SettingValues ReadValues(const std::string& path) {
    settings::SettingValues values;
    for (std::size_t n = 1; n <= values.size(); ++n) {
        values[n - 1] = Read(path, settings::KeyBySendNumber(static_cast<int>(n)).name);
    }
    return values;
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
settings::FileStatus CreateWithDefaults(const std::string& path) {
    settings::FileStatus made = settings::MakeTemporary(path);
    const std::string temporary = path + settings::kTemporarySuffix;
    for (const settings::SettingKey& key : settings::kSettingKeys) {
        if (made.Ok() && !settings::ProfileWrite(temporary.c_str(), settings::kSettingsSection,
                                                 key.name, key.defaultValue, made.error)) {
            settings::DiscardTemporary(path);
            made.failed = settings::FileStatus::Step::Write;
        }
    }
    return made.Ok() ? settings::PlaceTemporary(path) : made;
}

// False when the run has to stop: the file could not be created, or its state is unknown.
bool EnsureSettingsFile(const std::string& path) {
    Presence presence = settings::IniPresence(korv::kPluginName, "");
    if (presence == Presence::Absent) {
        if (settings::FileStatus made = CreateWithDefaults(path); made.Ok()) {
            LogLine(lines::kCreated);
        } else {
            LogLine("%s", settings::CreationFailedLine(made).c_str());
        }
    }
    if (presence != Presence::Unknown) {
        presence = settings::IniPresence(korv::kPluginName, "");
    }
    if (presence != Presence::Present) {
        LogLine(presence == Presence::Unknown ? lines::kExistsUnknown : lines::kAborting);
    }
    return presence == Presence::Present;
}

// A file in a form Windows' profile functions are documented to misread (a UTF-8 mark hides its
// first line from them, and UTF-16 big-endian reads as nothing) is rewritten into one they read,
// and read again, where the reads gave no value at all: Wine reads both forms, and such a file
// stays as it is there. False when the rewrite was needed and failed.
bool ReadAsWindowsReads(const std::string& path, const settings::SettingsFile& file,
                        settings::TextForm form, settings::SettingValues& read) {
    if (!settings::NeedsRewrite(form) ||
        std::any_of(read.begin(), read.end(), [](const std::string& v) { return !v.empty(); })) {
        return true;
    }
    settings::FileStatus status =
        settings::RewriteFile(path, file, settings::ReadableBytes(file.bytes, form));
    LogLine("%s", settings::RewriteLine(form, status).c_str());
    if (status.Ok()) {
        read = ReadValues(path);
    }
    return status.Ok();
}

// What the file's text says beside the values read, and what became of bDebugMode.
std::vector<std::string> FileLines(const std::string& path, const settings::SettingsFile& file,
                                   settings::SettingValues& read, settings::SettingValues& sent) {
    const settings::TextForm form = settings::TextFormOf(file.bytes);
    settings::FileFacts facts;
    facts.tooLarge = file.tooLarge;
    facts.unwritable = !ReadAsWindowsReads(path, file, form, read);
    const std::string text = settings::DecodedText(file.bytes, form);
    const settings::SettingsScan scan = settings::ScanSettingsText(text, !settings::IsUtf16(form));
    if (read[kDebugMode].empty() && scan.settingsLine.number != 0) {
        facts.settingsListed =
            settings::ProfileListsSection(path.c_str(), settings::kSettingsSection);
    }
    const settings::Decision decision = settings::Decide(read, scan, facts);
    const bool written = decision.repair && Repair();
    // bDebugMode is read again whether or not it was written, and that reading goes out.
    sent = read;
    sent[kDebugMode] = Read(path, settings::kDebugModeKey);
    // The text is explained against what goes out, which the reading again may have changed, but
    // for the repair's own value, which is not the player's.
    settings::SettingValues players = sent;
    if (written) {
        players[kDebugMode].clear();
    }
    std::vector<std::string> told;
    if (!file.tooLarge) {
        told = settings::WarningLines(scan, players, sent);
    }
    if (decision.repair) {
        // The read-back may have been a read that failed: the second reading tells.
        bool created = written || sent[kDebugMode] == settings::kDebugModeRepairValue;
        told.push_back(created ? lines::kRepaired : lines::kRepairFailed);
    } else if (decision.hold != settings::Decision::Hold::None) {
        told.push_back(settings::HeldRepairLine(decision, scan));
    }
    return told;
}

void RunSettings() {
    const std::string path = settings::IniPath(korv::kPluginName, "");
    settings::RemoveLeftOverTemporary(path); // one that stays is not the plugin's
    if (!EnsureSettingsFile(path)) {
        return;
    }
    // The file is read once the profile functions have read it: one that no longer opens (a
    // folder of that name among others), or not to its end, may have failed their reads too, and
    // would read as eighteen empty values and take a repair write. It is left alone, and so are
    // the game's settings.
    settings::SettingValues read = ReadValues(path);
    settings::SettingsFile file;
    if (settings::FileStatus status = settings::ReadSettingsFile(path, file); !status.Ok()) {
        LogLine("%s", settings::UnreadableLine(status).c_str());
        return;
    }
    settings::SettingValues sent;
    for (const std::string& line : FileLines(path, file, read, sent)) {
        LogLine("%s", line.c_str());
    }
    // Every line so far is in the file before the game runs a command: one that ends the game
    // leaves the lines that explain what went out.
    FlushLog();
    // Made first: from the first command on nothing can fail, so the game script gets all
    // eighteen values or none.
    std::array<std::string, settings::kSettingKeys.size()> commands;
    for (std::size_t n = 1; n <= commands.size(); ++n) {
        commands[n - 1] = settings::SendIniDataCommand(static_cast<int>(n), sent[n - 1]);
    }
    for (const std::string& command : commands) {
        if (!host::RunConsoleCommand(command.c_str())) {
            LogLine(lines::kConsoleUnreachable);
            return;
        }
    }
    LogLine(lines::kCalled);
}

} // namespace

void Install_Helmshroud() {
    korv::SlimGuard run(g_runLock);
    RunSettings();
    FlushLog();
}
