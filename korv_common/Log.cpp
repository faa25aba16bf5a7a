#include "korv_common/Log.h"

#include "korv_common/line_queue.h"
#include "korv_common/log_line.h"
#include "korv_common/log_outputs.h"
#include "korv_common/slim_lock.h"

#include <atomic>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <thread>

namespace {

using korv::kLineBufferSize;
using korv::LineQueue;
using korv::SlimGuard;
using korv::SlimLock;
using korv::SlimTryGuard;

// Room for some hundreds of lines each: what a slow disk or a stalled standard output is allowed
// to hold back before lines are left out.
constexpr std::size_t kQueueBytes = 64 * 1024;
// Bytes written at a time: at least the longest line.
constexpr std::size_t kBatchBytes = kLineBufferSize;
// How long FlushLog gives standard output's writer to take what is queued, and how often it looks.
constexpr std::uint64_t kStdoutFlushWaitMs = 1000;
constexpr unsigned kStdoutLookMs = 20;
constexpr int kStdoutSpins = 500;
// A queue this full has its writer woken by LogLine; below it, lines wait for FlushLog or a wake.
constexpr std::size_t kFillingBytes = kQueueBytes / 4;
constexpr int kDocumentsCheckLine = 26;
// How long a write of the file the system refused waits before it is tried once more: a virus
// scanner or a backup tool that holds the file lets go of it in moments.
constexpr unsigned kRetryPauseMs = 50;

// The line buffer, both queues and the counts of lines left out. Every thread takes it, the game's
// included, but only ever to copy bytes: it is never held across a write or a wait.
SlimLock g_queueLock;
char g_line[kLineBufferSize];
char g_fileBytes[kQueueBytes];
LineQueue g_fileQueue{g_fileBytes, kQueueBytes};
char g_stdoutBytes[kQueueBytes];
LineQueue g_stdoutQueue{g_stdoutBytes, kQueueBytes};
std::uint64_t g_fileLeftOut = 0;   // lines the file's queue had no room for, not yet said
std::uint64_t g_stdoutLeftOut = 0; // lines standard output's queue had no room for, not yet said

std::atomic<void*> g_file{nullptr};

// One writer of the file at a time, so that batches reach it in queue order. Held across the
// write: never taken by a thread that must not wait. Taken before g_queueLock.
SlimLock g_fileWriting;
char g_fileBatch[kBatchBytes];
char g_fileText[2 * kBatchBytes];
// Bytes the file has been given so far, and the size of the write under way (0 between writes):
// at exit, the file's size tells whether a writer that was ended in its write got it out.
std::uint64_t g_fileSent = 0;
std::atomic<std::size_t> g_fileInFlight{0};
// The text of the batch being written and how much of it the file has. A write the system refuses
// leaves the rest here, and it is written before anything after it: the queue holds the lines
// logged meanwhile, and the lines it has no room for are counted and said, as ever.
std::size_t g_textSize = 0;
std::size_t g_textDone = 0;
// The file's writes have been failing since the last one that went through.
bool g_fileFailing = false;

// The same for standard output.
SlimLock g_stdoutWriting;
char g_stdoutBatch[kBatchBytes];
// Bytes of standard output's queue whose write has returned, and that count when FlushLog last
// gave up waiting for the writer.
std::atomic<std::uint64_t> g_stdoutWritten{0};
std::atomic<std::uint64_t> g_stdoutStalledAt{std::numeric_limits<std::uint64_t>::max()};

unsigned long long Count(std::uint64_t count) {
    return count;
}

// Queues a line of the log's own for the file, before the line that follows it. Under g_queueLock.
void QueueNote(const char* format, std::uint64_t count) {
    // The print always ends the text it leaves with a zero, within the buffer.
    char note[256];
    std::snprintf(note, sizeof note, format, Count(count));
    if (!g_fileQueue.Push(note, std::strlen(note))) {
        ++g_fileLeftOut;
    }
}

// Says in the file how many lines had no room in its queue, when the queue has room for the note
// and for the next line, of nextSize bytes. Under g_queueLock.
void NoteFileLeftOut(std::size_t nextSize) {
    if (g_fileLeftOut > 0 && g_fileQueue.Room() >= nextSize + 256) {
        std::uint64_t leftOut = g_fileLeftOut;
        g_fileLeftOut = 0;
        QueueNote("LogLine :: Warning: the log file's queue had no room for %llu line(s); they are "
                  "missing here.\n",
                  leftOut);
    }
}

// Queues a line for the file, after saying how many lines before it had no room. False when the
// line does not fit. Under g_queueLock.
bool QueueForFile(const char* line, std::size_t size) {
    NoteFileLeftOut(size);
    return g_fileQueue.Push(line, size);
}

// Says once, in the file, how many lines standard output is missing. Under g_queueLock.
void NoteStdoutLeftOut() {
    if (g_stdoutLeftOut == 0) {
        return;
    }
    std::uint64_t leftOut = g_stdoutLeftOut;
    g_stdoutLeftOut = 0;
    if (g_file.load() != nullptr) {
        QueueNote("LogLine :: Warning: standard output took no lines for a while; %llu line(s) "
                  "had no room in its queue and are missing there (this file has them).\n",
                  leftOut);
    }
}

struct Queued {
    bool stdoutCopy = false;
    bool fileCopy = false;
    bool fileFull = false; // the file is open and its queue had no room for the line
    // A queue is filling up: its writer had better start now than when the caller flushes.
    bool stdoutFilling = false;
    bool fileFilling = false;
};

// Formats the line into the line buffer and queues it for standard output and for the file. A line
// a queue has no room for is counted as left out unless the caller will wait for room.
Queued FormatAndQueue(const char* format, std::va_list args, bool waitsForRoom) {
    Queued queued;
    SlimGuard guard(g_queueLock);
    std::size_t size = korv::FormatLine(g_line, format, args);
    queued.stdoutCopy = g_stdoutQueue.Push(g_line, size);
    if (!queued.stdoutCopy && !waitsForRoom) {
        ++g_stdoutLeftOut;
    }
    if (g_file.load() != nullptr) {
        queued.fileCopy = QueueForFile(g_line, size);
        queued.fileFull = !queued.fileCopy;
        if (queued.fileFull && !waitsForRoom) {
            ++g_fileLeftOut;
        }
    }
    queued.stdoutFilling = g_stdoutQueue.Size() >= kFillingBytes;
    queued.fileFilling = g_fileQueue.Size() >= kFillingBytes;
    return queued;
}

// Formats the line afresh into the line buffer, which is anyone's once its lock is let go. Under
// g_queueLock.
std::size_t FormatAgain(const char* format, std::va_list args) {
    std::va_list again;
    va_copy(again, args);
    std::size_t size = korv::FormatLine(g_line, format, again);
    va_end(again);
    return size;
}

// The size bytes of g_fileBatch become the text to write, each "\n" as "\r\n".
void TakeBatch(std::size_t size) {
    g_textSize = korv::WithCrLf(g_fileBatch, size, g_fileText);
    g_textDone = 0;
}

// Tells standard output, once a time the file's writes start failing, that its lines are held
// back. Under g_fileWriting, not g_queueLock.
void SayFileWritesFail(std::uint32_t error) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "LogLine :: Error: the log file can't be written (Windows error "
                  "%u). Its lines wait until it can; any it has no room for "
                  "meanwhile are counted, and the file says how many.\n",
                  static_cast<unsigned>(error));
    {
        SlimGuard guard(g_queueLock);
        if (!g_stdoutQueue.Push(line, std::strlen(line))) {
            ++g_stdoutLeftOut;
        }
    }
    korv::log::WakeStdoutWriter();
}

