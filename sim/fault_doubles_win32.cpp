#include "sim/fault_doubles.h"

#include "sim/import_patch.h"
#include "sim/text.h"
#include "sim/transcript.h"

#include <windows.h>

#include <cstring>

namespace sim {

namespace {

// The last error the failing SHGetFolderPathA leaves behind.
constexpr DWORD kDocumentsLastError = ERROR_ACCESS_DENIED;

std::string g_documents;
HRESULT g_documentsFailure = S_OK;

std::string FolderCall(int folder, DWORD flags) {
    return "SHGetFolderPathA(folder " + Hex8(static_cast<std::uint32_t>(folder)) + ", flags " +
           std::to_string(flags) + ")";
}

HRESULT WINAPI DocumentsFolder(HWND, int folder, HANDLE, DWORD flags, LPSTR path) {
    if (path != nullptr) {
        std::size_t length = g_documents.size() < MAX_PATH - 1 ? g_documents.size() : MAX_PATH - 1;
        std::memcpy(path, g_documents.data(), length);
        path[length] = '\0';
    }
    Record(Kind::Fault, FolderCall(folder, flags) + " -> S_OK \"" + g_documents + "\"");
    return S_OK;
}

HRESULT WINAPI FailingDocumentsFolder(HWND, int folder, HANDLE, DWORD flags, LPSTR path) {
    if (path != nullptr) {
        path[0] = '\0';
    }
    Record(Kind::Fault, FolderCall(folder, flags) + " -> " +
                            Hex8(static_cast<std::uint32_t>(g_documentsFailure)) + ", last error " +
                            std::to_string(kDocumentsLastError));
    SetLastError(kDocumentsLastError);
    return g_documentsFailure;
}

HANDLE WINAPI FailingCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE,
                                  LPVOID, DWORD flags, LPDWORD) {
    Record(Kind::Fault, "CreateThread(stack " + std::to_string(stackSize) + ", flags " +
                            std::to_string(flags) + ") -> null, last error " +
                            std::to_string(ERROR_NOT_ENOUGH_MEMORY));
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

bool Patch(HMODULE module, const char* dll, const char* function, void* replacement,
           const std::string& what) {
    if (PatchImport(module, dll, function, replacement) == nullptr) {
        RecordError(std::string("the plugin does not import ") + function + " from " + dll);
        return false;
    }
    Record(Kind::Patch, std::string(function) + " from " + dll + ": " + what);
    return true;
}

} // namespace

bool InstallFaultDoubles(void* pluginModule, const FaultPlan& plan) {
    auto module = static_cast<HMODULE>(pluginModule);
    bool ok = true;
    if (plan.documents) {
        g_documents = *plan.documents;
        ok = Patch(module, "SHELL32.dll", "SHGetFolderPathA",
                   reinterpret_cast<void*>(&DocumentsFolder), "yields \"" + g_documents + "\"") &&
             ok;
    } else if (plan.documentsFailure) {
        g_documentsFailure = *plan.documentsFailure;
        ok = Patch(module, "SHELL32.dll", "SHGetFolderPathA",
                   reinterpret_cast<void*>(&FailingDocumentsFolder),
                   "fails with " + Hex8(static_cast<std::uint32_t>(g_documentsFailure))) &&
             ok;
    }
    if (plan.failCreateThread) {
        ok = Patch(module, "KERNEL32.dll", "CreateThread",
                   reinterpret_cast<void*>(&FailingCreateThread), "fails (not enough memory)") &&
             ok;
    }
    return ok;
}

} // namespace sim
