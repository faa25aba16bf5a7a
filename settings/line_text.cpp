#include "settings/line_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace settings {

std::string LineText(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    // The catalogue's formats are never refused; a refused one would give the empty text.
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

} // namespace settings
