#pragma once
#include <cstdint>

// Starts a thread that waits 2000 ms, then runs the settings routine. Never waits for it.
void StartInstallWorker();

// The worker thread's routine.
unsigned long __stdcall InstallWorker(void* parameter);
