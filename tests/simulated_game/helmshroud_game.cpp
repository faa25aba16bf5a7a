#include "tests/simulated_game/helmshroud_game.h"

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

} // namespace testing
