#include "sim/resources.h"

#include <windows.h>

#include <psapi.h>

namespace sim {

Resources MeasureResources() {
    Resources resources;
    // Wine has no process handle count; the lowest free handle value stands in for it.
    HANDLE probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (probe != nullptr) {
        resources.probeHandle = reinterpret_cast<std::uintptr_t>(probe);
        CloseHandle(probe);
    }
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
