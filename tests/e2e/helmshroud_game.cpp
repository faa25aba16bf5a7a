#include "tests/e2e/helmshroud_game.h"

#include "tests/support/files.h"

namespace testing {

HelmshroudGame::HelmshroudGame() {
    installed_ = Install(HELMSHROUD_DLL, "Helmshroud.dll");
}

std::string HelmshroudGame::LogPath() const {
    return Documents() + "My Games\\Quorvalen\\KORV\\Logs\\Helmshroud.log";
}

std::vector<std::string> HelmshroudGame::LogLines() const {
    return SplitLines(ReadFileBytes(LogPath()), "\r\n");
}

std::vector<std::string> DefaultCommands() {
    return {
        "CGF \"Helmshroud.SendIniData\" 1 1",   "CGF \"Helmshroud.SendIniData\" 2 -1",
        "CGF \"Helmshroud.SendIniData\" 3 -1",  "CGF \"Helmshroud.SendIniData\" 4 -1",
        "CGF \"Helmshroud.SendIniData\" 5 1",   "CGF \"Helmshroud.SendIniData\" 6 0",
        "CGF \"Helmshroud.SendIniData\" 7 0",   "CGF \"Helmshroud.SendIniData\" 8 0",
        "CGF \"Helmshroud.SendIniData\" 9 0",   "CGF \"Helmshroud.SendIniData\" 10 0",
        "CGF \"Helmshroud.SendIniData\" 11 0",  "CGF \"Helmshroud.SendIniData\" 12 0",
        "CGF \"Helmshroud.SendIniData\" 13 -1", "CGF \"Helmshroud.SendIniData\" 14 0",
        "CGF \"Helmshroud.SendIniData\" 15 0",  "CGF \"Helmshroud.SendIniData\" 16 0",
        "CGF \"Helmshroud.SendIniData\" 17 -1", "CGF \"Helmshroud.SendIniData\" 18 0",
    };
}

} // namespace testing
