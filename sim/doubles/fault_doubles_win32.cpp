#include "sim/doubles/fault_doubles.h"

#include "sim/doubles/call_walk.h"
#include "sim/doubles/recorded_patch.h"
#include "sim/doubles/walked_files.h"
#include "sim/platform/text.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwchar>

namespace sim {

namespace {

// The last error the failing SHGetFolderPathW leaves behind.
constexpr DWORD kDocumentsLastError = ERROR_ACCESS_DENIED;

std::string g_documents; // as given, in the ANSI code page
std::wstring g_wideDocuments;
HRESULT g_documentsFailure = S_OK;

std::string FolderCall(int folder, DWORD flags) {
    return "SHGetFolderPathW(folder " + Hex8(static_cast<std::uint32_t>(folder)) + ", flags " +
           std::to_string(flags) + ")";
}

HRESULT WINAPI DocumentsFolder(HWND, int folder, HANDLE, DWORD flags, LPWSTR path) {
    if (path != nullptr) {
        std::size_t length =
            g_wideDocuments.size() < MAX_PATH - 1 ? g_wideDocuments.size() : MAX_PATH - 1;
        std::wmemcpy(path, g_wideDocuments.data(), length);
        path[length] = L'\0';
    }
    Record(Kind::Fault, FolderCall(folder, flags) + " -> S_OK \"" + g_documents + "\"");
    return S_OK;
}

HRESULT WINAPI FailingDocumentsFolder(HWND, int folder, HANDLE, DWORD flags, LPWSTR path) {
    if (path != nullptr) {
        path[0] = L'\0';
    }
    Record(Kind::Fault, FolderCall(folder, flags) + " -> " +
                            Hex8(static_cast<std::uint32_t>(g_documentsFailure)) + ", last error " +
                            std::to_string(kDocumentsLastError));
    SetLastError(kDocumentsLastError);
    return g_documentsFailure;
}

using CreateThreadFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE,
                                             LPVOID, DWORD, LPDWORD);

CreateThreadFunction g_createThread = nullptr; // the plugin's CreateThread before the patch
bool g_failEveryCreateThread = false;
std::atomic<std::uint32_t> g_createThreadFailures{0};
bool g_leakThreadHandles = false;

HANDLE WINAPI FailingCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE,
                                  LPVOID, DWORD flags, LPDWORD) {
    Record(Kind::Fault, "CreateThread(stack " + std::to_string(stackSize) + ", flags " +
                            std::to_string(flags) + ") -> null, last error " +
                            std::to_string(ERROR_NOT_ENOUGH_MEMORY));
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// True when one of the failures still owed was taken for this call.
bool TakeFailure(std::atomic<std::uint32_t>& owed) {
    std::uint32_t left = owed.load();
    while (left > 0 && !owed.compare_exchange_weak(left, left - 1)) {
    }
    return left > 0;
}

// The faults are the sink's: only the threads started on the game's thread (a game load's
// worker) fail or leak; the threads the plugin starts at its load run as asked.
HANDLE WINAPI CountedCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize,
                                  LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                                  LPDWORD threadId) {
    bool game = CurrentSource() == Source::Game;
    if (game && (g_failEveryCreateThread || TakeFailure(g_createThreadFailures))) {
        return FailingCreateThread(security, stackSize, start, parameter, flags, threadId);
    }
    HANDLE thread = g_createThread(security, stackSize, start, parameter, flags, threadId);
    if (game && thread != nullptr && g_leakThreadHandles) {
        HANDLE process = GetCurrentProcess();
        HANDLE leaked = nullptr;
        DuplicateHandle(process, thread, process, &leaked, 0, FALSE, DUPLICATE_SAME_ACCESS);
        Record(Kind::Fault, "CreateThread(stack " + std::to_string(stackSize) +
                                ") -> a thread, and a duplicate of its handle left open");
    }
    return thread;
}

using MallocFunction = void* (*)(std::size_t);

MallocFunction g_malloc = nullptr; // the plugin's malloc before the patch
std::uint32_t g_failingWait = 0;   // the wait whose thread's next malloc fails, counted from 1
std::atomic<std::uint32_t> g_waitsEnded{0};
thread_local bool t_failNextMalloc = false;

void WINAPI WaitThenFailNextMalloc(DWORD ms) {
    Sleep(ms);
    if (ms == kWorkerWaitMs && ++g_waitsEnded == g_failingWait) {
        t_failNextMalloc = true;
    }
}