// One write of what the file does not have yet of the text. False when the system refused some.
bool WriteRest(std::uint32_t& error) {
    std::size_t rest = g_textSize - g_textDone;
    g_fileInFlight.store(rest);
    std::size_t wrote = korv::log::WriteToFile(g_file.load(), g_fileText + g_textDone, rest, error);
    g_fileInFlight.store(0);
    g_fileSent += wrote;
    g_textDone += wrote;
    return g_textDone == g_textSize;
}

// Writes what the file does not have yet of the text. The first write refused after writes that
// went through is tried once more after a pause, when the caller may wait. Under g_fileWriting.
// False when some of the text is still to be written.
bool WriteText(bool mayWait) {
    if (g_textDone == g_textSize) {
        return true;
    }
    std::uint32_t error = 0;
    bool whole = WriteRest(error);
    if (!whole && mayWait && !g_fileFailing) {
        korv::log::PauseMs(kRetryPauseMs);
        whole = WriteRest(error);
    }
    if (!whole && mayWait && !g_fileFailing) {
        SayFileWritesFail(error);
    }
    g_fileFailing = !whole;
    return whole;
}

enum class BatchWrite { Written, Nothing, Held };

// Writes what a refused write left, then pops one batch for the file and writes it. Under
// g_fileWriting. Held when the file took not all of it.
BatchWrite WriteFileBatch() {
    if (!WriteText(true)) {
        return BatchWrite::Held;
    }
    std::size_t size = 0;
    {
        SlimGuard guard(g_queueLock);
        size = g_fileQueue.Pop(g_fileBatch, kBatchBytes);
    }
    if (size == 0) {
        return BatchWrite::Nothing;
    }
    TakeBatch(size);
    return WriteText(true) ? BatchWrite::Written : BatchWrite::Held;
}

