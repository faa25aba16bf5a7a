// The settings file's names as its text gives them, read as Windows' profile functions read it, and
// the findings made of them. Where Windows and Wine answer differently (Wine's conformance tests
// mark it), the case says which answer the scan gives.
#include "settings/diagnostics/file_findings.h"
#include "settings/diagnostics/settings_scan.h"

#include <doctest.h>

#include <string>
#include <vector>

using namespace settings;

using namespace std::string_literals;

namespace {

SettingsScan Scan(std::string_view bytes, std::size_t chunk = std::string_view::npos) {
    SettingsScanner scanner;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        scanner.Feed(bytes.substr(at, chunk));
    }
    return scanner.Finish();
}

KeyMask Bit(std::string_view key) {
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
        if (key == kSettingKeys[i].name) {
            return KeyMask{1} << i;
        }
    }
    return 0;
}

// ASCII text as UTF-16 LE, without a byte-order mark.
std::string Utf16(std::string_view ascii) {
    std::string units;
    for (char c : ascii) {
        units += c;
        units += '\0';
    }
    return units;
}

using Names = std::vector<std::string>;

} // namespace

// Wine lists no key at all of a section whose first key line has no name.
TEST_CASE("the keys of the first [Settings] that are none of the eighteen are named in file order, "
          "lines without a key name among them, and past five the rest are counted") {
    SettingsScan scan =
        Scan("[Settings]\r\n=5\r\n iIsWeaponDrwan\t= 1\r\nIISWEAPONDRAWN=2\r\n  =6\r\n"
             "a=1\r\nb=2=3\r\nc=3\r\nd=4\r\n");
    CHECK(scan.unknownKeys == Names{"", "iIsWeaponDrwan", "", "a", "b"});
    CHECK(scan.moreUnknownKeys == 2);
}

// Wine ends a section's name at its last ']' and reads a '[' line without one as an ordinary line.
TEST_CASE("section lines lose their blanks and what follows their first closing bracket, a line "
          "that never closes its bracket names a section all the same, letter case does not "
          "matter, and of a section written twice the first counts") {
    SettingsScan scan =
        Scan("[ Extra ] ; note\r\niIsWeaponDrawn=1\r\n[a]b] c\r\n[Settings  \r\nx=1\r\n"
             "[EXTRA]\r\niInIsCombat=2\r\n[settings]\r\ny=1\r\n");
    CHECK(scan.firstSection == "Extra");
    CHECK(scan.settingsSection);
    REQUIRE(scan.otherSections.size() == 2);
    CHECK(scan.otherSections[0].name == "Extra");
    CHECK(scan.otherSections[0].keys == Bit("iIsWeaponDrawn"));
    CHECK(scan.otherSections[1].name == "a");
    CHECK(scan.unknownKeys == Names{"x"});
    SettingsScan open = Scan("[Settings]\r\n[abc=4\r\niInIsCombat=2\r\n");
    CHECK(open.unknownKeys.empty());
    REQUIRE(open.otherSections.size() == 1);
    CHECK(open.otherSections[0].name == "abc=4");
    CHECK(open.otherSections[0].keys == Bit("iInIsCombat"));
}

// Windows reads section "" under a "[]" line; Wine takes the lines above the first section line
// for it, and lists no "[]" among the sections.
TEST_CASE("a [] line starts the section \"\", and the lines above the first section line belong to "
          "no section") {
    SettingsScan scan = Scan("iIsWeaponDrawn=1\r\n[]\r\niInIsCombat=2\r\n[Settings]\r\n");
    CHECK(scan.aboveFirstSection == Bit("iIsWeaponDrawn"));
    CHECK(scan.firstSection == "");
    REQUIRE(scan.otherSections.size() == 1);
    CHECK(scan.otherSections[0].name == "");
    CHECK(scan.otherSections[0].keys == Bit("iInIsCombat"));
}

// Wine reads on past a NUL: "e<NUL>=1" is key "e" to it.
TEST_CASE("comments, lines without '=' and the text after a NUL byte hold no key, and CR LF, LF "
          "and CR each end a line") {
    SettingsScan scan =
        Scan("[Settings]\r;a=1\n  ;b=1\r\n#c=1\nd\re\0=1\r\nf=1\0junk\r\n\0g=1\n[Extra]\rh=1"s);
    CHECK(scan.unknownKeys == Names{"#c", "f"});
    CHECK(scan.otherSections.size() == 1);
    CHECK(scan.nulByte);
    CHECK_FALSE(Scan("[Settings]\r\n").nulByte);
}

