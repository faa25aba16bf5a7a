// The judgements behind the settings file's warnings: which known key a stray name meant, whether
// a value fits its key's type prefix, and how the lines show what the file holds.
#include "settings/diagnostics/key_match.h"
#include "settings/diagnostics/settings_scan.h"
#include "settings/diagnostics/value_fit.h"
#include "settings/diagnostics/warning_lines.h"

#include <doctest.h>

#include <string>

using namespace settings;

namespace {

std::string Meant(const std::string& name) {
    const SettingKey* key = ClosestSettingKey(name);
    return key == nullptr ? "" : key->name;
}

} // namespace

TEST_CASE(
    "a name one or two edits from a known key, in any letter case, is taken for that key, and a "
    "name three edits away or wholly different is not") {
    CHECK(Meant("iIsWeaponDrwan") == "iIsWeaponDrawn");  // two letters swapped
    CHECK(Meant("IsWeaponDrawn") == "iIsWeaponDrawn");   // the prefix dropped
    CHECK(Meant("IISWEAPONDRAWNN") == "iIsWeaponDrawn"); // other case, a letter doubled
    CHECK(Meant("iInCombat") == "iInIsCombat");          // two letters dropped
    CHECK(Meant("iIsCurrentAtmosphereBreathable") == "iIsCurrentAtmosphereBreatheable");
    CHECK(Meant("iIsWeaponDxxxn") == ""); // three letters changed
    CHECK(Meant("bDebug") == "");         // four letters short
    CHECK(Meant("iExtra0") == "");
    CHECK(Meant("") == "");
    CHECK(Meant(std::string(5000, 'i')) == "");
    CHECK(SettingKeyNamed("BDEBUGMODE") == &kSettingKeys.back());
    CHECK(SettingKeyNamed("bDebugMode ") == nullptr);
}

TEST_CASE("a value fits its type prefix when an i key holds a whole number and a b key holds 0 "
          "or 1, and fits a key of any other prefix whatever it holds") {
    CHECK(FitsTypePrefix("sName", "yes"));
    CHECK(FitsTypePrefix("", "yes"));
    CHECK(FitsTypePrefix("iIsWeaponDrawn", ""));
    for (const char* whole : {"0", "-1", "+2", "007", "123456789012"}) {
        CHECK(FitsTypePrefix("iIsWeaponDrawn", whole));
    }
    for (const char* other : {"yes", "1.5", " 1", "1 ", "-", "+", "1-", "0x1", "--1"}) {
        CHECK_FALSE(FitsTypePrefix("iIsWeaponDrawn", other));
    }
    CHECK(FitsTypePrefix("bDebugMode", "0"));
    CHECK(FitsTypePrefix("bDebugMode", "1"));
    for (const char* other : {"2", "-1", "01", "true", "+1"}) {
        CHECK_FALSE(FitsTypePrefix("bDebugMode", other));
    }
}

TEST_CASE("a name or value with control characters is shown with '?' in their place") {
    FileFindings findings;
    findings.unknownKeys = {"a\tb\x7F"};
    SettingValues sent;
    sent.fill("0");
    sent[0] = "1\x01"; // iInSafeTemperature's
    CHECK(WarningLines(findings, sent) ==
          std::vector<std::string>{
              "Install_Helmshroud :: Warning: key 'a?b?' in Helmshroud.ini is not one of the "
              "plugin's keys and was ignored.",
              "Install_Helmshroud :: Warning: key 'iInSafeTemperature' in Helmshroud.ini holds "
              "'1?', not a whole number; it was sent as written, and the game script decides "
              "what it means."});
}

TEST_CASE("where the profile functions read the file otherwise than its text stands, one line per "
          "place names the line, what stands there and what to change, and the values it speaks "
          "for are not named again as missing") {
    auto lines = [](const std::string& text, const SettingValues& read) {
        SettingsScanner scanner;
        scanner.Feed(text);
        return WarningLines(FindingsOf(scanner.Finish(), read), read);
    };
    const std::string warning = "Install_Helmshroud :: Warning: line ";
    SettingValues none;
    // Wine reads "[Settings" as an ordinary line.
    CHECK(lines("[Settings\r\niIsWeaponDrawn=1\r\n", none).front() ==
          warning + "1 of Helmshroud.ini, '[Settings', may be read as another section than "
                    "[Settings], and the values under it were read as empty and sent empty. Write "
                    "the line as [Settings].");
    // Code page 936 takes the LF after a lead byte into a character, and [Settings] with it.
    CHECK(lines(";\xB0\n[Settings]\nbDebugMode=1\niIsWeaponDrawn=1\n", none).front() ==
          warning + "2 of Helmshroud.ini, '[Settings]', was not read as the start of [Settings]: "
                    "the 2 values under it were read as empty and sent empty. Line 1 ends in a "
                    "non-ASCII character, which Windows' code page may read together with the "
                    "line's end: add a blank after that character.");
    SettingValues weaponOnly;
    weaponOnly[5] = "1";
    CHECK(lines("[Settings]\r\niIsWeaponDrawn=1\r\nbDebugMode=\xA0\r\n", weaponOnly) ==
          std::vector<std::string>{
              warning + "3 of Helmshroud.ini, 'bDebugMode=\xA0', holds a value for bDebugMode "
                        "that Windows read as empty, and it was sent empty. Retype the line in "
                        "plain characters, or save the file as ANSI, UTF-8 without a byte-order "
                        "mark, or UTF-16 LE with its byte-order mark.",
              "Install_Helmshroud :: Warning: 16 keys in Helmshroud.ini are missing or empty and "
              "were sent empty: iInSafeTemperature, iInSealedInterior, "
              "iIsOnPlayerHomeSpaceship, iInSealedSpaceship, iIsCurrentAtmosphereBreatheable, "
              "iIsInHabitableSettlement, iInHazardousEnvironment, iIsInExtremePlanetTemperature, "
              "iInIsCombat, iAreHostilesNearby, iOnExtremePlanet, iIsCurrentWeatherIsHazardous, "
              "iIsCurrentWeatherIsPotentiallyHazardous, iIsInZeroGravity, "
              "iIsInExtremelyHighGravity, iIsTakingEnvironmentalDamage."});
}
