#include "korv_common/Log.h"

#include "catalogue/log_lines.h"
#include "korv_common/log_system.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

using korv::SlimGuard;
using korv::SlimLock;
using korv::log::Output;

// One line at most, its "\n" and the terminating zero included: the ring's tail holds it, CR LF.
constexpr std::size_t kLineBufferSize = 8192;
static_assert(kLineBufferSize <= Output::kTail);
// How long a caller that may wait gives standard output's writer. It mostly needs a moment:
// yielding (a pause of 0) costs less than sleeping and being woken, so it yields at first.
constexpr std::uint64_t kWriterWaitMs = 1000;
constexpr std::uint64_t kYieldMs = 20;
// How long a write of the file the system refused waits before it is tried once more: a virus
// scanner or a backup tool that holds the file lets go of it in moments.
constexpr unsigned kRetryPauseMs = 50;
constexpr std::size_t kNoteBytes = 256; // a line of the log's own, at most
constexpr int kDocumentsCheckLine = 26;

// A caller that may wait writes the file itself; standard output is written by its writer alone.
char g_rings[2][Output::kCapacity + Output::kTail];
constinit Output g_file{&korv::log::WriteToFile, true, g_rings[0]};
constinit Output g_stdout{&korv::log::WriteToStdout, false, g_rings[1]};
// Lines neither output had room for; the file says so where they are missing (queue lock).
std::uint64_t g_leftOutOfBoth = 0;

// Both queues, and the line buffer of the threads that never wait. Every thread takes it, the
// game's included, but only ever to copy bytes: it is never held across a write or a wait.
constinit SlimLock g_queueLock;
char g_line[kLineBufferSize];

// Held by a caller that may wait (LogLine, FlushLog) for the whole call: it keeps its line here,
// formatted once, across its waits for room. Taken before any other lock of the log's.
constinit SlimLock g_waitingLock;
char g_waitingLine[kLineBufferSize];

// What f returns, run under g_queueLock.
template <typename F> auto UnderQueueLock(F f) {
    SlimGuard guard(g_queueLock);
    return f();
}

bool FileOpen() {
    return g_file.handle.load() != nullptr;
}

// Formats one line into buffer with the runtime's bounded print: a text too long is cut so that
// its "\n" still fits, and a format the print refuses (a negative count, whatever it left in the
// buffer) leaves an empty line. Returns its length.
std::size_t FormatLine(char* buffer, const char* format, std::va_list args) {
    int written = std::vsnprintf(buffer, kLineBufferSize, format, args);
    std::size_t length =
        std::min(static_cast<std::size_t>(std::max(written, 0)), kLineBufferSize - 2);
    buffer[length] = '\n';
    buffer[length + 1] = '\0';
    return length + 1;
}

// Queues a line of the log's own for the output, value in its place. One with no room is not said:
// a count it tells of waits for the next one. Under g_queueLock.
void QueueNote(Output& output, const char* format, std::uint64_t& value) {
    char note[kNoteBytes]; // the print always ends its text with a zero, within the buffer
    std::snprintf(note, sizeof note - 1, format, static_cast<unsigned long long>(value));
    std::strcat(note, "\n");
    if (output.Push(note, std::strlen(note))) {
        value = 0;
    }
}

// The file says what it had no room for, before a line of size bytes, where it has room for both.
// Under g_queueLock.
void QueueFileNotes(std::size_t size) {
    for (auto [count, note] : {std::pair{&g_file.leftOut, lines::kFileLeftOut},
                               std::pair{&g_leftOutOfBoth, lines::kBothLeftOut}}) {
        if (*count > 0 && g_file.Room() >= size + kNoteBytes) {
            QueueNote(g_file, note, *count);
        }
    }
}

// Queues the line for the output, the file's notes before it. Under g_queueLock. True when it was
// queued.
bool Queue(Output& output, const char* line, std::size_t size) {
    if (&output == &g_file) {
        QueueFileNotes(size);
    }
    return output.Push(line, size);
}

// Says in the file how many lines standard output is missing. Under g_queueLock.
void NoteStdoutLeftOut() {
    if (g_stdout.leftOut > 0) {
        QueueNote(g_file, lines::kStdoutLeftOut, g_stdout.leftOut);
    }
}

// Counts a line an output had no room for where the file will say so: of the lines standard
// output has or both are missing, and in standard output's count of those the file has. Before the
// file is open nothing is counted: it can speak for no line. Under g_queueLock.
void CountLeftOut(bool printed, bool filed) {
    if (!FileOpen()) {
        return;
    }
    if (!printed && !filed) {
        ++g_leftOutOfBoth;
    } else if (!printed || !filed) {
        ++(printed ? g_file : g_stdout).leftOut;
    }
}

// Writes the output's queue until it is all written (true) or the output takes nothing. The first
// write refused after writes that went through is tried once more after a pause, then said on
// standard output, when the caller may wait. Under output.writing.
bool WriteOut(Output& output, bool mayWait) {
    for (bool retried = false;;) {
        std::size_t asked = 0;
        std::uint32_t error = 0;
        std::size_t took = output.Write(asked, error);
        // Standard output took some: the file says what it had no room for before, queued by the
        // time that room shows.
        if (took > 0 && &output == &g_stdout) {
            UnderQueueLock(NoteStdoutLeftOut);
        }
        output.Commit(took);
        if (asked == 0) {
            return true;
        }
        if (took > 0) {
            output.failing = retried = false;
        } else if (mayWait && !output.failing && !retried) {
            korv::log::PauseMs(kRetryPauseMs);
            retried = true;
        } else {
            if (mayWait && !output.failing) {
                std::uint64_t windowsError = error;
                UnderQueueLock([&] { QueueNote(g_stdout, lines::kFileWritesFail, windowsError); });
            }
            output.failing = true;
            return false;
        }
    }
}

