#include "settings/ini/ini.h"

#include "catalogue/log_lines.h"
#include "korv_common/Log.h"
#include "settings/ini/profile.h"

namespace settings {

std::string IniPath(const std::string& baseName, const std::string& directory) {
    std::string path = directory;
    if (path.empty()) {
        path = kDefaultIniFolder;
    }
    path += baseName;
    path += ".ini";
    // The path buffer keeps one byte for the terminating zero; a longer path is refused, never cut.
    if (path.size() >= kIniPathBufferSize) {
        return {};
    }
    return path;
}

namespace {

Presence PresenceOfPath(const std::string& path) {
    PresenceAnswer answer = QueryPresence(path);
    if (answer.presence == Presence::Unknown) {
        LogLine(lines::kExistsFailed, path.c_str(), static_cast<unsigned>(answer.windowsError));
    }
    return answer.presence;
}

} // namespace

Presence IniPresence(std::string baseName, std::string directory) {
    if (baseName.empty()) {
        return Presence::Absent;
    }
    std::string path = IniPath(baseName, directory);
    if (path.empty()) {
        LogLine(lines::kPathTooLong, baseName.c_str());
        return Presence::Unknown;
    }
    return PresenceOfPath(path);
}

} // namespace settings

using settings::Presence;

bool IniExists(std::string baseName, std::string directory) {
    return settings::IniPresence(std::move(baseName), std::move(directory)) == Presence::Present;
}

bool IniWrite(std::string baseName, std::string section, std::string key, std::string value,
              std::string directory) {
    if (baseName.empty() || section.empty() || key.empty() || value.empty()) {
        return false;
    }
    std::string path = settings::IniPath(baseName, directory);
    if (path.empty()) {
        return false;
    }
    // A file whose presence can't be told may well be there, and is not written blind.
    if (settings::PresenceOfPath(path) == Presence::Unknown) {
        return false;
    }
    std::uint32_t error = 0; // the read-back tells
    settings::ProfileWrite(path.c_str(), section.c_str(), key.c_str(), value.c_str(), error);
    if (settings::PresenceOfPath(path) != Presence::Present) {
        return false;
    }
    // Read back with no default: a key the write did not store reads empty and fails the
    // comparison.
    return RawRead(path, section, key, "") == value;
}

std::string IniRead(std::string baseName, std::string section, std::string key,
                    std::string directory) {
    if (baseName.empty() || section.empty() || key.empty()) {
        return {};
    }
    std::string path = settings::IniPath(baseName, directory);
    if (path.empty() || settings::PresenceOfPath(path) != Presence::Present) {
        return {};
    }
    return RawRead(path, section, key, "");
}

std::string RawRead(std::string path, std::string section, std::string key,
                    std::string defaultValue) {
    if (path.size() >= settings::kIniPathBufferSize) {
        return {};
    }
    return settings::ProfileRead(path.c_str(), section.c_str(), key.c_str(), defaultValue.c_str());
}
