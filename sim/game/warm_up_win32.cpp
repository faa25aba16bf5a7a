#include "sim/game/warm_up.h"

#include "sim/record/transcript.h"

#include <windows.h>

#include <string>
#include <vector>

namespace sim {

namespace {

// The same stack size the plugin asks for its workers.
constexpr SIZE_T kStackSize = 4096;

DWORD WINAPI WaitForRelease(void* release) {
    WaitForSingleObject(static_cast<HANDLE>(release), INFINITE);
    return 0;
}

} // namespace

void WarmUpThreads(std::uint32_t count) {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (release == nullptr) {
        RecordErrorAs(Source::Sim, "warm-up: cannot create its event");
        return;
    }
    std::vector<HANDLE> threads;
    threads.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        HANDLE thread = CreateThread(nullptr, kStackSize, WaitForRelease, release, 0, nullptr);
        if (thread != nullptr) {
            threads.push_back(thread);
        }
    }
    SetEvent(release);
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(release);
    RecordAs(Source::Sim, Kind::Wait,
             "warm-up: " + std::to_string(threads.size()) +
                 " thread(s) started together and ended");
    if (threads.size() != count) {
        RecordErrorAs(Source::Sim, "warm-up: only " + std::to_string(threads.size()) + " of " +
                                       std::to_string(count) + " thread(s) could be started");
    }
}

} // namespace sim
