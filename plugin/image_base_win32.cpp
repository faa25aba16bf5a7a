#include "plugin/image_base.h"

#include <windows.h>

namespace plugin {

namespace {
const std::uintptr_t g_gameImageBase = reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
} // namespace

std::uintptr_t GameImageBase() {
    return g_gameImageBase;
}

} // namespace plugin