void* FailingWorkerMalloc(std::size_t size) {
    if (!t_failNextMalloc) {
        return g_malloc(size);
    }
    t_failNextMalloc = false;
    Record(Kind::Fault, "malloc(" + std::to_string(size) + ") after worker wait " +
                            std::to_string(g_failingWait) + " -> null");
    return nullptr;
}

bool InstallMallocFailure(HMODULE module, std::uint32_t wait) {
    g_failingWait = wait;
    void* previous = PatchPluginImport(
        module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&FailingWorkerMalloc),
        "fails once, on the thread of worker wait " + std::to_string(wait));
    g_malloc = reinterpret_cast<MallocFunction>(previous);
    return previous != nullptr &&
           PatchPluginImport(module, "KERNEL32.dll", "Sleep",
                             reinterpret_cast<void*>(&WaitThenFailNextMalloc),
                             "counts the 2000 ms worker waits") != nullptr;
}

using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

WriteFileFunction g_writeFile = nullptr; // the plugin's WriteFile before the patch
DWORD g_slowWritesMs = 0;

BOOL WINAPI SlowWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    if (IsLogFile(FileNameOf(file))) { // the plugin's log, not the settings file it may rewrite
        Sleep(g_slowWritesMs);
    }
    return g_writeFile(file, bytes, size, written, overlapped);
}

bool Patch(HMODULE module, const char* dll, const char* function, void* replacement,
           const std::string& what) {
    return PatchPluginImport(module, dll, function, replacement, what) != nullptr;
}

std::string CountedCreateThreadText(const FaultPlan& plan) {
    std::string what = "on the game's thread, ";
    if (plan.failCreateThread) {
        what += "every call fails (not enough memory)";
    } else if (plan.failCreateThreads > 0) {
        what += "the first " + std::to_string(plan.failCreateThreads) +
                " call(s) fail (not enough memory)";
    }
    if (plan.leakThreadHandles) {
        what += std::string(plan.failCreateThreads == 0 ? "" : ", then ") +
                "each thread handle gets a duplicate that is never closed";
    }
    return what;
}

} // namespace

bool InstallFaultDoubles(void* pluginModule, const FaultPlan& plan) {
    auto module = static_cast<HMODULE>(pluginModule);
    bool ok = true;
    if (plan.documents) {
        g_documents = *plan.documents;
        g_wideDocuments = AnsiToWide(g_documents);
        ok = Patch(module, "SHELL32.dll", "SHGetFolderPathW",
                   reinterpret_cast<void*>(&DocumentsFolder), "yields \"" + g_documents + "\"") &&
             ok;
    } else if (plan.documentsFailure) {
        g_documentsFailure = *plan.documentsFailure;
        ok = Patch(module, "SHELL32.dll", "SHGetFolderPathW",
                   reinterpret_cast<void*>(&FailingDocumentsFolder),
                   "fails with " + Hex8(static_cast<std::uint32_t>(g_documentsFailure))) &&
             ok;
    }
    if (plan.failCreateThread || plan.failCreateThreads > 0 || plan.leakThreadHandles) {
        g_failEveryCreateThread = plan.failCreateThread;
        g_createThreadFailures.store(plan.failCreateThreads);
        g_leakThreadHandles = plan.leakThreadHandles;
        void* previous = PatchPluginImport(module, "KERNEL32.dll", "CreateThread",
                                           reinterpret_cast<void*>(&CountedCreateThread),
                                           CountedCreateThreadText(plan));
        if (previous != nullptr) {
            g_createThread = reinterpret_cast<CreateThreadFunction>(previous);
        }
        ok = previous != nullptr && ok;
    }
    if (plan.failWorkerMalloc > 0) {
        ok = InstallMallocFailure(module, plan.failWorkerMalloc) && ok;
    }
    if (plan.failAllocation) {
        ok = InstallCallWalk(module, {"allocation", *plan.failAllocation,
                                      plan.failLaterAllocations ? 0u : 1u}) &&
             ok;
    }
    if (plan.failWalk) {
        ok = InstallCallWalk(module,
                             {*plan.failWalk, plan.failWalkCall, plan.failCount.value_or(1)}) &&
             ok;
    }
    if (plan.slowLogWritesMs > 0) {
        g_slowWritesMs = plan.slowLogWritesMs;
        g_writeFile = reinterpret_cast<WriteFileFunction>(PatchPluginImport(
            module, "KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(&SlowWriteFile),
            "each write to a .log file takes " + std::to_string(plan.slowLogWritesMs) +
                " ms longer"));
        ok = g_writeFile != nullptr && ok;
    }
    return ok;
}

} // namespace sim
