#pragma once
#include <cstdint>

namespace plugin {

// Base of the game executable in this process, recorded when the library is mapped.
std::uintptr_t GameImageBase();

} // namespace plugin
