#pragma once
// Stand-ins for the log's system part (korv_common/log_system.h) in the native build: writer
// threads woken through a condition variable, and in place of the file and standard output two
// texts in memory, whose writes a test can stall or refuse for a while.
#include <atomic>
#include <string>

namespace native {

// While set, a write to standard output blocks, as on a pipe nobody reads.
inline std::atomic<bool> g_stdoutStalled{false};
// While set, writes to the file are refused: the first takes a third of its bytes, the next none.
inline std::atomic<bool> g_fileRefused{false};

// The wakes the log has given its writers, and the longest a writer has waited unwoken.
inline std::atomic<unsigned> g_wakes{0};
inline std::atomic<unsigned> g_longestWaitMs{0};

// What the file and standard output have been given so far.
std::string FileText();
std::string StdoutText();

// The handle UseLogFile takes for the file.
void* FileHandle();

} // namespace native
