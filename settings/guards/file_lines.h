#pragma once
// What the log tells a player about the settings file itself: one that can't be read, made or
// rewritten, or that had to be rewritten before Windows could read it.
#include "settings/guards/file_rewrite.h"
#include "settings/guards/text_form.h"

#include <string>

namespace settings {

// The error when the file did not open or read before its values were read.
std::string UnreadableLine(const FileFailure& failure);

// The error when it did not open or read to its end once they were read.
std::string ReadsFailedLine(const FileFailure& failure);

// The error when the file could not be made from its temporary file.
std::string CreationFailedLine(const RewriteOutcome& outcome);

// The warning after a rewrite of a file of this form.
std::string RewrittenLine(TextForm form);

// The error when the rewrite failed: what was found, why it failed, and what to do.
std::string RewriteFailedLine(TextForm form, const RewriteOutcome& outcome);

} // namespace settings
