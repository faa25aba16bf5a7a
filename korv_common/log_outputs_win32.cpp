#include "korv_common/log_outputs.h"

#include <windows.h>

#include <cstdio>

namespace korv::log {

namespace {

// Sleeps on the output's wake-up until a line is queued for it, then writes.
DWORD WINAPI Writer(LPVOID parameter) {
    auto& output = *static_cast<Output*>(parameter);
    for (;;) {
        WaitForSingleObject(output.wake.load(), INFINITE);
        WriteQueued(output);
    }
}

// The writers run this module's code for the life of the process: it must never be unloaded.
void PinThisModule() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinThisModule), &self);
}

} // namespace

bool StartWriter(Output& output) {
    if (output.running.load()) {
        return true;
    }
    // The wake-up is made once and kept: a wake before the thread runs leaves it set, and the
    // thread writes what was queued as soon as it starts.
    if (output.wake.load() == nullptr) {
        output.wake.store(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (output.wake.load() == nullptr) {
            return false;
        }
    }
    PinThisModule();
    HANDLE thread = CreateThread(nullptr, 0, &Writer, &output, 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    CloseHandle(thread);
    output.running.store(true);
    return true;
}

void Wake(Output& output) {
    if (HANDLE wake = output.wake.load()) {
        SetEvent(wake);
    }
}

std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error) {
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(file), bytes, static_cast<DWORD>(size), &written, nullptr)) {
        error = GetLastError();
    } else if (written == 0) {
        error = ERROR_WRITE_FAULT; // took nothing, and said nothing of why
    }
    return written;
}

std::size_t WriteToStdout(void* /*unused*/, const char* bytes, std::size_t size,
                          std::uint32_t& /*error*/) {
    std::fwrite(bytes, 1, size, stdout);
    return size;
}

std::optional<std::uint64_t> FileSize(void* file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(static_cast<HANDLE>(file), &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint64_t NowMs() {
    return GetTickCount64();
}

void PauseMs(unsigned ms) {
    Sleep(ms);
}

} // namespace korv::log
