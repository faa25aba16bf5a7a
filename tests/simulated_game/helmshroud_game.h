#pragma once
// A game folder with Helmshroud.dll installed in its plugin folder, a documents folder of its own,
// and what the plugin leaves in them.
#include "tests/simulated_game/game_sandbox.h"
#include "tests/support/expected_defaults.h"

#include <string>
#include <vector>

namespace testing {

class HelmshroudGame : public GameSandbox {
  public:
    HelmshroudGame();

    bool Installed() const { return installed_; }
    std::string LogPath() const;
    std::string IniPath() const { return PluginFolder() + "Helmshroud.ini"; }
    // The log file's lines (CR LF ended, as the runtime's text mode writes them).
    std::vector<std::string> LogLines() const;

  private:
    bool installed_ = false;
};

} // namespace testing
