#include "korv_common/log_outputs.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace korv::log {

namespace {

// Each writer sleeps on its event until a line is queued for it. Set once, when it is started.
std::atomic<HANDLE> g_fileWake{nullptr};
std::atomic<HANDLE> g_stdoutWake{nullptr};
// Set by standard output's writer after each write, for FlushLog.
std::atomic<HANDLE> g_stdoutWrote{nullptr};

DWORD WINAPI FileWriter(LPVOID wake) {
    for (;;) {
        WaitForSingleObject(static_cast<HANDLE>(wake), INFINITE);
        WriteFileQueue();
    }
}

DWORD WINAPI StdoutWriter(LPVOID wake) {
    for (;;) {
        WaitForSingleObject(static_cast<HANDLE>(wake), INFINITE);
        WriteStdoutQueue();
    }
}

// The writers run this module's code for the life of the process: it must never be unloaded.
void PinThisModule() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinThisModule), &self);
}

bool Start(std::atomic<HANDLE>& wakeSlot, LPTHREAD_START_ROUTINE writer) {
    HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (wake == nullptr) {
        return false;
    }
    PinThisModule();
    HANDLE thread = CreateThread(nullptr, 0, writer, wake, 0, nullptr);
    if (thread == nullptr) {
        CloseHandle(wake);
        return false;
    }
    CloseHandle(thread);
    wakeSlot.store(wake);
    // Anything queued before the writer was there.
    SetEvent(wake);
    return true;
}

void Wake(const std::atomic<HANDLE>& wakeSlot) {
    if (HANDLE wake = wakeSlot.load()) {
        SetEvent(wake);
    }
}

} // namespace

bool StartStdoutWriter() {
    if (g_stdoutWake.load() != nullptr) {
        return true;
    }
    HANDLE wrote = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (wrote == nullptr) {
        return false;
    }
    g_stdoutWrote.store(wrote);
    return Start(g_stdoutWake, &StdoutWriter);
}

bool StartFileWriter() {
    return g_fileWake.load() != nullptr || Start(g_fileWake, &FileWriter);
}

bool StdoutWriterRunning() {
    return g_stdoutWake.load() != nullptr;
}

void WakeFileWriter() {
    Wake(g_fileWake);
}

void WakeStdoutWriter() {
    Wake(g_stdoutWake);
}

std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error) {
    std::size_t done = 0;
    while (done < size) {
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(file), bytes + done, static_cast<DWORD>(size - done),
                       &written, nullptr)) {
            error = GetLastError();
            return done;
        }
        if (written == 0) {
            error = ERROR_WRITE_FAULT; // took nothing, and said nothing of why
            return done;
        }
        done += written;
    }
    return done;
}

std::optional<std::uint64_t> FileSize(void* file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(static_cast<HANDLE>(file), &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

void WriteToStdout(const char* bytes, std::size_t size) {
    std::fwrite(bytes, 1, size, stdout);
}

void NoteStdoutWrite() {
    if (HANDLE wrote = g_stdoutWrote.load()) {
        SetEvent(wrote);
    }
}

void WaitForStdoutWrite(unsigned timeoutMs) {
    // The event is made before the writer is started, and it is waited for only while it runs.
    WaitForSingleObject(g_stdoutWrote.load(), timeoutMs);
}

std::uint64_t NowMs() {
    return GetTickCount64();
}

void PauseMs(unsigned ms) {
    Sleep(ms);
}

} // namespace korv::log
