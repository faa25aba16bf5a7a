#pragma once
// The crash report, as the field's crash loggers write one: when an exception nobody handles ends
// the process (a plugin that crashes the game, a sink whose handler is missing, the console fault
// of --console-fault), the transcript gets a "crash" entry naming the exception, where it happened
// (module + offset) and on which thread, then one "frame" entry per frame of that thread's stack,
// innermost first, walked with dbghelp:
//
//     #0 Quorvalen.exe!sim::ExecuteConsoleCommand+0x8f (sim\game\console.cpp:41)
//     #2 Helmshroud.dll!Install_Helmshroud+0x2a1 (settings\Install.cpp:97)
//     #3 KERNEL32.dll+0x1e53d
//
// A frame is named from the PDB beside its module when dbghelp finds a matching one; otherwise it
// reads module+offset (or the bare address, outside every module).

namespace sim {

void InstallCrashReport();

// Returns at once when no thread has crashed. While a crash is being reported (dbghelp may take a
// second to load the symbols) it never returns: as in the game, a thread's unhandled exception
// ends the whole process, and its report must not be cut short by the run ending first.
void AwaitCrashReport();

} // namespace sim
