// The DLL's entry point, called by Windows with the C runtime's own start-up around it.
#include "korv_common/Log.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*module*/, DWORD reason, LPVOID reserved) {
    // The process is ending (the log pins the DLL, so it is never unloaded before): the log's
    // writer threads are gone, and lines logged just before may still be queued.
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr) {
        WriteLogAtExit();
    }
    return TRUE;
}