TEST_CASE("UTF-16 behind its mark is read as text and its names kept as UTF-8, a UTF-8 mark is "
          "passed over, and any other file is read as its bytes") {
    // e acute, U+1F600 as a surrogate pair, and a high surrogate left alone; then a NUL unit.
    const std::string units("\xE9\x00\x3D\xD8\x00\xDE\x3D\xD8", 8);
    SettingsScan scan = Scan("\xFF\xFE" + Utf16("[Settings]\r\n") + units + Utf16("=1\r\n") +
                             std::string(2, '\0') + Utf16("x=1\r\n") + "\x01");
    CHECK(scan.unknownKeys == Names{"\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD"});
    CHECK(scan.nulByte);
    // A unit above the surrogates is a character of its own; a low surrogate alone is replaced.
    CHECK(Scan("\xFF\xFE" + Utf16("[") + std::string("\x01\xFF\x00\xDE", 4)).firstSection ==
          "\xEF\xBC\x81\xEF\xBF\xBD");
    // So is a high surrogate the file ends on.
    CHECK(Scan("\xFF\xFE" + Utf16("[ab") + "\x3D\xD8").firstSection == "ab\xEF\xBF\xBD");
    // Behind a UTF-8 mark the text reads as it stands, and behind FE FF as UTF-16 big-endian:
    // whether the profile functions read them so is theirs to answer.
    scan = Scan("\xEF\xBB\xBF[Settings]\r\nx=1\r\n");
    CHECK(scan.firstSection == "Settings");
    CHECK(scan.unknownKeys == Names{"x"});
    std::string bigEndian = "\xFE\xFF";
    for (char c : std::string("[Settings]\r\nx=1\r\n")) {
        bigEndian += {'\0', c};
    }
    CHECK(Scan(bigEndian, 3).unknownKeys == Names{"x"});
    CHECK_FALSE(Scan(bigEndian).nulByte);
    // UTF-16 without its mark: a character, then a NUL that ends the line's text, every time.
    scan = Scan(Utf16("[Settings]\r\niIsWeaponDrawn=1\r\n"));
    CHECK_FALSE(scan.firstSection);
    CHECK(scan.nulByte);
}

TEST_CASE("a key of the eighteen counts as valued by its first line in the first [Settings], once "
          "the blanks and one pair of matching quotes around its value are taken off") {
    const KeyMask valued = Bit("iInSafeTemperature") | Bit("iInSealedInterior") |
                           Bit("iIsWeaponDrawn") | Bit("iInIsCombat") | Bit("iOnExtremePlanet") |
                           Bit("iIsInExtremePlanetTemperature");
    const KeyMask empty = Bit("iIsOnPlayerHomeSpaceship") | Bit("iInSealedSpaceship") |
                          Bit("iIsInHabitableSettlement") | Bit("iAreHostilesNearby") |
                          Bit("bDebugMode");
    const std::string text = "[Settings]\r\n"
                             "iInSafeTemperature = 1 \r\n"
                             "iInSealedInterior=\" \"\r\n"
                             "iIsWeaponDrawn=\"x'\r\n"
                             "iInIsCombat='\r\n"
                             "iOnExtremePlanet=a\0\r\n"
                             "iIsInExtremePlanetTemperature=00\r\n"
                             "iIsOnPlayerHomeSpaceship=\t \r\n"
                             "iInSealedSpaceship=\"\"\r\n"
                             "iIsInHabitableSettlement=''\r\n"
                             "iAreHostilesNearby=\0a\r\n"
                             "bDebugMode=\r\n"
                             "BDEBUGMODE=1\r\n"
                             "[Other]\r\niIsInZeroGravity=1\r\n"
                             "[Settings]\r\niIsInExtremelyHighGravity=1\r\n"s;
    for (const std::string& bytes : {text, "\xFF\xFE" + Utf16(text)}) {
        for (std::size_t chunk : {1u, 5u, 1000u}) {
            CAPTURE(chunk);
            SettingsScan scan = Scan(bytes, chunk);
            CHECK(scan.settingsValues == valued);
            CHECK(scan.settingsKeys == (valued | empty));
        }
    }
    // Standing elsewhere, or on a line the scan does not read as a key, is not standing there.
    CHECK(Scan("iInSafeTemperature=1\r\n[Settings]\r\n;iInSafeTemperature=1\r\n").settingsKeys ==
          0);
}

TEST_CASE("the same bytes give the same scan whatever the chunks they come in") {
    const std::string text = "[Settings]\r\n=5\r\n" + std::string(100, 'k') + "=1\r\n[ Extra ]\r" +
                             "iIsWeaponDrawn=1\n[]\r\n\tiInIsCombat =1\r\n";
    const std::string units("\xFF\xFE\x3D\xD8\x00\xDE=\0\r\0\n\0", 12);
    for (const std::string& bytes : {text, units + Utf16(text)}) {
        SettingsScan whole = Scan(bytes);
        for (std::size_t chunk : {1u, 2u, 3u, 7u}) {
            CAPTURE(chunk);
            SettingsScan cut = Scan(bytes, chunk);
            CHECK(cut.unknownKeys == whole.unknownKeys);
            CHECK(cut.aboveFirstSection == whole.aboveFirstSection);
            CHECK(cut.settingsValues == whole.settingsValues);
            REQUIRE(cut.otherSections.size() == whole.otherSections.size());
            for (std::size_t i = 0; i < cut.otherSections.size(); ++i) {
                CHECK(cut.otherSections[i].name == whole.otherSections[i].name);
                CHECK(cut.otherSections[i].keys == whole.otherSections[i].keys);
            }
        }
    }
}

