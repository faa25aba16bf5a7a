#include "settings/diagnostics/profile_names.h"

#include <string_view>

namespace settings {

NameList SplitNameList(const char* buffer, std::size_t returned, std::size_t size) {
    NameList list;
    if (size < 2) {
        return list;
    }
    // The zeros between names, not the list's final double zero, say where it ends: a key written
    // without a name shows up as an empty name in the middle.
    std::string_view text(buffer, returned < size ? returned : size - 1);
    while (!text.empty()) {
        std::size_t end = text.find('\0');
        list.names.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    list.cut = returned + 2 >= size;
    return list;
}

} // namespace settings
