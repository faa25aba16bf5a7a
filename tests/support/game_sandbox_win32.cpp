#include "tests/support/game_sandbox.h"

#include "tests/support/files.h"

#include <windows.h>

namespace testing {

GameSandbox::GameSandbox() {
    MakeFolders(PluginFolder());
}

bool GameSandbox::Install(const std::string& hostPath, const std::string& name) {
    return CopyFileA(WindowsPath(hostPath).c_str(), (PluginFolder() + name).c_str(), FALSE) !=
           FALSE;
}

SimulatorRun GameSandbox::Run(std::vector<std::string> arguments, unsigned timeoutMs) const {
    bool documentsFail = false;
    for (const std::string& argument : arguments) {
        documentsFail = documentsFail || argument == "--documents-fail";
    }
    if (!documentsFail) {
        std::string documents = documents_.Path();
        documents.pop_back(); // a documents folder is named without its final backslash
        arguments.insert(arguments.begin(), {"--documents", documents});
    }
    arguments.insert(arguments.begin(), {"--game-dir", game_.Path()});
    return RunSimulator(arguments, scratch_ / "transcript.txt", timeoutMs);
}

} // namespace testing
