#pragma once
// A game folder with its plugin folder and a documents folder, both fresh temporary folders, for
// one run of the simulated game.
#include "tests/simulated_game/simulator_run.h"
#include "tests/support/temp_folder.h"

#include <string>
#include <vector>

namespace testing {

class GameSandbox {
  public:
    GameSandbox();

    const std::string& Game() const { return game_.Path(); }
    const std::string& Documents() const { return documents_.Path(); }
    std::string PluginFolder() const { return game_ / "Data\\KORV\\Plugins\\"; }

    // Copies a DLL of the build (host path) into the plugin folder under the given name.
    bool Install(const std::string& hostPath, const std::string& name);

    // The plugin asks Windows for the documents folder, as in a player's game, rather than being
    // given this sandbox's.
    void UseWindowsDocuments() { windowsDocuments_ = true; }

    // Runs the simulator with "--game-dir" set to this game folder and, unless the arguments hold
    // "--documents-fail" or UseWindowsDocuments was called, "--documents" set to this documents
    // folder. A run that expects commands
    // and gives no "--wait" waits up to ten seconds for them, within timeoutMs. The transcript
    // is kept in a third temporary folder.
    SimulatorRun Run(std::vector<std::string> arguments, unsigned timeoutMs = 30000) const;

  private:
    TempFolder game_;
    TempFolder documents_;
    TempFolder scratch_;
    bool windowsDocuments_ = false;
};

} // namespace testing
