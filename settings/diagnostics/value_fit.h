#pragma once
// Whether a value looks like what its key's one-letter type prefix promises. The plugin sends every
// value as written either way; this only tells the player.
#include <string_view>

namespace settings {

// "i" keys: a whole number (digits, an optional sign before them). "b" keys: 0 or 1. Keys of any
// other prefix, and empty values, fit.
bool FitsTypePrefix(std::string_view key, std::string_view value);

} // namespace settings
