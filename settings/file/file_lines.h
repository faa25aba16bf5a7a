#pragma once
// What the log tells a player about the settings file itself: one that can't be read, made or
// rewritten, each with its cause as the platform answered it and what to do.
#include "settings/file/settings_file.h"
#include "settings/file/text_form.h"

#include <string>

namespace settings {

// The error when the file did not open or read.
std::string UnreadableLine(const FileStatus& status);

// The error when the file could not be made from its temporary file.
std::string CreationFailedLine(const FileStatus& status);

// The line after a rewrite of a file of this form, or the error when it failed.
std::string RewriteLine(TextForm form, const FileStatus& status);

} // namespace settings
