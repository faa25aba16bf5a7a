#include "sim/record/crash_report.h"

#include "sim/platform/platform.h"
#include "sim/platform/text.h"
#include "sim/record/stack_frame.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript.h"

#include <windows.h>

#include <dbghelp.h>

#include <string>

namespace sim {

namespace {

// Deeper stacks are cut: the frames that matter are the innermost.
constexpr int kMaxFrames = 48;

// Held from the first crash on, until the process ends: a second crash, and the end of the run,
// wait for the report being written.
Lock g_reportLock;

std::string ModuleFileName(DWORD64 base) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(reinterpret_cast<HMODULE>(base), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return "?";
    }
    std::string name(path, length);
    return name.substr(name.find_last_of("\\/") + 1);
}

// Symbols only from a module's own debug information (its PDB): the export table alone would name
// every address after the nearest export, which is not the function that holds it.
bool HasDebugSymbols(HANDLE process, DWORD64 base) {
    IMAGEHLP_MODULE64 module{};
    module.SizeOfStruct = sizeof module;
    if (!SymGetModuleInfo64(process, base, &module)) {
        return false;
    }
    return module.SymType != SymNone && module.SymType != SymExport &&
           module.SymType != SymDeferred;
}

// lineAddress is the address itself for the faulting frame, and one byte before the return
// address for a caller, so that the line is the call's.
FrameFacts Describe(HANDLE process, DWORD64 address, DWORD64 lineAddress) {
    FrameFacts frame;
    frame.address = address;
    DWORD64 base = SymGetModuleBase64(process, address);
    if (base == 0) {
        return frame;
    }
    frame.module = ModuleFileName(base);
    frame.moduleOffset = address - base;

    alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + MAX_SYM_NAME];
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = MAX_SYM_NAME;
    DWORD64 displacement = 0;
    if (!SymFromAddr(process, address, &displacement, symbol) || !HasDebugSymbols(process, base)) {
        return frame;
    }
    frame.function = symbol->Name;
    frame.functionOffset = displacement;

    IMAGEHLP_LINE64 line{};
    line.SizeOfStruct = sizeof line;
    DWORD lineDisplacement = 0;
    if (SymGetLineFromAddr64(process, lineAddress, &lineDisplacement, &line)) {
        frame.file = line.FileName;
        frame.line = line.LineNumber;
    }
    return frame;
}

std::string ExceptionLine(HANDLE process, const EXCEPTION_RECORD& record) {
    auto code = static_cast<std::uint32_t>(record.ExceptionCode);
    auto address = reinterpret_cast<DWORD64>(record.ExceptionAddress);
    FrameFacts where = Describe(process, address, address);
    std::string text = "exception " + Hex8(code) + " at " + Hex(address) + " in " +
                       SourceName(CurrentSource()) + ": " +
                       (where.module.empty() ? std::string("no module")
                                             : where.module + "+" + Hex(where.moduleOffset));
    std::string name = ExceptionName(code);
    if (!name.empty()) {
        text += ", " + name;
    }
    if (code == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        ULONG_PTR access = record.ExceptionInformation[0];
        text += access == 0 ? " reading " : access == 1 ? " writing " : " executing ";
        text += Hex(record.ExceptionInformation[1]);
    }
    return text;
}

void WalkStack(HANDLE process, const CONTEXT& faultContext) {
    CONTEXT context = faultContext; // the walk updates it frame by frame
    STACKFRAME64 frame{};
    frame.AddrPC.Offset = context.Rip;
    frame.AddrPC.Mode = AddrModeFlat;
    frame.AddrFrame.Offset = context.Rbp;
    frame.AddrFrame.Mode = AddrModeFlat;
    frame.AddrStack.Offset = context.Rsp;
    frame.AddrStack.Mode = AddrModeFlat;
    HANDLE thread = GetCurrentThread();
    for (int index = 0; index < kMaxFrames; ++index) {
        if (!StackWalk64(IMAGE_FILE_MACHINE_AMD64, process, thread, &frame, &context, nullptr,
                         SymFunctionTableAccess64, SymGetModuleBase64, nullptr) ||
            frame.AddrPC.Offset == 0) {
            return;
        }
        DWORD64 pc = frame.AddrPC.Offset;
        FrameFacts facts = Describe(process, pc, index == 0 ? pc : pc - 1);
        RecordAs(Source::Sim, Kind::Frame, "#" + std::to_string(index) + " " + FormatFrame(facts));
    }
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
    g_reportLock.Acquire(); // never released: the process ends when this returns
    HANDLE process = GetCurrentProcess();
    SymSetOptions(SYMOPT_UNDNAME | SYMOPT_LOAD_LINES | SYMOPT_DEFERRED_LOADS |
                  SYMOPT_FAIL_CRITICAL_ERRORS | SYMOPT_NO_PROMPTS);
    // Every module loaded now, each with the PDB found beside it (or none).
    bool symbols = SymInitialize(process, nullptr, TRUE) != FALSE;
    RecordAs(Source::Sim, Kind::Crash, ExceptionLine(process, *exception->ExceptionRecord));
    if (symbols) {
        WalkStack(process, *exception->ContextRecord);
        SymCleanup(process);
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void InstallCrashReport() {
    SetUnhandledExceptionFilter(&ReportCrash);
}

void AwaitCrashReport() {
    g_reportLock.Acquire();
    g_reportLock.Release();
}

} // namespace sim
