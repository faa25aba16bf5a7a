#include "catalogue/log_lines.h"
#include "plugin/install_worker.h"

#include "korv_common/Log.h"
#include "settings/routine/Install.h"

#include <windows.h>

#include <exception>

namespace {
// The game has more to do right after a load; the settings go out once it has settled.
constexpr DWORD kInstallDelayMs = 2000;
constexpr SIZE_T kWorkerStackSize = 4096;

// The run ended early: say so, and get the line to the file. The log's calls throw nothing.
void ReportStoppedRun(const char* what) noexcept {
    LogLine(lines::kRunStopped, what);
    FlushLog();
}

} // namespace

unsigned long __stdcall InstallWorker(void* /*parameter*/) {
    // A worker must not take the game down.
    try {
        Sleep(kInstallDelayMs);
        Install_Helmshroud();
        // What the settings run throws is the standard library's (memory that ran out): no test
        // throws anything else, and no test gets to the second handler.
    } catch (const std::exception& error) { // GCOVR_EXCL_BR_LINE
        ReportStoppedRun(error.what());
    } catch (...) {                                       // GCOVR_EXCL_LINE
        ReportStoppedRun("an exception of unknown type"); // GCOVR_EXCL_LINE
    }
    return 0;
}

void StartInstallWorker() {
    HANDLE worker = CreateThread(nullptr, kWorkerStackSize, InstallWorker, nullptr, 0, nullptr);
    if (worker == nullptr) {
        LogLineNoWait(lines::kWorkerNotStarted, GetLastError());
        return;
    }
    // The thread runs on its own; its handle is not needed.
    CloseHandle(worker);
}
