#pragma once
// One log line as the log writes it: formatted, cut to its buffer, ended by "\n".
#include <cstdarg>
#include <cstddef>

namespace korv {

// One line at most, "\n" and terminating zero included.
inline constexpr std::size_t kLineBufferSize = 8192;

// Formats one line into buffer (kLineBufferSize bytes) with the runtime's bounded formatted print:
// a text too long for the buffer is cut so that its "\n" and the terminating zero still fit, and a
// format the print refuses leaves an empty line. Returns the line's length, "\n" included.
std::size_t FormatLine(char* buffer, const char* format, std::va_list args);

// Ends the text the print left in buffer (kLineBufferSize bytes) as FormatLine does, given what
// the print returned: its length, or a negative number when it refused the format (its text is
// then not read). Returns the line's length, "\n" included.
std::size_t EndLine(char* buffer, int written);

} // namespace korv