// The file's queue had no room for the line: writes queued lines until it has, then queues it.
// While the file takes nothing, the line is counted as left out instead.
void QueueWaitingForRoom(const char* format, std::va_list args) {
    SlimGuard writing(g_fileWriting);
    for (;;) {
        {
            SlimGuard guard(g_queueLock);
            if (QueueForFile(g_line, FormatAgain(format, args))) {
                break;
            }
        }
        if (WriteFileBatch() != BatchWrite::Written) {
            SlimGuard guard(g_queueLock);
            ++g_fileLeftOut;
            break;
        }
    }
    korv::log::WakeFileWriter();
}

void WriteStdoutBatches() {
    for (;;) {
        std::size_t size = 0;
        {
            SlimGuard guard(g_queueLock);
            size = g_stdoutQueue.Pop(g_stdoutBatch, kBatchBytes);
        }
        if (size == 0) {
            return;
        }
        korv::log::WriteToStdout(g_stdoutBatch, size);
        g_stdoutWritten.fetch_add(size);
        korv::log::NoteStdoutWrite();
        bool noted = false;
        {
            SlimGuard guard(g_queueLock);
            noted = g_stdoutLeftOut > 0;
            NoteStdoutLeftOut();
        }
        if (noted) {
            korv::log::WakeFileWriter();
        }
    }
}

// Standard output's writer is still in the write it was in when a wait for it last gave up.
bool StdoutStalled() {
    return g_stdoutWritten.load() == g_stdoutStalledAt.load();
}

// Standard output's queue had no room for the line: gives its writer the time FlushLog gives it
// to make room, unless it is stalled, then queues the line or counts it as left out. True when it
// was queued.
bool QueueWaitingForStdout(const char* format, std::va_list args) {
    auto queue = [&] {
        SlimGuard guard(g_queueLock);
        return g_stdoutQueue.Push(g_line, FormatAgain(format, args));
    };
    bool queued = false;
    if (!korv::log::StdoutWriterRunning()) {
        korv::log::WriteStdoutQueue();
        queued = queue(); // other threads may have filled the queue again meanwhile
    } else if (!StdoutStalled()) {
        std::uint64_t deadline = korv::log::NowMs() + kStdoutFlushWaitMs;
        while (!queued && korv::log::NowMs() < deadline) {
            korv::log::WakeStdoutWriter();
            korv::log::WaitForStdoutWrite(kStdoutLookMs);
            queued = queue();
        }
        if (!queued) {
            g_stdoutStalledAt.store(g_stdoutWritten.load());
        }
    }
    if (!queued) {
        SlimGuard guard(g_queueLock);
        ++g_stdoutLeftOut;
    }
    return queued;
}

// Gives standard output's writer up to kStdoutFlushWaitMs to take what is queued now, unless it
// is still in the write it was in when a flush last gave up on it.
void WaitForStdoutWriter() {
    std::uint64_t target = 0;
    {
        SlimGuard guard(g_queueLock);
        target = g_stdoutQueue.PushedTotal();
    }
    if (g_stdoutWritten.load() >= target || StdoutStalled()) {
        return;
    }
    korv::log::WakeStdoutWriter();
    // The writer mostly needs a moment: yielding costs less than sleeping and being woken.
    for (int spin = 0; spin < kStdoutSpins && g_stdoutWritten.load() < target; ++spin) {
        std::this_thread::yield();
    }
    std::uint64_t deadline = korv::log::NowMs() + kStdoutFlushWaitMs;
    while (g_stdoutWritten.load() < target) {
        if (korv::log::NowMs() >= deadline) {
            g_stdoutStalledAt.store(g_stdoutWritten.load());
            return;
        }
        korv::log::WaitForStdoutWrite(kStdoutLookMs);
    }
}

} // namespace

