#pragma once
// What the harnesses hold every log line to, whatever the input behind it, and how a harness
// reports a broken promise: it names it, shows the text and aborts, so that libFuzzer keeps the
// input that broke it.
#include <cstddef>
#include <string_view>

namespace fuzzing {

// The log's line buffer (korv_common/Log.cpp): a line, its "\n" and the terminating zero. A longer
// line is cut.
inline constexpr std::size_t kLogLineBuffer = 8192;

// Aborts, naming the promise and showing text (control characters escaped), unless holds.
void Require(bool holds, std::string_view promise, std::string_view text);

// Requires that line fits the log's line buffer whole and holds no control character.
void RequireWholeLogLine(std::string_view line);

} // namespace fuzzing
