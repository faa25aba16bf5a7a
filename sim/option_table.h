#pragma once
// The simulator's options, one row each: all that the parser, --help and the transcript know of
// an option.
#include "sim/options.h"

#include <span>
#include <string>

namespace sim {

using OptionValues = std::span<const std::string>;

struct OptionRow {
    const char* name;  // "--loads"
    const char* value; // its values as the help names them, a word each ("WALK N"); "" for a flag
    const char* help;  // its help, in the lines --help prints
    bool (*set)(Options& options, OptionValues values); // false for values it can't take
    // Its transcript entry, which starts with its name without the dashes; null or "": none.
    std::string (*recorded)(const Options& options, const std::string& name);
};

std::span<const OptionRow> OptionTable();

} // namespace sim
