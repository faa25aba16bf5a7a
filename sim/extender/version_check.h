#pragma once
// How the extender judges a plugin's version record.
#include "sim/extender/korv_records.h"

#include <string>
#include <vector>

namespace sim {

// The record's fields as "name value" texts, in record order, for the transcript.
std::vector<std::string> DescribeVersionRecord(const VersionRecord& record);

// Why the extender refuses the plugin, or the empty text when it accepts it: the record version
// must be 1 and the compatible-runtime list (ended by 0) must hold this game's runtime.
std::string RefusalReason(const VersionRecord& record);

} // namespace sim
