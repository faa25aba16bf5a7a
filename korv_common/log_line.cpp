#include "korv_common/log_line.h"

#include <cstdio>
#include <cstring>

namespace korv {

std::size_t FormatLine(char* buffer, const char* format, std::va_list args) {
    return EndLine(buffer, std::vsnprintf(buffer, kLineBufferSize, format, args));
}

std::size_t EndLine(char* buffer, int written) {
    if (written < 0) {
        buffer[0] = '\0';
    }
    // A line too long for the buffer is cut so that its "\n" still fits.
    std::size_t length = std::strlen(buffer);
    if (length > kLineBufferSize - 2) {
        length = kLineBufferSize - 2;
    }
    buffer[length] = '\n';
    buffer[length + 1] = '\0';
    return length + 1;
}

} // namespace korv
