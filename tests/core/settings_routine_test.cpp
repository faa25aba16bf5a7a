#include "settings/Install.h"
#include "tests/core/console_recorder.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

#include <doctest.h>

using namespace testing;

TEST_CASE("a fresh game folder gets the eighteen defaults and sends them in send-number order") {
    TempFolder game;
    MakeFolders(game / "Data\\KORV\\Plugins\\");
    WorkingDirectory cwd(game.Path());
    TakeConsoleCommands();

    Install_Helmshroud();

    std::vector<std::string> commands = TakeConsoleCommands();
    REQUIRE(commands.size() == 18);
    CHECK(commands[0] == "CGF \"Helmshroud.SendIniData\" 1 1");
    CHECK(commands[1] == "CGF \"Helmshroud.SendIniData\" 2 -1");
    CHECK(commands[5] == "CGF \"Helmshroud.SendIniData\" 6 0");
    CHECK(commands[16] == "CGF \"Helmshroud.SendIniData\" 17 -1");
    CHECK(commands[17] == "CGF \"Helmshroud.SendIniData\" 18 0");
    CHECK(FileExists(game / "Data\\KORV\\Plugins\\Helmshroud.ini"));
}
