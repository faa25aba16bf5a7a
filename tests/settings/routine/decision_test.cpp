// What a run does with the platform's answers. Where Windows and Wine read the same bytes
// differently, each one's answer is the data: both send what they read, and neither may cost the
// player a value.
#include "settings/routine/decision.h"

#include <doctest.h>

#include <string>

using namespace settings;

namespace {

SettingsScan Scan(const std::string& bytes) {
    SettingsScanner scanner;
    scanner.Feed(bytes);
    return scanner.Finish();
}

// The eighteen values as a run reads them: each key's default, with bDebugMode's replaced.
SettingValues Read(const std::string& debugMode) {
    SettingValues values;
    for (const SettingKey& key : kSettingKeys) {
        values[static_cast<std::size_t>(key.sendNumber - 1)] = key.defaultValue;
    }
    values[kDebugModeSendNumber - 1] = debugMode;
    return values;
}

} // namespace

TEST_CASE("a run sends what was read whenever the file read to its end after the reads, and writes "
          "the repair only where the file's text holds no value the reads missed") {
    const SettingsScan missing = Scan("[Settings]\r\niIsWeaponDrawn=1\r\n");
    CHECK(Decide(false, Read("1"), missing, false) == Decision::Skip);
    CHECK(Decide(true, Read("1"), missing, false) == Decision::Send);
    CHECK(Decide(true, Read(""), missing, false) == Decision::Repair);
    CHECK(Decide(true, Read(""), Scan("[Settings]\r\nbDebugMode= \"\"\r\n"), false) ==
          Decision::Repair);
    // A form the profile writer would damage: a rewrite that failed, NUL bytes outside UTF-16.
    CHECK(Decide(true, Read(""), missing, true) == Decision::SendUnrepaired);
    CHECK(Decide(true, Read(""), Scan(std::string("[Settings]\r\nx=\0\r\n", 17)), false) ==
          Decision::SendUnrepaired);

    // "[Settings" without its ']' names the section on Windows, which reads bDebugMode's "1"; Wine
    // takes the line for an ordinary one and reads nothing, and its writer would add a second
    // [Settings]. Both send; neither writes.
    const SettingsScan open = Scan("[Settings\r\nbDebugMode=1\r\n");
    CHECK(Decide(true, Read("1"), open, false) == Decision::Send);          // Windows
    CHECK(Decide(true, Read(""), open, false) == Decision::SendUnrepaired); // Wine
    // A comment ending in a double-byte lead byte before a LF: Wine's code page 936 reads the line
    // end as half of a character, and the bDebugMode line with it.
    const SettingsScan lead = Scan("[Settings]\n;\xB0\nbDebugMode=1\n");
    CHECK(Decide(true, Read("1"), lead, false) == Decision::Send);          // code page 1252
    CHECK(Decide(true, Read(""), lead, false) == Decision::SendUnrepaired); // code page 936
}
