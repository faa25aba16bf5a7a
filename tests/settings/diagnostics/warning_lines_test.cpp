// Lines about the settings file's text that no platform this suite runs on gives occasion to: what
// Windows under a double-byte code page reads otherwise, and characters a line can't show.
#include "settings/diagnostics/warning_lines.h"

#include <doctest.h>

#include <string>

using namespace settings;

TEST_CASE("a [Settings] line a double-byte code page joins to the comment above it is named with "
          "the line to change, and control characters are shown as '?'") {
    SettingValues none; // code page 936 reads nothing under the swallowed line
    const std::string text = ";\xB0\n[Settings]\nbDebugMode=1\niIsWeaponDrawn=1\na\tb\x7F=1\n";
    const std::vector<std::string> lines = WarningLines(ScanSettingsText(text, true), none, none);
    REQUIRE(lines.size() >= 2);
    CHECK(lines[0] ==
          "Install_Helmshroud :: Warning: line 2 of Helmshroud.ini, '[Settings]', is not read as "
          "the start of [Settings]: the 2 values under it are read as empty and go out empty. Line "
          "1 ends in a non-ASCII character, which Windows' code page may read together with the "
          "line's end: add a blank after that character.");
    CHECK(lines[1] == "Install_Helmshroud :: Warning: line 5 of Helmshroud.ini holds key 'a?b?', "
                      "which is none of the plugin's keys and is ignored.");
    SettingValues sent;
    sent.fill("1");
    sent[5] = "-"; // iIsWeaponDrawn's: a sign alone is no number
    CHECK(WarningLines(ScanSettingsText("", true), sent, sent).back() ==
          "Install_Helmshroud :: Warning: key 'iIsWeaponDrawn' in Helmshroud.ini holds '-', not a "
          "whole number; it goes out as written, and the game script decides what it means.");
}
