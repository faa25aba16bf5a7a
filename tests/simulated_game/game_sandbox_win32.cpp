#include "tests/simulated_game/game_sandbox.h"

#include "tests/support/files.h"

#include <windows.h>

#include <algorithm>

namespace testing {

namespace {
// How long a run that expects commands waits for them: five times the worker's 2000 ms delay, far
// beyond what a busy machine adds, and short enough that a broken build fails its tests soon.
constexpr unsigned kCommandWaitMs = 10000;
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
    // the workers may need longer than the simulator's default wait (3000 ms, one second past their
    // delay) to send them. The wait stays within the test's own time limit.
    if (expectsCommands && !waitGiven && timeoutMs > kSummaryMarginMs) {
        unsigned waitMs = std::min(kCommandWaitMs, timeoutMs - kSummaryMarginMs);
        arguments.insert(arguments.begin(), {"--wait", std::to_string(waitMs)});
    }
    if (!documentsFail && !windowsDocuments_) {
        std::string documents = documents_.Path();
        documents.pop_back(); // a documents folder is named without its final backslash
        arguments.insert(arguments.begin(), {"--documents", documents});
    }
    arguments.insert(arguments.begin(), {"--game-dir", game_.Path()});
    return RunSimulator(arguments, scratch_ / "transcript.txt", timeoutMs);
}

} // namespace testing