int LogLine(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    Queued queued = FormatAndQueue(format, args, true);
    va_end(args);
    if (queued.stdoutFilling) {
        korv::log::WakeStdoutWriter();
    }
    if (queued.fileFilling && !queued.fileFull) {
        korv::log::WakeFileWriter();
    }
    if (queued.fileFull) {
        QueueWaitingForRoom(format, again);
    }
    bool stdoutCopy = queued.stdoutCopy || QueueWaitingForStdout(format, again);
    va_end(again);
    return stdoutCopy ? 0 : EOF;
}

int LogLineNoWait(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    Queued queued = FormatAndQueue(format, args, false);
    va_end(args);
    return queued.stdoutCopy ? 0 : EOF;
}

void WakeLogWriters() {
    korv::log::WakeStdoutWriter();
    korv::log::WakeFileWriter();
}

void FlushLog() {
    if (g_file.load() != nullptr) {
        SlimGuard writing(g_fileWriting);
        while (WriteFileBatch() == BatchWrite::Written) {
        }
    }
    if (korv::log::StdoutWriterRunning()) {
        WaitForStdoutWriter();
    } else {
        korv::log::WriteStdoutQueue();
    }
}

void* LogFileHandle() {
    return g_file.load();
}

void AssertionFailed(const char* sourceFile, int line, const char* expression, std::int64_t code) {
    auto bits = static_cast<std::uint64_t>(code);
    if ((bits >> 32) == 0) {
        auto low = static_cast<std::uint32_t>(bits);
        LogLineNoWait("Assertion failed in %s (%d): %s (code = %08X (%d))", sourceFile, line,
                      expression, low, static_cast<std::int32_t>(low));
    } else {
        LogLineNoWait("Assertion failed in %s (%d): %s (code = %16" PRIX64 " (%" PRId64 "))",
                      sourceFile, line, expression, bits, code);
    }
}

void WriteLogAtExit() {
    if (g_file.load() == nullptr) {
        return;
    }
    // Every other thread is gone, and one may have gone holding a lock: none is waited for.
    SlimTryGuard writing(g_fileWriting);
    SlimTryGuard queue(g_queueLock);
    // A writer ended in the middle of its write: the rest of the batch is written again unless
    // the file has it. A file whose size can't be had may miss it: a line twice beats none.
    if (g_fileInFlight.load() > 0) {
        g_fileInFlight.store(0);
        std::optional<std::uint64_t> size = korv::log::FileSize(g_file.load());
        if (size && *size != g_fileSent) {
            g_textDone = g_textSize;
        }
    }
    NoteStdoutLeftOut();
    // Then what a refused write left, and the queue, as long as the file takes them. No line
    // follows the last: the lines left out after it are said once the queue is written.
    bool taken = WriteText(false);
    while (taken) {
        std::size_t size = g_fileQueue.Pop(g_fileBatch, kBatchBytes);
        if (size == 0) {
            NoteFileLeftOut(0);
            size = g_fileQueue.Pop(g_fileBatch, kBatchBytes);
        }
        if (size == 0) {
            break;
        }
        TakeBatch(size);
        taken = WriteText(false);
    }
}

namespace korv::log {

void UseLogFile(void* file) {
    g_file.store(file);
    // Without its writer thread the file still gets every line: each FlushLog writes it.
    StartFileWriter();
}

void WriteFileQueue() {
    SlimGuard writing(g_fileWriting);
    while (WriteFileBatch() == BatchWrite::Written) {
    }
}

void WriteStdoutQueue() {
    SlimGuard writing(g_stdoutWriting);
    WriteStdoutBatches();
}

void ReportDocumentsFolderFailure(unsigned folderId, long result, unsigned long lastError) {
    LogLineNoWait(
        "Your virus scanner is blocking access to your My Documents folder. SHGetFolderPath "
        "%08X failed (result = %08X lasterr = %08X)",
        folderId, static_cast<unsigned>(result), static_cast<unsigned>(lastError));
    AssertionFailed(__FILE__, kDocumentsCheckLine, "SUCCEEDED(err)", result);
}

} // namespace korv::log
