#include "sim/resources.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace sim {

namespace {

// One entry of the system's handle list (information class SystemHandleInformation).
struct HandleEntry {
    ULONG ownerProcessId;
    UCHAR objectType;
    UCHAR flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
};

struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

std::uint64_t OpenHandleCount() {
    std::vector<unsigned char> buffer(1 << 20);
    NTSTATUS status = 0;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) ==
               kInfoLengthMismatch &&
           buffer.size() < (1u << 28)) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return 0;
    }
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    DWORD self = GetCurrentProcessId();
    std::uint64_t count = 0;
    for (ULONG i = 0; i < list->count; ++i) {
        if (list->entries[i].ownerProcessId == self) {
            ++count;
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
