#pragma once
// Runs the cases of one folder of tests/bad_inputs/cases/ side by side, one simulated game each,
// and checks every run: no crash, no stall, the expected commands and log lines, and the settings
// file's bytes afterwards. A failure names its case file; a malformed case file fails the group.
#include <string>

namespace testing {

// group: a folder below tests/bad_inputs/cases/.
void RunCaseFolder(const std::string& group);

} // namespace testing
