#pragma once
// Catches what plugins write to the process's standard output and records it line by line. The
// plugins share the C runtime (msvcrt.dll) with the simulator, so redirecting its descriptor 1 and
// the Win32 standard output handle catches their output whichever road it takes.

namespace sim {

// Redirects standard output to a pipe read by a thread of the simulator, and makes the C runtime's
// stdout unbuffered so that each line arrives when it is written. Unread, nobody reads the pipe
// until the capture stops: once its buffer is full, every write to standard output blocks, as
// with a launcher that stopped reading the game's output. False when the pipe cannot be set up
// (standard output is then left alone).
bool StartStdoutCapture(bool unread);

// Flushes stdout, points standard output at the null device and records what is left in the pipe,
// including a last line without its line end. An unread pipe is read from here on, until writers
// have been quiet for a while; how much it held is recorded first.
void StopStdoutCapture();

} // namespace sim
