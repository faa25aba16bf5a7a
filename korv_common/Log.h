#pragma once
// The plugin's log: one text file per game run below the user's documents folder, every line also
// mirrored to standard output. Safe to call from any thread.
//
// A line is formatted once and queued for each output (log_output.h); a thread of the log's own
// writes each output, so that neither a slow disk nor a standard output nobody reads holds up
// whoever logs. Lines reach the file whole and in order; the copy on standard output is left out
// while standard output takes nothing and its queue is full, and the log file then says how many
// lines standard output is missing. A write of the file the system refuses (a full disk, a file
// another program holds) is tried once more after a pause, then again at the next write: its lines
// and those queued after them wait, standard output is told once, and the lines the file's queue
// has no room for meanwhile are counted and said as ever.
#include "korv_common/printf_format.h"

#include <cstdint>

// Opens (and truncates) the log file, creating its folders, and starts the log's writer threads.
// Returns false when the documents folder cannot be had; the failure has then been reported and
// the plugin must go no further. Called once, by the load entry.
bool OpenLog();

// Formats one line, appends "\n", and queues it for the log file (when open) and for standard
// output; the writers are woken once a queue fills up, and by FlushLog. For threads that may wait:
// when the file's queue is full, it writes queued lines to the file itself until its line fits;
// when standard output's is, it gives standard output's writer the time FlushLog gives it (none
// when it is stalled), never writing standard output itself. Returns 0, or EOF when standard
// output had no room for the line.
int LogLine(const char* format, ...) __attribute__((format(KORV_PRINTF_FORMAT, 1, 2)));

// LogLine for the game's thread and the extender's: never waits, and makes no system call, so that
// it costs the game's thread next to nothing. The line is written once the log's writers are woken
// (WakeLogWriters, a filling queue, FlushLog) or at exit. A line the file's queue has no room for
// is left out of the file, and the file says later how many were.
int LogLineNoWait(const char* format, ...) __attribute__((format(KORV_PRINTF_FORMAT, 1, 2)));

// Tells the log's writers to write what is queued. Never waits.
void WakeLogWriters();

// Writes every queued line to the log file (when open) itself and hands it to the system; then
// gives standard output's writer up to a second to take its queue, unless it has not finished a
// write since the last time it ran out of that second. A writer that could not be started is
// started again; standard output is never written here. The caller may wait.
void FlushLog();

// The open log file's Windows handle, or null.
void* LogFileHandle();

// Creates every folder named along a file path; the last component is not created.
void CreatePath(const wchar_t* path);

// Writes the line that reports a failed check. The caller stops after it: nothing of the plugin may
// run on.
void AssertionFailed(const char* sourceFile, int line, const char* expression, std::int64_t code);

// Called as the process ends, when every other thread is gone: writes to the file the lines still
// queued for it, and what standard output was missing.
void WriteLogAtExit();
