#pragma once
// Runs a group of bad inputs side by side and checks every run: no crash, no stall, the expected
// commands and log lines, and the settings file's bytes afterwards. A failure names its input.
#include "tests/bad_inputs/bad_input.h"
#include "tests/bad_inputs/bad_input_run.h"

#include <vector>

namespace testing {

// The outcomes, in the order of the inputs, for checks of a group's own.
std::vector<BadInputOutcome> RunAndCheck(const std::vector<BadInput>& inputs);

} // namespace testing
