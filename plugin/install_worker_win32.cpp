#include "plugin/install_worker.h"

#include "korv_common/Log.h"
#include "settings/Install.h"

#include <windows.h>

#include <exception>

namespace {
// The game has more to do right after a load; the settings go out once it has settled.
constexpr DWORD kInstallDelayMs = 2000;
constexpr SIZE_T kWorkerStackSize = 4096;

// The run ended early: say so, and get the line to the file. Nothing may leave the worker, not
// even from the logging.
void ReportStoppedRun(const char* what) noexcept {
    try {
        LogLine(
            "InstallWorker :: Error: the settings run stopped on an error (%s). The game script "
            "may not have got every setting for this load.",
            what);
        FlushLog();
    } catch (...) {
    }
}

} // namespace

unsigned long __stdcall InstallWorker(void* /*parameter*/) {
    // The sink queued its line without waking the log's writers, to spare the game's thread.
    WakeLogWriters();
    // A worker must not take the game down.
    try {
        Sleep(kInstallDelayMs);
        Install_Helmshroud();
    } catch (const std::exception& error) {
        ReportStoppedRun(error.what());
    } catch (...) {
        ReportStoppedRun("an exception of unknown type");
    }
    return 0;
}

void StartInstallWorker() {
    HANDLE worker = CreateThread(nullptr, kWorkerStackSize, InstallWorker, nullptr, 0, nullptr);
    if (worker == nullptr) {
        LogLineNoWait(
            "QELLoadGameEvent :: Error: couldn't start the settings worker (error %lu). Nothing "
            "sent for this load.",
            GetLastError());
        WakeLogWriters(); // no worker will
        return;
    }
    // The thread runs on its own; its handle is not needed.
    CloseHandle(worker);
}
