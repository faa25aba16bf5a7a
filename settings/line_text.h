#pragma once
// A line of the log's catalogue (catalogue/log_lines.h), or a part of one, with its placeholders
// filled as LogLine fills them: the settings room makes every line it logs so.
#include "korv_common/printf_format.h"

#include <cstddef>
#include <string>

namespace settings {

std::string LineText(const char* format, ...) __attribute__((format(KORV_PRINTF_FORMAT, 1, 2)));

// A count or a line number as the catalogue's %llu takes it.
inline unsigned long long Number(std::size_t count) {
    return count;
}

} // namespace settings
