// The coverage build's one addition to a binary that holds counters: each process writes its
// counts in turn. libgcov merges a process's counts into the .gcda files when it ends, holding
// each file under the runtime's _locking(); Wine's _locking() gives up after ten tries 1 ms apart
// (Windows waits a second between them), so when several of the suite's processes end at once, one
// finds a file held, writes nothing to it ("profiling: ...: Cannot open") and its counts are lost.
// Linked with --wrap=__gcov_exit (cmake/instrument.cmake), the write waits for a mutex that every
// process of the Wine prefix shares, and the file locks are never contended.
#include <windows.h>

namespace {
// Far longer than any process's write takes; past it the write goes ahead under the file locks.
constexpr DWORD kTurnWaitMs = 60000;
} // namespace

extern "C" void __real___gcov_exit();

extern "C" void __wrap___gcov_exit() {
    HANDLE turn = CreateMutexW(nullptr, FALSE, L"Local\\HelmshroudCoverageWrite");
    DWORD waited = turn == nullptr ? WAIT_FAILED : WaitForSingleObject(turn, kTurnWaitMs);
    __real___gcov_exit();
    // An abandoned mutex (its holder was ended mid-write) is ours all the same.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        ReleaseMutex(turn);
    }
    if (turn != nullptr) {
        CloseHandle(turn);
    }
}
