#include "plugin/install_worker.h"

#include "korv_common/Log.h"
#include "settings/Install.h"

#include <windows.h>

namespace {
// The game has more to do right after a load; the settings go out once it has settled.
constexpr DWORD kInstallDelayMs = 2000;
constexpr SIZE_T kWorkerStackSize = 4096;
} // namespace

unsigned long __stdcall InstallWorker(void* /*parameter*/) {
    try {
        Sleep(kInstallDelayMs);
        Install_Helmshroud();
    } catch (...) {
        // A worker must not take the game down.
    }
    return 0;
}

void StartInstallWorker() {
    HANDLE worker = CreateThread(nullptr, kWorkerStackSize, InstallWorker, nullptr, 0, nullptr);
    if (worker == nullptr) {
        LogLine(
            "QELLoadGameEvent :: Error: couldn't start the settings worker (error %lu). Nothing "
            "sent for this load.",
            GetLastError());
        return;
    }
    // The thread runs on its own; its handle is not needed.
    CloseHandle(worker);
}
