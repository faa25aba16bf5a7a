#include "sim/platform/platform.h"

#include <windows.h>

#include <tlhelp32.h>

namespace sim {

namespace {

std::int64_t ReadCounter() {
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

const std::int64_t g_start = ReadCounter();

} // namespace

std::int64_t Ticks() {
    return ReadCounter();
}

std::int64_t TicksPerSecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

double TicksToMs(std::int64_t ticks) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(TicksPerSecond());
}

double NowMs() {
    return static_cast<double>(ReadCounter() - g_start) * 1000.0 /
           static_cast<double>(TicksPerSecond());
}

void SleepMs(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

void EndProcessNow(std::uint32_t exitCode) {
    TerminateProcess(GetCurrentProcess(), exitCode);
    ExitProcess(exitCode); // not reached: TerminateProcess on this process does not return
}

std::uint32_t CurrentThreadId() {
    return GetCurrentThreadId();
}

std::uint32_t ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    DWORD self = GetCurrentProcessId();
    std::uint32_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

bool SetWorkingFolder(const std::string& folder) {
    return SetCurrentDirectoryA(folder.c_str()) != FALSE;
}

std::string WorkingFolder() {
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

static_assert(sizeof(SRWLOCK) == sizeof(void*));

Lock::Lock() : state_(nullptr) {}

void Lock::Acquire() {
    AcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_));
}

void Lock::Release() {
    ReleaseSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&state_));
}

} // namespace sim