TEST_CASE("names are kept cut to one character past what a warning shows, and sections past the "
          "first few are not kept at all") {
    const std::string longName(1 << 20, 'k');
    std::string text = "[Settings]\r\n" + longName + "=1\r\n[" + longName + "]\r\n[" + longName +
                       "x]\r\n[" + longName + "]\r\niIsWeaponDrawn=1\r\n";
    for (int i = 0; i < 1000; ++i) {
        text += "[S" + std::to_string(i) + "]\r\n";
    }
    SettingsScan scan = Scan(text);
    CHECK(scan.unknownKeys == Names{std::string(kKeptNameLength, 'k')});
    REQUIRE(scan.otherSections.size() == kSearchedSections);
    // Told apart by their length; the third is the first met again.
    CHECK(scan.otherSections[0].name == std::string(kKeptNameLength, 'k'));
    CHECK(scan.otherSections[0].length == longName.size());
    CHECK(scan.otherSections[1].length == longName.size() + 1);
    CHECK(scan.otherSections[0].keys == 0);
    CHECK(scan.otherSections[2].name == "S0");
}

TEST_CASE("the findings count the keys that read empty where they stand, and tell of no [Settings] "
          "or no text only when none of them stands anywhere and nothing was read") {
    SettingValues read; // every value empty
    SettingsScan scan;
    scan.aboveFirstSection = Bit("iIsWeaponDrawn") | Bit("iInIsCombat");
    scan.otherSections = {{"", 0, Bit("iInIsCombat") | Bit("bDebugMode")}};
    FileFindings findings = FindingsOf(scan, read);
    REQUIRE(findings.elsewhere.size() == 2);
    CHECK_FALSE(findings.elsewhere[0].section);
    CHECK(findings.elsewhere[0].keys == 2);
    CHECK(findings.elsewhere[1].section == "");
    CHECK(findings.elsewhere[1].keys == 2);
    CHECK_FALSE(findings.noSettingsSection);

    SettingsScan nothing;
    nothing.nulByte = true;
    findings = FindingsOf(nothing, read);
    CHECK(findings.noSettingsSection);
    CHECK(findings.noText);
    nothing.firstSection = "";
    findings = FindingsOf(nothing, read);
    CHECK(findings.firstSection == "");
    CHECK_FALSE(findings.noText);
    // A value read comes from a [Settings] the profile functions see, whatever the text says.
    read[kDebugModeSendNumber - 1] = "1";
    CHECK_FALSE(FindingsOf(nothing, read).noSettingsSection);
}

TEST_CASE("lines are counted as editors count them, and the lines a warning may point at keep "
          "their text, whether Wine may read another name there, and whether the line before ends "
          "in a non-ASCII byte right before a lone line end") {
    const std::string text = "; note\r\n[Settings]]\r\n  iIsWeaponDrawn = 1\n;\xB0\n"
                             "bDebugMode=\xA0\r;\xB0\r\niInIsCombat=2\r\n[settings]\r\n"
                             "iInIsCombat=3\r\n[SETTINGS]\r\nbDebugMode=1";
    for (std::size_t chunk : {1u, 1000u}) {
        CAPTURE(chunk);
        SettingsScan scan = Scan(text, chunk);
        CHECK(scan.settingsLine.number == 2);
        CHECK(scan.settingsLine.text == "[Settings]]");
        CHECK(scan.settingsNameUnsure);
        const FileLine& weapon = scan.keyLines[6];
        CHECK(weapon.number == 3);
        CHECK(weapon.text == "iIsWeaponDrawn = 1");
        CHECK_FALSE(weapon.afterNonAscii);
        const FileLine& debugMode = scan.keyLines[17];
        CHECK(debugMode.number == 5);
        CHECK(debugMode.text == "bDebugMode=\xA0");
        CHECK(debugMode.afterNonAscii);
        CHECK(scan.keyLines[9].number == 7); // after a CR LF, which no byte takes with it
        CHECK_FALSE(scan.keyLines[9].afterNonAscii);
        CHECK(scan.laterSettingsLine.number == 8);
        CHECK(scan.laterSettingsLine.text == "[settings]");
        CHECK(scan.laterSettingsKeys == (Bit("iInIsCombat") | Bit("bDebugMode")));
    }
    CHECK(Scan("[Settings\r\nx=1\r\n").settingsNameUnsure);
    CHECK_FALSE(Scan("[Settings] ; note\r\n[Other\r\n").settingsNameUnsure);
    // In UTF-16 a character above 0x7F is no byte a code page could pair with the line end.
    CHECK_FALSE(Scan("\xFF\xFE" + Utf16("[Settings]\n;") + "\xE9" + std::string(1, '\0') +
                     Utf16("\nbDebugMode=1\n"))
                    .keyLines[17]
                    .afterNonAscii);
}
