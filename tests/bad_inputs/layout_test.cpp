// Settings files edited by hand: repeated sections and keys, letter case, blanks, quotes, "=" in
// values, comments, an empty file.
#include "tests/bad_inputs/bad_input_check.h"

#include <doctest.h>

using namespace testing;

namespace {

const std::string kWeaponDrawnOnly = SentEmptyBut({"iIsWeaponDrawn"});
const std::string kWeaponDrawnAndSafeTemperature =
    SentEmptyBut({"iInSafeTemperature", "iIsWeaponDrawn"});

std::string SecondSettings(int line, int first, int keys) {
    return "Install_Helmshroud :: Warning: line " + std::to_string(line) +
           " of Helmshroud.ini, '[Settings]', starts a second [Settings], and Windows reads only "
           "the first (line " +
           std::to_string(first) + "): " + std::to_string(keys) +
           " of the plugin's keys under it were not read. Move them under the first [Settings] "
           "and remove line " +
           std::to_string(line) + ".";
}

} // namespace

TEST_CASE("of a section or key written twice the first one counts, a second [Settings] is named by "
          "its line, and the file stays as it is") {
    RunAndCheck({
        // The second [Settings] is never read: iInSealedInterior goes out empty, and the line
        // that starts it is named.
        Warned(Kept("the section twice",
                    "[Settings]\r\niIsWeaponDrawn=1\r\nbDebugMode=1\r\n[Other]\r\na=b\r\n"
                    "[Settings]\r\niIsWeaponDrawn=9\r\niInSealedInterior=2\r\n",
                    Values({{6, "1"}, {18, "1"}})),
               {SecondSettings(6, 1, 2), kWeaponDrawnOnly}),
        // A bDebugMode there is the player's: no repair is written above it.
        Warned(Kept("the section twice, bDebugMode only in the second",
                    "[Settings]\r\niIsWeaponDrawn=1\r\n[Settings]\r\nbDebugMode=1\r\n",
                    Values({{6, "1"}})),
               {SecondSettings(3, 1, 1), kWeaponDrawnOnly}),
        // A later empty bDebugMode does not count as missing.
        Kept("a key twice", FullText() + "iIsWeaponDrawn=5\r\nbDebugMode=\r\n", FullValues()),
    });
}

TEST_CASE("names in other letter case, blanks around names and values, and quoted values are "
          "read as the profile functions read them, and Wine's writer drops the blanks when it "
          "repairs bDebugMode") {
    RunAndCheck({
        Warned(Kept("keys in other letter case",
                    "[SETTINGS]\r\nIISWEAPONDRAWN=5\r\niinsafetemperature=7\r\nBDEBUGMODE=1\r\n",
                    Values({{1, "7"}, {6, "5"}, {18, "1"}})),
               {kWeaponDrawnAndSafeTemperature}),
        Warned(
            Kept("blanks around names and values",
                 "  [ Settings ]  \r\n  iIsWeaponDrawn  =  5  \r\n\tiInSafeTemperature\t=\t7\t\r\n"
                 " bDebugMode = 1 \r\n",
                 Values({{1, "7"}, {6, "5"}, {18, "1"}})),
            {kWeaponDrawnAndSafeTemperature}),
        // Wine's writer rewrites the whole file from what it parsed, names and values trimmed;
        // Windows' edits the file in place.
        Warned(
            Repaired("blanks around names and values, no bDebugMode",
                     "  [ Settings ]  \r\n  iIsWeaponDrawn  =  5  \r\n"
                     "\tiInSafeTemperature\t=\t7\t\r\n",
                     Values({{1, "7"}, {6, "5"}}),
                     "[Settings]\r\niIsWeaponDrawn=5\r\niInSafeTemperature=7\r\nbDebugMode=0\r\n"),
            {kWeaponDrawnAndSafeTemperature}),
        // One pair of matching quotes around the whole value is taken off; nothing else is.
        Warned(Kept("quoted values",
                    "[Settings]\r\niIsWeaponDrawn=\"5\"\r\niInSafeTemperature='7'\r\n"
                    "iInSealedInterior=\" 2 \"\r\niIsOnPlayerHomeSpaceship=\"3\r\n"
                    "iInSealedSpaceship=\"4\"x\r\nbDebugMode=\"1\"\r\n",
                    Values({{1, "7"}, {2, " 2 "}, {3, "\"3"}, {4, "\"4\"x"}, {6, "5"}, {18, "1"}})),
               {SentEmptyBut({"iInSafeTemperature", "iInSealedInterior", "iIsOnPlayerHomeSpaceship",
                              "iInSealedSpaceship", "iIsWeaponDrawn"}),
                Unfit("iInSealedInterior", " 2 "), Unfit("iIsOnPlayerHomeSpaceship", "\"3"),
                Unfit("iInSealedSpaceship", "\"4\"x")}),
        Warned(Repaired("bDebugMode as empty quotes",
                        "[Settings]\r\niIsWeaponDrawn=5\r\nbDebugMode=\"\"\r\n", Values({{6, "5"}}),
                        "[Settings]\r\niIsWeaponDrawn=5\r\nbDebugMode=0\r\n"),
               {kWeaponDrawnOnly}),
        Warned(Repaired("bDebugMode as blanks",
                        "[Settings]\r\nbDebugMode=   \r\niIsWeaponDrawn=5\r\n", Values({{6, "5"}}),
                        "[Settings]\r\nbDebugMode=0\r\niIsWeaponDrawn=5\r\n"),
               {kWeaponDrawnOnly}),
    });
}

