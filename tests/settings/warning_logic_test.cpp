// The judgements behind the settings file's warnings: which known key a stray name meant, whether
// a value fits its key's type prefix, and how the lines show what the file holds.
#include "settings/diagnostics/key_match.h"
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
