#include "tests/simulated_game/game_sandbox.h"

#include "tests/support/files.h"

#include <windows.h>

namespace testing {

namespace {
// What a simulator run is given, beyond its wait, to end and write its summary.
constexpr unsigned kSummaryMarginMs = 5000;
} // namespace

GameSandbox::GameSandbox() {
    MakeFolders(PluginFolder());
}

bool GameSandbox::Install(const std::string& hostPath, const std::string& name) {
    return CopyFileA(WindowsPath(hostPath).c_str(), (PluginFolder() + name).c_str(), FALSE) !=
           FALSE;
}

SimulatorRun GameSandbox::Run(std::vector<std::string> arguments, unsigned timeoutMs) const {
    bool documentsFail = false;
    bool expectsCommands = false;
    bool waitGiven = false;
    for (const std::string& argument : arguments) {
        documentsFail = documentsFail || argument == "--documents-fail";
        expectsCommands = expectsCommands || argument == "--expect-commands";
        waitGiven = waitGiven || argument == "--wait";
    }
    // A run that knows how many commands to expect ends as soon as they are in; on a busy machine
    // the workers may need far longer than the simulator's default wait to send them, so the wait
    // is bounded by the test's own time limit instead, with time left to write the summary.
    if (expectsCommands && !waitGiven && timeoutMs > kSummaryMarginMs) {
        arguments.insert(arguments.begin(),
                         {"--wait", std::to_string(timeoutMs - kSummaryMarginMs)});
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
