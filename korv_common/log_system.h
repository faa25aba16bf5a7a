#pragma once
// Between the log's plain part (Log.cpp: the lines, the queues, who writes what) and the system's
// (log_system_win32.cpp; natively, the stand-ins of tests/native/): the writer threads, their
// waits, the writes themselves and the clock.
#include "korv_common/log_output.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace korv::log {

// --- The system's part ---

// Starts a thread that runs RunWriter(output), unless one runs; false when it can't (a later call
// tries again). Never called by two threads at once: the log calls it as it opens and under its
// waiting lock.
bool StartWriter(Output& output);
// Tells the output's writer, which runs, that there is something queued for it. Never waits.
void Wake(Output& output);
// Returns once the output is woken, or timeoutMs after it was called.
void WaitForWake(Output& output, unsigned timeoutMs);
// The outputs' writes (Output::WriteBytes). The file's: one write, which may take fewer bytes than
// asked or none. Standard output's, to the C runtime's stream: all of them once it takes them; a
// stream in error takes nothing ever after, so nothing is kept back for it.
std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error);
std::size_t WriteToStdout(void* unused, const char* bytes, std::size_t size, std::uint32_t& error);
// The file's size (the log is its only writer), or nothing when the system can't say.
std::optional<std::uint64_t> FileSize(void* file);
// Milliseconds from a fixed point; a pause of ms (0: the rest of a time slice).
std::uint64_t NowMs();
void PauseMs(unsigned ms);

// --- The plain part, for the system's ---

// The longest a writer goes without looking at its queue: a line of a thread that never wakes it,
// the game's, is written within this.
inline constexpr unsigned kWriterLooksMs = 20;

// A writer thread's life: it writes what is queued each time it is woken, and every
// kWriterLooksMs besides.
[[noreturn]] void RunWriter(Output& output);
// The file the log writes from now on: an empty file's Windows handle, kept for good. Starts its
// writer.
void UseLogFile(void* file);
bool StartStdoutWriter();
// The lines OpenLog reports when the documents folder can't be had, on the extender's thread.
void ReportDocumentsFolderFailure(unsigned folderId, long result, unsigned long lastError);

} // namespace korv::log
