#include "sim/crash_report.h"

#include "sim/text.h"
#include "sim/thread_roles.h"
#include "sim/transcript.h"

#include <windows.h>

namespace sim {

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    RecordAs(Source::Sim, Kind::Crash,
             "exception " + Hex8(static_cast<std::uint32_t>(record->ExceptionCode)) + " at " +
                 Pointer(record->ExceptionAddress) + " in " + SourceName(CurrentSource()));
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void InstallCrashReport() {
    SetUnhandledExceptionFilter(&ReportCrash);
}

} // namespace sim
