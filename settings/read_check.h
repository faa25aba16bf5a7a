#pragma once
// Whether the profile reads of a run gave the file's values. A read that fails gives what a key
// that is missing gives, the default (the empty text here), and its last error does not tell the
// two apart either: on Windows a key missing from a file that was read leaves ERROR_FILE_NOT_FOUND
// too (Wine's dlls/kernel32/tests/profile.c, test_GetPrivateProfileString, "Existing section with
// no keys in an existing file"). The file's own text, scanned with Windows' rules, tells it: a key
// whose value stands there reads as text.
#include "settings/diagnostics/file_findings.h"
#include "settings/diagnostics/settings_scan.h"

#include <string>

namespace settings {

// The keys that read empty though the first [Settings] of the scanned file holds a value for
// them: their reads failed.
KeyMask FailedReads(const SettingsScan& scan, const SettingValues& read);

// The error line for a run stopped by reads that failed (failed is not 0).
std::string FailedReadsLine(KeyMask failed);

} // namespace settings
