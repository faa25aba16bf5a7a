#pragma once
// The plugin's log: one text file per game run below the user's documents folder, every line also
// mirrored to standard output. Safe to call from any thread.
#include <cstdint>
#include <cstdio>

// Opens (and truncates) the log file, creating its folders. Returns false when the documents folder
// cannot be had; the failure has then been reported and the plugin must go no further.
bool OpenLog();

// Formats one line, appends "\n", writes it to the log file (when open) and to standard output.
// Returns the result of the last fputs, or 0 when there is no standard output stream.
int LogLine(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

// Flushes the log file when it is open.
void FlushLog();

// The open log file, or null.
std::FILE* LogFile();

// Creates every folder named along a file path; the last component is not created.
void CreatePath(const wchar_t* path);

// Writes the line that reports a failed check. The caller stops after it: nothing of the plugin may
// run on.
void AssertionFailed(const char* sourceFile, int line, const char* expression, std::int64_t code);
