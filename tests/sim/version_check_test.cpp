#include "sim/extender/version_check.h"

#include <doctest.h>

#include <cstring>

namespace {

sim::VersionRecord GoodRecord() {
    sim::VersionRecord record;
    std::memset(&record, 0, sizeof record);
    record.recordVersion = 1;
    record.pluginVersion = 1;
    std::strcpy(record.name, "Helmshroud");
    record.compatibleRuntimes[0] = 0x01080560;
    return record;
}

} // namespace

TEST_CASE(
    "the extender accepts record version 1 listing runtime 0x01080560 anywhere before the 0") {
    sim::VersionRecord record = GoodRecord();
    CHECK(sim::RefusalReason(record).empty());
    record.compatibleRuntimes[0] = 0x01070200;
    record.compatibleRuntimes[1] = 0x01080560;
    CHECK(sim::RefusalReason(record).empty());
}

TEST_CASE("the extender refuses another record version, or a runtime list without 0x01080560") {
    sim::VersionRecord record = GoodRecord();
    record.recordVersion = 2;
    CHECK(sim::RefusalReason(record) == "record version 2 is not 1");

    record = GoodRecord();
    record.compatibleRuntimes[0] = 0x01080570;
    CHECK(sim::RefusalReason(record) == "runtime 0x01080560 is not among its compatible runtimes");

    record = GoodRecord();
    record.compatibleRuntimes[0] = 0;
    record.compatibleRuntimes[1] = 0x01080560; // after the closing 0: not in the list
    CHECK_FALSE(sim::RefusalReason(record).empty());
}

TEST_CASE("the record's description shows each field and notes bytes left after the name's end") {
    sim::VersionRecord record = GoodRecord();
    std::vector<std::string> fields = sim::DescribeVersionRecord(record);
    REQUIRE(fields.size() == 8);
    CHECK(fields[0] == "record-version 1");
    CHECK(fields[2] == "name \"Helmshroud\"");
    CHECK(fields[3] == "author \"\"");
    CHECK(fields[6] == "compatible-runtimes 0x01080560");
    CHECK(fields[7] == "reserved 0x00000000 0x00000000 0x00000000");

    record.name[200] = 'x';
    record.compatibleRuntimes[3] = 7;
    fields = sim::DescribeVersionRecord(record);
    CHECK(fields[2] == "name \"Helmshroud\" (not zero-padded)");
    CHECK(fields[6] == "compatible-runtimes 0x01080560 (non-zero entries after the closing 0)");
}
