#include "sim/game/image.h"

#include <windows.h>

#include <cstring>

namespace sim {

namespace {

// Zero-filled span of the image that the game's entry points fall into. It costs no file size: the
// linker puts it in .bss, which the loader maps as part of the image.
constexpr std::size_t kSpanSize = 0x3000000;
alignas(4096) unsigned char g_imageSpan[kSpanSize];

} // namespace

std::uintptr_t GameImageBase() {
    return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
}

bool PlaceGameEntry(std::uintptr_t offset, const void* target) {
    // jmp qword ptr [rip+0]; followed by the 64-bit target address.
    unsigned char jump[14] = {0xFF, 0x25, 0, 0, 0, 0};
    auto address = reinterpret_cast<std::uintptr_t>(target);
    std::memcpy(jump + 6, &address, sizeof address);

    auto entry = GameImageBase() + offset;
    auto spanBegin = reinterpret_cast<std::uintptr_t>(g_imageSpan);
    if (entry < spanBegin || entry + sizeof jump > spanBegin + kSpanSize) {
        return false;
    }
    auto* code = reinterpret_cast<void*>(entry);
    DWORD previous = 0;
    if (!VirtualProtect(code, sizeof jump, PAGE_EXECUTE_READWRITE, &previous)) {
        return false;
    }
    std::memcpy(code, jump, sizeof jump);
    FlushInstructionCache(GetCurrentProcess(), code, sizeof jump);
    return true;
}

} // namespace sim
