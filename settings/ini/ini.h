#pragma once
// INI helpers over the Windows private-profile functions. A file is named by a base name and an
// optional directory; callers never build paths themselves.
#include "settings/ini/file_presence.h"

#include <cstddef>
#include <string>

namespace settings {

// Folder of the settings files when no directory is given, relative to the game's working
// directory.
inline constexpr char kDefaultIniFolder[] = ".\\Data\\KORV\\Plugins\\";
// The profile functions get the path and the value in buffers of this size, terminating zero
// included.
inline constexpr std::size_t kIniPathBufferSize = 255;
inline constexpr std::size_t kIniValueBufferSize = 255;

// directory (or the default folder when it is empty) + baseName + ".ini", joined with nothing in
// between. Empty when the path would not fit the path buffer.
std::string IniPath(const std::string& baseName, const std::string& directory);

// Whether the named file exists. A failed query that does not mean "absent" is logged as an error
// and answered Unknown.
Presence IniPresence(std::string baseName, std::string directory);

} // namespace settings

// False for an empty base name; true when the file (or a directory of that name) exists.
bool IniExists(std::string baseName, std::string directory);

// Writes key = value and reads it back. True only when the file now holds exactly value for the
// key. False, and nothing written, when any of baseName, section, key or value is empty.
bool IniWrite(std::string baseName, std::string section, std::string key, std::string value,
              std::string directory);

// The key's value, or the empty text when the key is absent or empty, the file does not exist or an
// argument is empty.
std::string IniRead(std::string baseName, std::string section, std::string key,
                    std::string directory);

// The profile read itself: the key's value, or defaultValue when the key is absent; at most 254
// characters. Empty when the path does not fit the path buffer.
std::string RawRead(std::string path, std::string section, std::string key,
                    std::string defaultValue);
