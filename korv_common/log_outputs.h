#pragma once
// Between the log's plain part (Log.cpp: the line buffer, the queues, who writes what) and the
// system's (log_outputs_win32.cpp: the writer threads and the writes themselves).
#include <cstddef>
#include <cstdint>
#include <optional>

namespace korv::log {

// --- log_outputs_win32.cpp ---

// Starts the thread that writes standard output; false when it cannot be started.
bool StartStdoutWriter();
// Starts the thread that writes the log file; false when it cannot be started.
bool StartFileWriter();
bool StdoutWriterRunning();
// Tell a writer there is something queued for it. Never wait.
void WakeFileWriter();
void WakeStdoutWriter();
// Writes the bytes to the file (a Windows handle) and returns how many the system took: all of
// them, or those before a write it refused, with its Windows error in error.
std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error);
// The file's size in bytes (the log is its only writer, so this is what it has been given), or
// nothing when the system can't say.
std::optional<std::uint64_t> FileSize(void* file);
// Writes the bytes to the C runtime's standard output; may block as long as standard output does.
void WriteToStdout(const char* bytes, std::size_t size);
// Standard output's writer has finished a write; FlushLog waits for that.
void NoteStdoutWrite();
// Returns once the writer finishes a write, or after timeoutMs. Only while the writer runs.
void WaitForStdoutWrite(unsigned timeoutMs);
// Milliseconds from some fixed point, never going back.
std::uint64_t NowMs();
// Waits ms milliseconds.
void PauseMs(unsigned ms);

// --- Log.cpp, for the writer threads and OpenLog ---

// The file the log writes from now on (a Windows handle, kept for the life of the process).
void UseLogFile(void* file);
// Writes what is queued for the file / for standard output, until the queue is empty.
void WriteFileQueue();
void WriteStdoutQueue();
// Lines OpenLog reports, on the extender's thread.
void ReportDocumentsFolderFailure(unsigned folderId, long result, unsigned long lastError);

} // namespace korv::log