// Gives the output until deadline to take its queue up to target. The file is written here, all of
// it; standard output's writer is started if need be and waited for, unless it is still in the
// write it was in when such a wait last gave up. True when the output took it. Under
// g_waitingLock.
bool Drain(Output& output, std::uint64_t target, std::uint64_t deadline) {
    if (&output == &g_file) {
        SlimGuard writing(g_file.writing);
        return WriteOut(g_file, true);
    }
    if (output.Committed() >= target) {
        return true;
    }
    if (!korv::log::StartWriter(output) || output.Committed() == output.gaveUpAt.load()) {
        return false;
    }
    korv::log::Wake(output);
    for (std::uint64_t yieldUntil = korv::log::NowMs() + kYieldMs; output.Committed() < target;) {
        std::uint64_t now = korv::log::NowMs();
        if (now >= deadline) {
            output.gaveUpAt.store(output.Committed());
            return false;
        }
        korv::log::PauseMs(now < yieldUntil ? 0 : 1);
    }
    return true;
}

// The output's queue had no room for the waiting line: makes room as FlushLog does, then queues the
// line. True when it was queued. Under g_waitingLock.
bool QueueWaiting(Output& output, std::size_t size) {
    std::uint64_t deadline = korv::log::NowMs() + kWriterWaitMs;
    for (;;) {
        std::uint64_t target = 0;
        {
            SlimGuard guard(g_queueLock);
            if (Queue(output, g_waitingLine, size)) {
                return true;
            }
            target = output.Pushed() + size - Output::kCapacity;
        }
        if (!Drain(output, target, deadline)) {
            return false;
        }
    }
}

} // namespace

int LogLine(const char* format, ...) {
    SlimGuard waiting(g_waitingLock);
    std::va_list args;
    va_start(args, format);
    std::size_t size = FormatLine(g_waitingLine, format, args);
    va_end(args);
    bool printed = false;
    bool filed = true;
    {
        SlimGuard guard(g_queueLock);
        printed = Queue(g_stdout, g_waitingLine, size);
        filed = !FileOpen() || Queue(g_file, g_waitingLine, size);
    }
    filed = filed || QueueWaiting(g_file, size);
    printed = printed || QueueWaiting(g_stdout, size);
    UnderQueueLock([&] { CountLeftOut(printed, filed); });
    return printed ? 0 : EOF;
}

int LogLineNoWait(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    SlimGuard guard(g_queueLock);
    std::size_t size = FormatLine(g_line, format, args);
    va_end(args);
    bool printed = Queue(g_stdout, g_line, size);
    CountLeftOut(printed, !FileOpen() || Queue(g_file, g_line, size));
    return printed ? 0 : EOF;
}

void FlushLog() {
    SlimGuard waiting(g_waitingLock);
    Drain(g_file, 0, 0);
    Drain(g_stdout, g_stdout.Pushed(), korv::log::NowMs() + kWriterWaitMs);
}

void AssertionFailed(const char* sourceFile, int line, const char* expression, std::int64_t code) {
    auto bits = static_cast<std::uint64_t>(code);
    if ((bits >> 32) == 0) {
        auto low = static_cast<std::uint32_t>(bits);
        LogLineNoWait(lines::kAssertion32, sourceFile, line, expression, low,
                      static_cast<std::int32_t>(low));
    } else {
        LogLineNoWait(lines::kAssertion64, sourceFile, line, expression, bits, code);
    }
}

void WriteLogAtExit() {
    if (!FileOpen()) {
        return;
    }
    // One of the threads that are gone may have held a lock: none is waited for.
    SlimGuard writing(g_file.writing, SlimGuard::kNeverWaits);
    SlimGuard queue(g_queueLock, SlimGuard::kNeverWaits);
    // A writer ended in its write got out what the file has past the bytes committed. A file whose
    // size can't be had may miss them: they are written again, as a line twice beats none.
    if (std::optional<std::uint64_t> size = korv::log::FileSize(g_file.handle.load())) {
        g_file.CommitUpTo(*size);
    }
    NoteStdoutLeftOut();
    // Then the queue, and last what it had no room for, as long as the file takes them.
    if (WriteOut(g_file, false) && g_file.leftOut + g_leftOutOfBoth > 0) {
        QueueFileNotes(0);
        WriteOut(g_file, false);
    }
}

namespace korv::log {

void RunWriter(Output& output) {
    for (;;) {
        WaitForWake(output, kWriterLooksMs);
        if (output.Queued() > 0) {
            SlimGuard writing(output.writing);
            WriteOut(output, true);
        }
    }
}

void UseLogFile(void* file) {
    g_file.handle.store(file);
    StartWriter(g_file); // without it, each FlushLog still writes the file
}

bool StartStdoutWriter() {
    return StartWriter(g_stdout);
}

void ReportDocumentsFolderFailure(unsigned folderId, long result, unsigned long lastError) {
    LogLineNoWait(lines::kDocumentsBlocked, folderId, static_cast<unsigned>(result),
                  static_cast<unsigned>(lastError));
    AssertionFailed(__FILE__, kDocumentsCheckLine, "SUCCEEDED(err)", result);
}

} // namespace korv::log
