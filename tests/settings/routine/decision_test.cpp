// Whether a run writes the bDebugMode repair, from what each platform answers. Where Windows and
// Wine read the same bytes differently, each one's answer is the data: both send what they read,
// and a write goes in only where it can cost the player nothing.
#include "settings/routine/decision.h"

#include <doctest.h>

#include <string>

using namespace settings;
using Hold = Decision::Hold;

namespace {

struct Answer {
    const char* platform;
    const char* debugMode; // what bDebugMode read as
    bool settingsListed;   // whether the profile functions list [Settings]
    bool repair;
    Hold hold;
    std::size_t line;
};

void Check(const std::string& text, std::initializer_list<Answer> answers, FileFacts facts = {}) {
    const SettingsScan scan = ScanSettingsText(text, true);
    for (const Answer& answer : answers) {
        CAPTURE(text);
        CAPTURE(answer.platform);
        SettingValues read;
        read.fill("1");
        read[kDebugModeSendNumber - 1] = answer.debugMode;
        facts.settingsListed = answer.settingsListed;
        Decision decision = Decide(read, scan, facts);
        CHECK(decision.repair == answer.repair);
        CHECK(decision.hold == answer.hold);
        CHECK(decision.line == answer.line);
    }
}

} // namespace

TEST_CASE("the repair is written where bDebugMode read empty and nothing in the file or its text "
          "stands in the way, and held back naming the line that does") {
    Check("[Settings]\r\niIsWeaponDrawn=1\r\n", {{"both", "", true, true, Hold::None, 0}});
    Check("[Settings]\r\nbDebugMode= \"\"\r\n",
          {{"both", "", true, true, Hold::None, 0},
           {"both, a value read", "1", true, false, Hold::None, 0}});
    Check("[Settings]\r\n", {{"both", "", true, false, Hold::Unwritable, 0}}, {true, false});
    Check("[Settings]\r\n", {{"both", "", true, false, Hold::TooLarge, 0}}, {false, true});
    Check(std::string("[Settings]\r\nx=1\r\ny=\0\r\n", 23),
          {{"both", "", true, false, Hold::Nul, 3}});
    // A bDebugMode under a misspelt section, above the first, or under a second [Settings]: the
    // player's, which a repair would stand in front of.
    Check("[Setings]\r\nbDebugMode=1\r\n", {{"both", "", false, false, Hold::Stray, 2}});
    Check("[Settings]\r\n[Settings]\r\n;\r\nbDebugMode=1\r\n",
          {{"both", "", true, false, Hold::Stray, 4}});
}

TEST_CASE("where the platforms read a file differently each sends what it read, and neither writes "
          "into a file it reads otherwise than its text stands") {
    // "[Settings" without its ']' names the section on Windows; Wine takes the line for an
    // ordinary one, reads nothing from under it, and lists no [Settings].
    Check("[Settings\r\nbDebugMode=1\r\niInSafeTemperature=1\r\niIsWeaponDrawn=1\r\n",
          {{"Windows", "1", true, false, Hold::None, 0}});
    SettingValues wine; // reads nothing under the line, and names the first of it
    CHECK(Decide(wine,
                 ScanSettingsText("[Settings\r\nbDebugMode=1\r\niInSafeTemperature=1\r\n"
                                  "iIsWeaponDrawn=1\r\n",
                                  true),
                 {})
              .line == 2);
    Check("[Settings\r\n", {{"Windows", "", true, true, Hold::None, 0},
                            {"Wine", "", false, false, Hold::Unseen, 1}});
    // A comment ending in a double-byte lead byte before a LF: code page 936 reads the line end
    // as half of a character, and the line after it with it.
    Check("[Settings]\n;\xB0\nbDebugMode=1\n",
          {{"code page 1252", "1", true, false, Hold::None, 0},
           {"code page 936", "", true, false, Hold::Unread, 3}});
    Check(";\xB0\n[Settings]\n", {{"code page 1252", "", true, true, Hold::None, 0},
                                  {"code page 936", "", false, false, Hold::Unseen, 2}});
}
