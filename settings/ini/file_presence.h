#pragma once
// Whether a file is there, as the file system answers, and narrow file names as the Windows file
// functions take them.
#include <cstdint>
#include <string>

namespace settings {

enum class Presence {
    Absent,  // the file system says there is no such entry
    Present, // an entry of that name exists (a directory counts)
    Unknown, // the query failed for another reason: the file may well exist
};

// Maps the Windows error of a failed attribute query to a verdict: errors 2, 3, 53 and 123 mean
// absent; any other error leaves the answer unknown.
Presence PresenceForQueryError(std::uint32_t windowsError);

struct PresenceAnswer {
    Presence presence;
    std::uint32_t windowsError; // 0 when the query succeeded
};

// Asks the file system about a narrow (ANSI) path.
PresenceAnswer QueryPresence(const std::string& path);

// path in wide characters, converted from the code page narrow file names are in; false, with the
// Windows error in error, when it holds bytes that code page does not have.
bool ToWidePath(const std::string& path, std::wstring& wide, unsigned long& error);

// Whether a folder stands at the wide path.
bool IsFolder(const std::wstring& path);

} // namespace settings
