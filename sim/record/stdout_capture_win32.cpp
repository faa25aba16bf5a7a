#include "sim/record/stdout_capture.h"

#include "sim/record/transcript.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <thread>

namespace sim {

namespace {

HANDLE g_pipeRead = nullptr;
HANDLE g_pipeWrite = nullptr;
std::thread g_reader;

void RecordLine(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    RecordAs(Source::Stdout, Kind::Line, line);
}

void ReadLines() {
    std::string pending;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(g_pipeRead, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        pending.append(chunk, got);
        std::size_t end = 0;
        while ((end = pending.find('\n')) != std::string::npos) {
            RecordLine(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    if (!pending.empty()) {
        RecordLine(pending);
    }
}

} // namespace

bool StartStdoutCapture() {
    if (!CreatePipe(&g_pipeRead, &g_pipeWrite, nullptr, 0)) {
        return false;
    }
    std::fflush(stdout);
    // The C runtime's descriptor gets a handle of its own, closed when descriptor 1 is replaced.
    HANDLE runtimeHandle = nullptr;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, g_pipeWrite, process, &runtimeHandle, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return false;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(runtimeHandle), _O_WRONLY | _O_TEXT);
    if (fd < 0 || _dup2(fd, 1) != 0) {
        return false;
    }
    _close(fd);
    SetStdHandle(STD_OUTPUT_HANDLE, g_pipeWrite);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    g_reader = std::thread(ReadLines);
    return true;
}

void StopStdoutCapture() {
    if (!g_reader.joinable()) {
        return;
    }
    std::fflush(stdout);
    int null = _open("NUL", _O_WRONLY);
    if (null >= 0) {
        _dup2(null, 1);
        _close(null);
    }
    SetStdHandle(STD_OUTPUT_HANDLE,
                 CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    CloseHandle(g_pipeWrite);
    g_pipeWrite = nullptr;
    g_reader.join();
    CloseHandle(g_pipeRead);
    g_pipeRead = nullptr;
}

} // namespace sim
