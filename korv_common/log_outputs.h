#pragma once
// Between the log's plain part (Log.cpp: the lines and who writes what, on log_output.h) and the
// system's (log_outputs_win32.cpp: the writer threads and the writes themselves).
#include "korv_common/log_output.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace korv::log {

// --- log_outputs_win32.cpp ---

// Starts the thread that writes the output, unless it runs; false when it can't be started, and a
// later call tries again. Never called by two threads at once: the log calls it as it opens and
// under its waiting lock.
bool StartWriter(Output& output);
// Tells the output's writer there is something queued for it. Never waits.
void Wake(Output& output);
// The outputs' writes (Output::WriteBytes). The file's: to its Windows handle, all the bytes or
// those before a write the system refused. Standard output's: to the C runtime's stream, as long as
// it blocks; it keeps nothing back, since a stream in error takes nothing ever after.
std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error);
std::size_t WriteToStdout(void* unused, const char* bytes, std::size_t size, std::uint32_t& error);
// The file's size in bytes (the log is its only writer, so this is what it has been given), or
// nothing when the system can't say.
std::optional<std::uint64_t> FileSize(void* file);
// Milliseconds from some fixed point, never going back.
std::uint64_t NowMs();
// Waits ms milliseconds.
void PauseMs(unsigned ms);

// --- Log.cpp, for the writer threads, OpenLog and the log's tests ---

// The file the log writes from now on (a Windows handle to an empty file, kept for the life of the
// process); starts its writer.
void UseLogFile(void* file);
bool StartStdoutWriter();
bool StartFileWriter();
bool StdoutWriterRunning();
// The writer's work each time it is woken: writes what is queued for the output.
void WriteQueued(Output& output);
// Lines OpenLog reports, on the extender's thread.
void ReportDocumentsFolderFailure(unsigned folderId, long result, unsigned long lastError);

} // namespace korv::log
