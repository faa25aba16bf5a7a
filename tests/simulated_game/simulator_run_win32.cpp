#include "tests/simulated_game/simulator_run.h"

#include "tests/support/files.h"

#include <windows.h>

namespace testing {

namespace {

// One argument quoted for the child's command line (backslashes before a quote doubled).
std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

} // namespace

std::string WindowsPath(const std::string& hostPath) {
    if (hostPath.empty() || hostPath[0] != '/') {
        return hostPath;
    }
    std::string path = "Z:";
    path += hostPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

SimulatorRun RunSimulator(const std::vector<std::string>& arguments,
                          const std::string& transcriptPath, unsigned timeoutMs) {
    SimulatorRun run;
    std::string program = WindowsPath(QUORVALEN_SIM_PATH);
    std::string commandLine = Quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += ' ';
        commandLine += Quoted(argument);
    }
    commandLine += " --transcript ";
    commandLine += Quoted(transcriptPath);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        run.startError = GetLastError();
        return run;
    }
    run.started = true;
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        run.timedOut = true;
        TerminateProcess(process.hProcess, 255);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exitCode = code;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.transcript = ReadFileBytes(transcriptPath);
    return run;
}

} // namespace testing
