#pragma once
// Runs the simulated game, Quorvalen.exe, as a child process and hands back its transcript.
#include <string>
#include <vector>

namespace testing {

struct SimulatorRun {
    bool started = false;
    unsigned long startError = 0; // Windows' error when the process could not be started
    bool timedOut = false;        // the child was ended after the time limit
    unsigned long exitCode = 0;
    std::string transcript; // the transcript file's text
};

// Runs the simulator with the arguments and "--transcript transcriptPath", waiting at most
// timeoutMs; then reads the transcript.
SimulatorRun RunSimulator(const std::vector<std::string>& arguments,
                          const std::string& transcriptPath, unsigned timeoutMs = 30000);

// The Windows path of a file of the build, given by its host path ("/a/b" -> "Z:\a\b").
std::string WindowsPath(const std::string& hostPath);

} // namespace testing
