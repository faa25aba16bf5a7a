#include "settings/diagnostics/value_fit.h"

#include <algorithm>

namespace settings {

namespace {

bool IsWholeNumber(std::string_view value) {
    if (value.starts_with('-') || value.starts_with('+')) {
        value.remove_prefix(1);
    }
    return !value.empty() &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool FitsTypePrefix(std::string_view key, std::string_view value) {
    if (key.empty() || value.empty()) {
        return true;
    }
    switch (key.front()) {
    case 'i':
        return IsWholeNumber(value);
    case 'b':
        return value == "0" || value == "1";
    default:
        return true;
    }
}

} // namespace settings