TEST_CASE(
    "'=' inside values, semicolon and hash comments, keys before the section and an empty "
    "file keep every value a player wrote, and Wine's writer drops blank lines and a header's "
    "comment when it repairs bDebugMode") {
    const std::string comments = "; Helmshroud settings\r\n# edited by hand\r\n"
                                 "[Settings] ; the one section\r\n;iIsWeaponDrawn=5\r\n"
                                 "#iInSafeTemperature=7\r\niInSealedInterior=2 ; not a comment\r\n"
                                 "iIsOnPlayerHomeSpaceship=3 # nor this\r\n";
    const auto commented = Values({{2, "2 ; not a comment"}, {3, "3 # nor this"}});
    // A '#' does not start a comment for the profile functions: that line is a key.
    const std::vector<std::string> commentWarnings = {
        Unknown("#iInSafeTemperature", "iInSafeTemperature"),
        SentEmptyBut({"iInSealedInterior", "iIsOnPlayerHomeSpaceship"}),
        Unfit("iInSealedInterior", "2 ; not a comment"),
        Unfit("iIsOnPlayerHomeSpaceship", "3 # nor this")};
    RunAndCheck({
        Warned(Kept("'=' inside a value",
                    "[Settings]\r\niIsWeaponDrawn=a=b\r\niInSafeTemperature==\r\n"
                    "iInSealedInterior= =2\r\n=5\r\nbDebugMode=1=1\r\n",
                    Values({{1, "="}, {2, "=2"}, {6, "a=b"}, {18, "1=1"}})),
               {"Install_Helmshroud :: Warning: a line under [Settings] in Helmshroud.ini has no "
                "key name before its '=' and was ignored.",
                SentEmptyBut({"iInSafeTemperature", "iInSealedInterior", "iIsWeaponDrawn"}),
                Unfit("iInSafeTemperature", "="), Unfit("iInSealedInterior", "=2"),
                Unfit("iIsWeaponDrawn", "a=b"), Unfit("bDebugMode", "1=1")}),
        Warned(
            Kept("comments with ; and #", comments + "bDebugMode=1\r\n", With(commented, 18, "1")),
            commentWarnings),
        // Wine's writer keeps comment lines but drops the comment after the section header.
        Warned(Repaired("comments with ; and #, no bDebugMode", comments, commented,
                        "; Helmshroud settings\r\n# edited by hand\r\n[Settings]\r\n"
                        ";iIsWeaponDrawn=5\r\n#iInSafeTemperature=7\r\n"
                        "iInSealedInterior=2 ; not a comment\r\niIsOnPlayerHomeSpaceship=3 # nor "
                        "this\r\nbDebugMode=0\r\n"),
               commentWarnings),
        Warned(Repaired("keys before the section header", "iIsWeaponDrawn=5\r\n[Settings]\r\n",
                        Values({}), "iIsWeaponDrawn=5\r\n[Settings]\r\nbDebugMode=0\r\n"),
               {"Install_Helmshroud :: Warning: Helmshroud.ini has 1 of the plugin's keys outside "
                "any section, not under [Settings], and it was not read. Move it under [Settings].",
                kAllSentEmpty}),
        // Wine's writer drops blank lines.
        Warned(Repaired("blank lines", "\r\n\r\n[Settings]\r\n\r\niIsWeaponDrawn=5\r\n\r\n",
                        Values({{6, "5"}}), "[Settings]\r\niIsWeaponDrawn=5\r\nbDebugMode=0\r\n"),
               {kWeaponDrawnOnly}),
        Warned(
            Repaired("an empty file (0 bytes)", "", Values({}), "[Settings]\r\nbDebugMode=0\r\n"),
            {"Install_Helmshroud :: Warning: Helmshroud.ini has no [Settings] section. The "
             "plugin reads its settings only from [Settings].",
             kAllSentEmpty}),
    });
}
