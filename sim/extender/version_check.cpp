#include "sim/extender/version_check.h"

#include "sim/game/game_build.h"
#include "sim/platform/text.h"

namespace sim {

namespace {

// A fixed-size text field: the characters before the first zero byte, and whether every byte after
// it is zero too.
std::string FieldText(const char (&field)[kVersionNameSize], bool& zeroPadded) {
    std::size_t length = 0;
    while (length < kVersionNameSize && field[length] != '\0') {
        ++length;
    }
    zeroPadded = length < kVersionNameSize;
    for (std::size_t i = length; i < kVersionNameSize; ++i) {
        zeroPadded = zeroPadded && field[i] == '\0';
    }
    return std::string(field, length);
}

std::string DescribeText(const char* name, const char (&field)[kVersionNameSize]) {
    bool zeroPadded = false;
    std::string text = FieldText(field, zeroPadded);
    return std::string(name) + " \"" + text + "\"" + (zeroPadded ? "" : " (not zero-padded)");
}

} // namespace

std::vector<std::string> DescribeVersionRecord(const VersionRecord& record) {
    std::vector<std::string> fields;
    fields.push_back("record-version " + std::to_string(record.recordVersion));
    fields.push_back("plugin-version " + std::to_string(record.pluginVersion));
    fields.push_back(DescribeText("name", record.name));
    fields.push_back(DescribeText("author", record.author));
    fields.push_back("address-independence " + Hex8(record.addressIndependence));
    fields.push_back("structure-independence " + Hex8(record.structureIndependence));
    std::string runtimes = "compatible-runtimes";
    std::size_t listed = 0;
    while (listed < kCompatibleRuntimeSlots && record.compatibleRuntimes[listed] != 0) {
        runtimes += ' ';
        runtimes += Hex8(record.compatibleRuntimes[listed]);
        ++listed;
    }
    bool zerosAfter = true;
    for (std::size_t i = listed; i < kCompatibleRuntimeSlots; ++i) {
        zerosAfter = zerosAfter && record.compatibleRuntimes[i] == 0;
    }
    if (listed == kCompatibleRuntimeSlots) {
        runtimes += " (no closing 0)";
    } else if (!zerosAfter) {
        runtimes += " (non-zero entries after the closing 0)";
    }
    fields.push_back(runtimes);
    fields.push_back("reserved " + Hex8(record.reserved[0]) + " " + Hex8(record.reserved[1]) + " " +
                     Hex8(record.reserved[2]));
    return fields;
}

std::string RefusalReason(const VersionRecord& record) {
    if (record.recordVersion != kAcceptedRecordVersion) {
        return "record version " + std::to_string(record.recordVersion) + " is not " +
               std::to_string(kAcceptedRecordVersion);
    }
    for (std::size_t i = 0; i < kCompatibleRuntimeSlots && record.compatibleRuntimes[i] != 0; ++i) {
        if (record.compatibleRuntimes[i] == kRuntimeVersion) {
            return {};
        }
    }
    return "runtime " + Hex8(kRuntimeVersion) + " is not among its compatible runtimes";
}

} // namespace sim
