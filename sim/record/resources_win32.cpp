#include "sim/record/resources.h"

#include <windows.h>

#include <psapi.h>

#include <cstdint>

namespace sim {

namespace {

// Handle values: Wine hands out multiples of 4 from 4 up, the lowest free one first, so open
// handles sit close together; a run this long of free values means none lie beyond it.
constexpr std::uintptr_t kHandleValueStep = 4;
constexpr unsigned kFreeRunAtEnd = 1024;

// The handles open in this process, counted one by one. (Wine has no GetProcessHandleCount; its
// list of every handle in the system, NtQuerySystemInformation's, was seen to bring its server down
// when a process ended during the query.)
std::uint64_t OpenHandleCount() {
    std::uint64_t count = 0;
    unsigned freeRun = 0;
    DWORD flags = 0;
    for (std::uintptr_t value = kHandleValueStep; freeRun < kFreeRunAtEnd;
         value += kHandleValueStep) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            freeRun = 0;
        } else {
            ++freeRun;
        }
    }
    return count;
}

} // namespace

Resources MeasureResources() {
    Resources resources;
    // Wine has no process handle count; the lowest free handle value stands in for it.
    HANDLE probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (probe != nullptr) {
        resources.probeHandle = reinterpret_cast<std::uintptr_t>(probe);
        CloseHandle(probe);
    }
    resources.handles = OpenHandleCount();
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        // Windows reports the commit charge in both fields; Wine fills only PagefileUsage.
        resources.privateBytes =
            counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    }
    return resources;
}

} // namespace sim
