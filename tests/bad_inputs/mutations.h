#pragma once
// Sound settings files bent the ways players' editors and hands bend them: section lines, comments,
// blanks, NUL and control bytes, quotes, line ends, UTF-16, byte-order marks, non-ASCII text. The
// same index always gives the same file.
#include <cstddef>
#include <string>

namespace testing {

// The index-th mutation of a sound file: one to three changes of the kinds above.
std::string MutatedSettingsFile(std::size_t index);

} // namespace testing
