// Which profile reads failed, told from the file's own text. Where Windows and Wine read a file
// differently, each one's answer is the data: the decision must not cost the player a value on
// either.
#include "settings/read_check.h"

#include <doctest.h>

#include <string>

using namespace settings;

namespace {

SettingsScan Scan(const std::string& bytes) {
    SettingsScanner scanner;
    scanner.Feed(bytes);
    return scanner.Finish();
}

// The eighteen values as a run reads them: each key's default, with one key's value replaced.
SettingValues Read(const char* key, const std::string& value) {
    SettingValues values;
    for (const SettingKey& setting : kSettingKeys) {
        values[static_cast<std::size_t>(setting.sendNumber - 1)] =
            std::string(setting.name) == key ? value : setting.defaultValue;
    }
    return values;
}

std::string FileOf(const std::string& debugModeLine) {
    std::string file = "[Settings]\r\n";
    for (const SettingKey& key : kSettingKeys) {
        if (key.sendNumber != kDebugModeSendNumber) {
            file += std::string(key.name) + "=" + key.defaultValue + "\r\n";
        }
    }
    return file + debugModeLine;
}

const KeyMask kDebugMode = MaskOf(KeyBySendNumber(kDebugModeSendNumber));

} // namespace

TEST_CASE("a key read empty is a failed read only where the file holds a value for it, and the "
          "error line names every such key") {
    // A missing bDebugMode, and an empty one, are repaired; one that stands with its value is not.
    CHECK(FailedReads(Scan(FileOf("")), Read("bDebugMode", "")) == 0);
    CHECK(FailedReads(Scan(FileOf("bDebugMode= \"\"\r\n")), Read("bDebugMode", "")) == 0);
    CHECK(FailedReads(Scan(FileOf("bDebugMode=1\r\n")), Read("bDebugMode", "")) == kDebugMode);
    CHECK(FailedReads(Scan(FileOf("bDebugMode=1\r\n")), Read("bDebugMode", "1")) == 0);

    // "[Settings" without its ']' names the section on Windows, which reads bDebugMode's "1"; Wine
    // takes the line for an ordinary one and reads nothing. On Wine the run stops rather than
    // repairing: nothing is written over the player's value.
    SettingsScan open = Scan("[Settings\r\nbDebugMode=1\r\n");
    CHECK(FailedReads(open, Read("bDebugMode", "1")) == 0); // Windows
    CHECK(FailedReads(open, Read("bDebugMode", "")) == kDebugMode);

    SettingValues two = Read("iIsWeaponDrawn", "");
    two[0] = "";
    const KeyMask both = FailedReads(Scan(FileOf("bDebugMode=1\r\n")), two);
    CHECK(FailedReadsLine(MaskOf(kSettingKeys[6])) ==
          "Install_Helmshroud :: Error: Windows couldn't read key 'iIsWeaponDrawn' of "
          "Helmshroud.ini, which holds a value for it. Nothing sent, and the file was left as it "
          "is; the next game load reads it again.");
    CHECK(FailedReadsLine(both) ==
          "Install_Helmshroud :: Error: Windows couldn't read 2 keys of Helmshroud.ini, which "
          "holds a value for each: iInSafeTemperature, iIsWeaponDrawn. Nothing sent, and the file "
          "was left as it is; the next game load reads it again.");
}
