#pragma once
// Between the log's plain part (Log.cpp: the lines and who writes what, on log_output.h) and the
// system's (log_outputs_win32.cpp: the writer threads and the writes themselves).
#include "korv_common/log_output.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace korv::log {

// --- log_outputs_win32.cpp ---

// Starts the output's writer thread unless it runs; false when it can't (a later call tries again).
// Never called by two threads at once: the log calls it as it opens and under its waiting lock.
bool StartWriter(Output& output);
// Tells the output's writer there is something queued for it. Never waits.
void Wake(Output& output);
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

// --- Log.cpp, for the writer threads, OpenLog and the log's tests ---

// The file the log writes from now on: an empty file's Windows handle, kept for good.
void UseLogFile(void* file);
bool StartStdoutWriter();
bool StartFileWriter();
bool StdoutWriterRunning();
// A writer's work each time it is woken.
void WriteQueued(Output& output);
// Lines OpenLog reports, on the extender's thread.
void ReportDocumentsFolderFailure(unsigned folderId, long result, unsigned long lastError);

} // namespace korv::log
