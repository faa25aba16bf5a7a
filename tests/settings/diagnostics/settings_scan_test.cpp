// The plugin's own reading of the settings file's text, where the log shows it only in part: how
// lines are counted and cut, and what a line that a double-byte code page may join to the next
// looks like. (What the warnings make of it is told by the cases of tests/bad_inputs/cases/.)
#include "settings/diagnostics/settings_scan.h"

#include <doctest.h>

#include <string>

using namespace settings;
using namespace std::string_literals;

TEST_CASE("lines are counted as editors count them, a NUL ends a line's text, and a line after a "
          "byte above 0x7F and a lone line end is marked, in a file read as its bytes only") {
    const std::string text = "; note\r\n[Settings]]\r\n  iIsWeaponDrawn = 1 \n;\xB0\n"
                             "bDebugMode=\xA0\r;\xB0\r\niInIsCombat=2\0=3\r\n[settings]\r\n"
                             "iInIsCombat=3\r[SETTINGS]\nbDebugMode=1"s;
    for (bool bytes : {true, false}) {
        CAPTURE(bytes);
        SettingsScan scan = ScanSettingsText(text, bytes);
        CHECK(scan.settingsLine.number == 2);
        CHECK(scan.settingsLine.text == "[Settings]]");
        CHECK(scan.settingsNameUnsure);
        CHECK(scan.keyLines[6].number == 3);
        CHECK(scan.keyLines[6].text == "iIsWeaponDrawn = 1");
        CHECK(scan.keyLines[17].number == 5);
        CHECK(scan.keyLines[17].afterNonAscii == bytes);
        CHECK(scan.keyLines[9].number == 7); // after a CR LF, which no byte takes with it
        CHECK_FALSE(scan.keyLines[9].afterNonAscii);
        CHECK(scan.keyLines[9].text == "iInIsCombat=2");
        CHECK(scan.nulLine == 7);
        REQUIRE(scan.places.size() == 2);
        CHECK(scan.places[0].line.number == 8);
        CHECK(scan.places[1].line.number == 10);
        CHECK(scan.strayDebugMode.number == 11);
    }
    // A '[' line without ']' names a section to its end, unless a NUL cuts it short.
    CHECK(ScanSettingsText("[Settings\r\nx=1\r\n", true).settingsNameUnsure);
    CHECK(ScanSettingsText("[Set\0tings]\r\n[Settings]"s, true).settingsLine.number == 2);
    CHECK_FALSE(ScanSettingsText("[Settings] ; note\r\n[Other\r\n", true).settingsNameUnsure);
}

TEST_CASE(
    "of a key set many times the first line counts and the second is named, blanks of every "
    "kind are taken off, only a matching pair of quotes reads as empty, and past the first few "
    "places outside [Settings] only a bDebugMode there is kept") {
    std::string text = "[Settings]\r\n\v\fiInSafeTemperature\f=\v1\r\niInSafeTemperature=2\r\n"
                       "iInSafeTemperature=3\r\niInSealedInterior='x\r\niIsWeaponDrawn=ab\r\n"
                       "iInIsCombat=\"\"\r\niAreHostilesNearby=''\r\niOnExtremePlanet=aa\r\n";
    for (int i = 0; i < 20; ++i) {
        text += "[S" + std::to_string(i) + "]\r\nbDebugMode=1\r\n";
    }
    SettingsScan scan = ScanSettingsText(text, true);
    CHECK(scan.keyLines[0].text == "iInSafeTemperature\f=\v1");
    CHECK(scan.twiceLines[0].number == 3);
    CHECK(scan.valued == (KeyMask{1} << 0 | KeyMask{1} << 1 | KeyMask{1} << 6 | KeyMask{1} << 11));
    CHECK(scan.places.size() == kToldPlaces);
    CHECK(scan.strayDebugMode.number == 11);
}
