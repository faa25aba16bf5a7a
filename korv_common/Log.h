#pragma once
// The plugin's log: one text file per game run below the user's documents folder, every line also
// on standard output; from any thread. Each line is queued for both outputs (log_output.h), which
// threads of the log's own write within a few milliseconds, so that neither a slow disk nor a
// standard output nobody reads holds up whoever logs. The file gets every line, whole and in
// order, or a count of those it had no room for, and of those standard output had no room for.
#include "korv_common/printf_format.h"

#include <cstdint>

// Opens (and truncates) the log file, creating its folders, and starts the log's writer threads.
// Returns false when the documents folder cannot be had; the failure has then been reported and
// the plugin must go no further. Called once, by the load entry.
bool OpenLog();

// Formats one line, appends "\n", and queues it for the log file (when open) and for standard
// output. For threads that may wait: a full queue is made room in as FlushLog does. Returns 0, or
// EOF when standard output had no room for the line.
int LogLine(const char* format, ...) __attribute__((format(KORV_PRINTF_FORMAT, 1, 2)));

// LogLine for the game's thread and the extender's: never waits, makes no system call. The
// writers take the line within kWriterLooksMs (log_system.h); a queue with no room for it counts
// it as left out.
int LogLineNoWait(const char* format, ...) __attribute__((format(KORV_PRINTF_FORMAT, 1, 2)));

// Writes the lines queued for the log file itself; then gives standard output's writer (started
// again if it could not be) up to a second to take its queue, unless it is still in the write it
// was in when such a wait last ran out. Standard output is never written here. The caller may wait.
void FlushLog();

// Creates every folder named along a file path; the last component is not created.
void CreatePath(const wchar_t* path);

// Writes the line that reports a failed check. The caller stops after it.
void AssertionFailed(const char* sourceFile, int line, const char* expression, std::int64_t code);

// As the process ends, every other thread gone: writes what is still queued for the file.
void WriteLogAtExit();
