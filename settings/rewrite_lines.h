#pragma once
// What the log tells a player about a settings file that had to be rewritten before Windows could
// read it, or could not be.
#include "settings/file_rewrite.h"
#include "settings/text_form.h"

#include <string>

namespace settings {

// The warning after a rewrite of a file of this form.
std::string RewrittenLine(TextForm form);

// The error when the rewrite failed: what was found, why it failed, and what to do.
std::string RewriteFailedLine(TextForm form, const RewriteOutcome& outcome);

} // namespace settings
