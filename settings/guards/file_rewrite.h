#pragma once
// A settings file rewritten into the form Windows' profile functions read, or made anew, all or
// nothing: the new bytes go to a temporary file in the same folder, flushed to the disk, which then
// takes the file's place in one step.
// A run killed at any moment leaves the old file or the new one, never a cut one. A run killed
// before the step leaves the temporary file, which the next run removes first. (Marking it for
// deletion until it is whole would remove it at once, but Microsoft's documentation allows only
// closing a file's handle once the file is so marked, not writing to it.)
#include "settings/guards/text_form.h"
#include "settings/ini/profile.h"

#include <cstdint>
#include <string>

namespace settings {

// The temporary file is the settings file's path with this added: a name no player or editor gives
// a file, so that one standing there is the plugin's own. Players see it in the readme.
inline constexpr char kTemporarySuffix[] = ".helmshroud-new";

enum class RewriteFailure {
    None,
    ReadOnly,    // the file is marked read-only
    Held,        // another program holds it open and does not let it be replaced
    NoTemporary, // no new file can be made beside it
    Copy,        // reading the file or writing the new one failed
    Replace,     // the new file could not take the old one's place
};

struct RewriteOutcome {
    RewriteFailure failure = RewriteFailure::None;
    std::uint32_t windowsError = 0; // the Windows error of the step that failed
    bool folder = false;            // NoTemporary: a folder stands where it goes
};

// The file's first three bytes (fewer for a shorter file) into start, read as the profile functions
// read the file; false, with the cause in failure, when it can't be opened or read.
bool FileStart(const std::string& path, std::string& start, FileFailure& failure);

// Removes the temporary file a killed run left beside the file at path, if one is there and could
// be the plugin's: a folder or a read-only file of that name is left alone.
void RemoveLeftOverTemporary(const std::string& path);

// Makes the temporary file beside path, empty, never over anything that stands there.
RewriteOutcome MakeTemporary(const std::string& path);

// Flushes the temporary file beside path to the disk and moves it into path's place in one step,
// never over a file that is there. On failure the temporary file is removed.
RewriteOutcome PlaceTemporary(const std::string& path);

// Removes the temporary file beside path that this run made.
void DiscardTemporary(const std::string& path);

// Rewrites the file at path, which is of the given form. On failure the file is as it was and no
// temporary file is left.
RewriteOutcome RewriteFile(const std::string& path, TextForm form);

} // namespace settings
