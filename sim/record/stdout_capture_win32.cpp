#include "sim/record/stdout_capture.h"

#include "sim/platform/platform.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace sim {

namespace {

// Once an unread pipe is read: writers blocked in it have gone on with what they had, when
// nothing more has come for this long.
constexpr double kQuietMs = 500;
constexpr double kLongestDrainMs = 10000;

HANDLE g_pipeRead = nullptr;
HANDLE g_pipeWrite = nullptr;
std::thread g_reader;
bool g_unread = false;
std::atomic<double> g_lastReadMs{0};

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
        g_lastReadMs.store(NowMs());
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

// Reads the unread pipe at last, and returns once its writers have gone quiet.
void DrainUnreadPipe() {
    DWORD held = 0;
    PeekNamedPipe(g_pipeRead, nullptr, 0, nullptr, &held, nullptr);
    RecordAs(Source::Sim, Kind::Wait,
             "the unread standard output holds " + std::to_string(held) + " bytes; read from now");
    double start = NowMs();
    g_lastReadMs.store(start);
    g_reader = std::thread(ReadLines);
    while (NowMs() - g_lastReadMs.load() < kQuietMs && NowMs() - start < kLongestDrainMs) {
        SleepMs(10);
    }
}

} // namespace

bool StartStdoutCapture(bool unread) {
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
    g_unread = unread;
    if (!unread) {
        g_reader = std::thread(ReadLines);
    }
    return true;
}

void StopStdoutCapture() {
    if (g_unread && g_pipeRead != nullptr) {
        g_unread = false;
        DrainUnreadPipe();
    }
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
