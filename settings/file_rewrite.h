#pragma once
// A settings file rewritten into the form Windows' profile functions read, or made anew, all or
// nothing: the new bytes go to a temporary file in the same folder, which then takes the file's
// place in one step.
// A run killed at any moment leaves the old file or the new one, never a cut one. A run killed
// before the step leaves the temporary file, which the next run removes first. (Marking it for
// deletion until it is whole would remove it at once, but Microsoft's documentation allows only
// closing a file's handle once the file is so marked, not writing to it.)
#include "settings/text_form.h"

#include <cstdint>
#include <string>

namespace settings {

// The temporary file is the settings file's path with this added.
inline constexpr char kRewriteSuffix[] = ".tmp";

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
};

// The file's first three bytes (fewer for a shorter file) into start; false when it can't be
// opened or read.
bool FileStart(const std::string& path, std::string& start);

// Removes the temporary file a killed run left beside the file at path, if there is one. False
// when one is still there.
bool RemoveLeftOverRewrite(const std::string& path);

// Moves the temporary file beside path, made whole, into path's place, in one step and never over
// a file that is there. False, and the temporary file removed, when it can't be moved.
bool PlaceNewFile(const std::string& path);

// Rewrites the file at path, which is of the given form. On failure the file is as it was and no
// temporary file is left.
RewriteOutcome RewriteFile(const std::string& path, TextForm form);

} // namespace settings
